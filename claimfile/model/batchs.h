// The batches of a file header, keyed by the host's provider key.
#pragma once
#include <string>

#include "model/batch.h"
#include "model/model_collection.h"
#include "sendarro7.h"

namespace claimfile {

class Batchs : public ModelCollection<Batchs, _Batchs, Batch> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__Batchs; }
  static com::Ptr<Batchs> New();

  // Creates a batch (its constructor runs fully) and appends it under the key. A key already
  // present (without regard to case) raises 457; the new batch is then dropped.
  com::Ptr<Batch> Add(const std::wstring& providerKey);
  // Whether the key is held. Never raises.
  bool BRExists(const std::wstring& providerKey) const noexcept;
};

}  // namespace claimfile
