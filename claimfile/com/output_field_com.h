// The COM adapter of OutputField.
#pragma once
#include "member_accessors.h"
#include "model/output_field.h"

namespace claimfile {

class OutputFieldCom final : public OutputField {
 public:
  CLAIMFILE_MEMBER_ACCESSORS(CLAIMFILE_OUTPUT_FIELD_MEMBERS)
  HRESULT STDMETHODCALLTYPE Valid(VARIANT_BOOL* out) noexcept override;
  CLAIMFILE_COMPUTED_GET(long, FieldLength)
  HRESULT STDMETHODCALLTYPE DataWillFit(VARIANT_BOOL* out) noexcept override;
};

}  // namespace claimfile
