#include "model/batchs.h"

namespace claimfile {

com::Ptr<Batch> Batchs::Add(const std::wstring& providerKey) {
  auto batch = com::Make<Batch>();
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

HRESULT Batchs::BRExists(BSTR* providerKey, VARIANT_BOOL* out) {
  if (!out) return E_POINTER;
  *out = com::VarBool(providerKey && BRExists(com::FromBstr(*providerKey)));
  SetErrorInfo(0, nullptr);  // no error stays pending for the caller
  return S_OK;
}

HRESULT Batchs::Add(BSTR* providerKey, _Batch** out) {
  if (!providerKey || !out) return E_POINTER;
  *out = nullptr;
  return Run([&] { com::PutOut(Add(com::FromBstr(*providerKey)), out); });
}

}  // namespace claimfile
