// Owners and conversions of oleaut32's BSTR and VARIANT.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

#include <new>
#include <string>

namespace vb {

// Text of a BSTR (a null BSTR is the empty text).
inline std::wstring FromBstr(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(); }

// A new BSTR holding the text; throws std::bad_alloc when none can be had.
inline BSTR ToBstr(const std::wstring& s) {
  BSTR b = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
  if (!b) throw std::bad_alloc();
  return b;
}

// A BSTR that frees itself; &b.b is the out-parameter of a call that hands one out.
struct Bstr {
  BSTR b = nullptr;
  Bstr() = default;
  ~Bstr() { SysFreeString(b); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  std::wstring str() const { return FromBstr(b); }
};

// A VARIANT that clears itself.
class Variant : public VARIANT {
 public:
  Variant() noexcept { VariantInit(this); }
  ~Variant() { VariantClear(this); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

}  // namespace vb
