#include "output_field_com.h"

namespace claimfile {

com::Ptr<OutputField> OutputField::New() { return com::Make<OutputFieldCom>(); }

HRESULT OutputFieldCom::Valid(VARIANT_BOOL* out) noexcept {
  return com::Compute(*this, out, [&] { return OutputField::Valid(); });
}
HRESULT OutputFieldCom::DataWillFit(VARIANT_BOOL* out) noexcept {
  return com::Compute(*this, out, [&] { return OutputField::DataWillFit(); });
}

}  // namespace claimfile
