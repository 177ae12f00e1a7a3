#include "batchs_com.h"

namespace claimfile {

com::Ptr<Batchs> Batchs::New() { return com::Make<BatchsCom>(); }

HRESULT BatchsCom::BRExists(BSTR* providerKey, VARIANT_BOOL* out) noexcept {
  if (!out) return E_POINTER;
  bool found = false;
  Run([&] { found = providerKey && Batchs::BRExists(com::FromBstr(*providerKey)); });
  *out = com::VarBool(found);
  SetErrorInfo(0, nullptr);  // never raises, and no error stays pending for the caller
  return S_OK;
}

HRESULT BatchsCom::Add(BSTR* providerKey, _Batch** out) noexcept {
  if (!providerKey || !out) return E_POINTER;
  *out = nullptr;
  return Run([&] { com::PutOut(Batchs::Add(com::FromBstr(*providerKey)), out); });
}

}  // namespace claimfile
