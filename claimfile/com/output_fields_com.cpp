#include "output_fields_com.h"

namespace claimfile {

com::Ptr<OutputFields> OutputFields::New() { return com::Make<OutputFieldsCom>(); }

HRESULT OutputFieldsCom::PrintSetValues() noexcept {
  return Run([&] { DoPrintSetValues(); });
}

HRESULT OutputFieldsCom::PrintMe(short* iFn, VARIANT_BOOL* out) noexcept {
  if (!iFn) return E_POINTER;
  return com::Compute(*this, out, [&] { return OutputFields::PrintMe(*iFn); });
}

HRESULT OutputFieldsCom::SetValue(BSTR* name, BSTR* value, VARIANT* out) noexcept {
  if (!name || !value) return E_POINTER;
  if (out) VariantInit(out);
  return Run([&] { OutputFields::SetValue(com::FromBstr(*name), com::FromBstr(*value)); });
}

HRESULT OutputFieldsCom::BRExists(BSTR* name, VARIANT_BOOL* out) noexcept {
  return KeyTest(*this, name, out, [&](const std::wstring& key) { return OutputFields::BRExists(key); });
}

HRESULT OutputFieldsCom::Add(BSTR* name, long* row, long* fromCol, long* toCol, BSTR* value,
                             OutputFieldType* dataType, BSTR* format, VARIANT_BOOL* required,
                             _OutputField** out) noexcept {
  if (!name || !out) return E_POINTER;
  *out = nullptr;
  return Run([&] {
    auto f = OutputFields::Add(com::FromBstr(*name), row ? *row : 0, fromCol ? *fromCol : 0,
                               toCol ? *toCol : 0,
                               value ? com::FromBstr(*value) : std::wstring(),
                               dataType ? *dataType : OutputFieldTypeText,
                               format ? com::FromBstr(*format) : std::wstring(),
                               required && *required != VARIANT_FALSE);
    com::PutOut(f, out);
  });
}

}  // namespace claimfile
