// The COM adapter of ServiceLine.
#pragma once
#include "member_accessors.h"
#include "model/service_line.h"

namespace claimfile {

class ServiceLineCom final : public ServiceLine {
 public:
  CLAIMFILE_MEMBER_ACCESSORS(CLAIMFILE_SERVICE_LINE_MEMBERS)
  CLAIMFILE_COMPUTED_GET(BSTR, LineItemControlNo)
  // Each field has its text put; an amount field has a Currency put and get instead.
#define CLAIMFILE_SERVICE_LINE_AMOUNT(Name)                                                     \
  HRESULT STDMETHODCALLTYPE put_##Name(CY* amount) noexcept override {                          \
    return PutAmount(L"" #Name, amount);                                                        \
  }                                                                                             \
  HRESULT STDMETHODCALLTYPE get_##Name(CY* out) noexcept override { return GetAmount(L"" #Name, out); }
  CLAIMFILE_SERVICE_LINE_FIELDS(CLAIMFILE_FIELD_PUT_SAME, CLAIMFILE_SERVICE_LINE_AMOUNT)
#undef CLAIMFILE_SERVICE_LINE_AMOUNT

 private:
  HRESULT PutAmount(const wchar_t* field, CY* amount) noexcept;
  HRESULT GetAmount(const wchar_t* field, CY* out) noexcept;
};

}  // namespace claimfile
