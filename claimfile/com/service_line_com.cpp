#include "service_line_com.h"

namespace claimfile {

com::Ptr<ServiceLine> ServiceLine::New() { return com::Make<ServiceLineCom>(); }

HRESULT ServiceLineCom::PutAmount(const wchar_t* field, CY* amount) noexcept {
  if (!amount) return E_POINTER;
  return Run([&] { SetAmount(field, vb::Currency::FromCy(*amount)); });
}

HRESULT ServiceLineCom::GetAmount(const wchar_t* field, CY* out) noexcept {
  return com::Compute(*this, out, [&] { return Amount(field); });
}

}  // namespace claimfile
