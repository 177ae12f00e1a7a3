// An owning COM interface pointer, and BSTR/VARIANT helpers.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

#include <string>
#include <utility>

namespace com {

template <class T>
class Ptr {
 public:
  Ptr() = default;
  Ptr(std::nullptr_t) {}
  Ptr(T* p) : p_(p) { if (p_) p_->AddRef(); }
  Ptr(const Ptr& o) : Ptr(o.p_) {}
  Ptr(Ptr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ptr(const Ptr<U>& o) : Ptr(static_cast<T*>(o.get())) {}
  ~Ptr() { reset(); }
  Ptr& operator=(Ptr o) noexcept { std::swap(p_, o.p_); return *this; }

  // Takes over a reference the caller already owns.
  static Ptr Attach(T* p) { Ptr r; r.p_ = p; return r; }
  // Gives up ownership of the reference.
  T* Detach() { return std::exchange(p_, nullptr); }
  void reset() { if (auto p = std::exchange(p_, nullptr)) p->Release(); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Address for out-parameters; releases what was held.
  T** out() { reset(); return &p_; }

  friend bool operator==(const Ptr& a, const Ptr& b) { return a.p_ == b.p_; }
  friend bool operator==(const Ptr& a, std::nullptr_t) { return a.p_ == nullptr; }

 private:
  T* p_ = nullptr;
};

// Text of a BSTR (a null BSTR is the empty text).
inline std::wstring FromBstr(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(); }
// A new BSTR holding the text; throws std::bad_alloc when none can be had.
BSTR ToBstr(const std::wstring& s);

// A VARIANT that clears itself.
class Variant : public VARIANT {
 public:
  Variant() { VariantInit(this); }
  ~Variant() { VariantClear(this); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

}  // namespace com
