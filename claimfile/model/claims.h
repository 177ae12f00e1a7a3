// The claims of a batch: unkeyed, positions from 1.
#pragma once
#include "model/claim.h"
#include "model/model_collection.h"
#include "sendarro7.h"

namespace claimfile {

class Claims : public UnkeyedCollection<Claims, _Claims, Claim> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__Claims; }
  static com::Ptr<Claims> New();
};

}  // namespace claimfile
