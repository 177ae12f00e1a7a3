// Property accessors for plain stored members: the get and let halves of a public variable.
#pragma once
#include <oaidl.h>

#include <string>

#include "com/object.h"
#include "com/ptr.h"
#include "vb/currency.h"

namespace com {

inline HRESULT Get(BSTR* out, const std::wstring& value) noexcept {
  if (!out) return E_POINTER;
  *out = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}
inline HRESULT Get(VARIANT_BOOL* out, bool value) noexcept {
  if (!out) return E_POINTER;
  *out = VarBool(value);
  return S_OK;
}
template <class T>
inline HRESULT Get(T* out, T value) noexcept {
  if (!out) return E_POINTER;
  *out = value;
  return S_OK;
}
// An object member: the interface pointer, AddRef'd, or null for Nothing.
template <class Itf, class Impl>
inline HRESULT Get(Itf** out, const Ptr<Impl>& value) noexcept {
  if (!out) return E_POINTER;
  PutOut(value, out);
  return S_OK;
}

inline HRESULT Let(std::wstring& member, BSTR value) noexcept {
  try {
    member = FromBstr(value);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}
inline HRESULT Let(bool& member, VARIANT_BOOL value) noexcept {
  member = value != VARIANT_FALSE;
  return S_OK;
}
template <class T>
inline HRESULT Let(T& member, T value) noexcept {
  member = value;
  return S_OK;
}

// A value of a computed read, in its Automation form.
inline void Assign(BSTR* out, const std::wstring& value) { *out = ToBstr(value); }
inline void Assign(VARIANT_BOOL* out, bool value) { *out = VarBool(value); }
inline void Assign(CY* out, vb::Currency value) { *out = value.cy(); }
template <class T, class V>
inline void Assign(T* out, V value) {
  *out = value;
}

// The COM half of a computed read: runs compute() under the object's error guard and stores its
// result in *out in Automation form (text as a new BSTR, Boolean, Currency as CY).
template <class Self, class Out, class F>
HRESULT Compute(Self& self, Out* out, F&& compute) noexcept {
  if (!out) return E_POINTER;
  *out = Out{};
  return self.Run([&] { Assign(out, compute()); });
}

}  // namespace com
