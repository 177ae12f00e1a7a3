#include "vb/collection.h"

#include <windows.h>
#include <oleauto.h>

namespace vb {

std::wstring FoldKey(const std::wstring& key) {
  if (key.empty()) return key;
  // Plain ASCII, the keys of nearly every collection, upper-cases the same in every locale (the
  // locale's own casing rules apply only where linguistic casing is asked for): no locale call.
  bool ascii = true;
  for (wchar_t c : key) ascii = ascii && c < 0x80;
  if (ascii) {
    std::wstring out = key;
    for (wchar_t& c : out)
      if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return out;
  }
  const int len = static_cast<int>(key.size());
  int n = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, key.data(), len, nullptr, 0);
  if (n > 0) {
    std::wstring out(static_cast<size_t>(n), L'\0');
    if (LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, key.data(), len, out.data(), n) == n) return out;
  }
  // The locale service failed: fall back to the system's simple upper-casing.
  std::wstring out = key;
  CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
  return out;
}

namespace {

bool IsNumberType(VARTYPE vt) {
  switch (vt) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4:
    case VT_I8: case VT_UI8: case VT_INT: case VT_UINT:
    case VT_R4: case VT_R8: case VT_CY: case VT_DECIMAL: case VT_DATE: case VT_BOOL:
      return true;
    default:
      return false;
  }
}

}  // namespace

CollectionIndex CollectionIndex::From(const VARIANT& index) {
  // A by-reference Variant names another Variant; follow the chain to the value itself.
  const VARIANT* v = &index;
  while (V_VT(v) == (VT_BYREF | VT_VARIANT)) {
    if (!V_VARIANTREF(v)) Raise(errTypeMismatch);
    v = V_VARIANTREF(v);
  }
  const VARTYPE vt = V_VT(v);
  if (vt & VT_ARRAY) Raise(errTypeMismatch);
  const VARTYPE base = vt & VT_TYPEMASK;
  if (base == VT_EMPTY) return CollectionIndex{};  // Empty reads as position 0
  if (base == VT_NULL) Raise(errInvalidUseOfNull);
  if ((vt & VT_BYREF) && !V_BYREF(v)) Raise(errTypeMismatch);

  CollectionIndex out;
  if (base == VT_BSTR) {
    BSTR text = (vt & VT_BYREF) ? *V_BSTRREF(v) : V_BSTR(v);
    out.isKey = true;
    if (text) out.key.assign(text, SysStringLen(text));
    return out;
  }
  if (!IsNumberType(base)) Raise(errTypeMismatch);

  // VariantChangeType rounds halves to even, as the run time does for positions.
  VARIANT position;
  VariantInit(&position);
  HRESULT hr = VariantChangeType(&position, const_cast<VARIANT*>(v), 0, VT_I4);
  if (hr == DISP_E_OVERFLOW) Raise(errOverflow);
  if (FAILED(hr)) Raise(errTypeMismatch);
  out.position = V_I4(&position);
  return out;
}

}  // namespace vb
