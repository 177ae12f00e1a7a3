#include "model/batchs.h"

namespace claimfile {

com::Ptr<Batch> Batchs::Add(const std::wstring& providerKey) {
  auto batch = Batch::New();
  mCol.Add(batch, providerKey);
  return batch;
}

bool Batchs::BRExists(const std::wstring& providerKey) const noexcept {
  try {
    return mCol.Contains(providerKey);
  } catch (...) {
    return false;
  }
}

}  // namespace claimfile
