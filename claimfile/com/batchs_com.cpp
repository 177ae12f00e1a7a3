#include "batchs_com.h"

namespace claimfile {

com::Ptr<Batchs> Batchs::New() { return com::Make<BatchsCom>(); }

HRESULT BatchsCom::BRExists(BSTR* providerKey, VARIANT_BOOL* out) noexcept {
  return KeyTest(*this, providerKey, out, [&](const std::wstring& key) { return Batchs::BRExists(key); });
}

HRESULT BatchsCom::Add(BSTR* providerKey, _Batch** out) noexcept {
  if (!providerKey || !out) return E_POINTER;
  *out = nullptr;
  return Run([&] { com::PutOut(Batchs::Add(com::FromBstr(*providerKey)), out); });
}

}  // namespace claimfile
