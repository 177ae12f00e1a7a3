#include "model/output_field.h"

#include <limits>

#include "com/accessors.h"
#include "vb/convert.h"
#include "vb/present.h"

namespace claimfile {

bool OutputField::Valid() {
  if (ToCol < FromCol) {
    vb::MsgBox(L"Invalid From/To Col");
    return false;
  }
  if (!Value.empty()) {
    if (DataType == OutputFieldTypeNumeric && !vb::IsNumeric(Value)) {
      vb::MsgBox(L"Invalid number");
      return false;
    }
    if (DataType == OutputFieldTypeDate && !vb::IsDate(Value)) {
      vb::MsgBox(L"Invalid date");
      return false;
    }
  }
  return true;
}

long OutputField::FieldLength() const {
  long long n = static_cast<long long>(ToCol) - FromCol + 1;
  if (n > std::numeric_limits<long>::max() || n < std::numeric_limits<long>::min())
    vb::Raise(vb::errOverflow);
  return static_cast<long>(n);
}

bool OutputField::DataWillFit() const {
  return static_cast<long long>(Value.size()) <= FieldLength();
}

HRESULT OutputField::get_Name(BSTR* out) { return com::Get(out, Name); }
HRESULT OutputField::put_Name(BSTR v) { return com::Let(Name, v); }
HRESULT OutputField::get_Row(long* out) { return com::Get(out, Row); }
HRESULT OutputField::put_Row(long v) { return com::Let(Row, v); }
HRESULT OutputField::get_FromCol(long* out) { return com::Get(out, FromCol); }
HRESULT OutputField::put_FromCol(long v) { return com::Let(FromCol, v); }
HRESULT OutputField::get_ToCol(long* out) { return com::Get(out, ToCol); }
HRESULT OutputField::put_ToCol(long v) { return com::Let(ToCol, v); }
HRESULT OutputField::get_Value(BSTR* out) { return com::Get(out, Value); }
HRESULT OutputField::put_Value(BSTR v) { return com::Let(Value, v); }
HRESULT OutputField::get_DataType(OutputFieldType* out) { return com::Get(out, DataType); }
HRESULT OutputField::put_DataType(OutputFieldType v) { return com::Let(DataType, v); }
HRESULT OutputField::get_Required(VARIANT_BOOL* out) { return com::Get(out, Required); }
HRESULT OutputField::put_Required(VARIANT_BOOL v) { return com::Let(Required, v); }
HRESULT OutputField::get_Format(BSTR* out) { return com::Get(out, Format); }
HRESULT OutputField::put_Format(BSTR v) { return com::Let(Format, v); }

HRESULT OutputField::Valid(VARIANT_BOOL* out) {
  return com::Compute(*this, out, [&] { return Valid(); });
}
HRESULT OutputField::get_FieldLength(long* out) {
  if (!out) return E_POINTER;
  return Run([&] { *out = FieldLength(); });
}
HRESULT OutputField::DataWillFit(VARIANT_BOOL* out) {
  return com::Compute(*this, out, [&] { return DataWillFit(); });
}

}  // namespace claimfile
