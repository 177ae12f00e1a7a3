// An owning COM interface pointer; the run-time layer's BSTR and VARIANT helpers under the kit's
// names.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <type_traits>
#include <utility>

#include "vb/automation.h"

namespace com {

template <class T>
class Ptr {
 public:
  Ptr() noexcept = default;
  Ptr(std::nullptr_t) noexcept {}
  Ptr(T* p) noexcept : p_(p) { if (p_) p_->AddRef(); }
  Ptr(const Ptr& o) noexcept : Ptr(o.p_) {}
  Ptr(Ptr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ptr(const Ptr<U>& o) noexcept : Ptr(static_cast<T*>(o.get())) {}
  ~Ptr() { reset(); }
  Ptr& operator=(Ptr o) noexcept { std::swap(p_, o.p_); return *this; }

  // Takes over a reference the caller already owns.
  static Ptr Attach(T* p) noexcept { Ptr r; r.p_ = p; return r; }
  // Gives up ownership of the reference.
  T* Detach() noexcept { return std::exchange(p_, nullptr); }
  void reset() noexcept { if (auto p = std::exchange(p_, nullptr)) p->Release(); }

  T* get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  // Address for out-parameters; releases what was held.
  T** out() noexcept { reset(); return &p_; }

  friend bool operator==(const Ptr& a, const Ptr& b) noexcept { return a.p_ == b.p_; }
  friend bool operator==(const Ptr& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

 private:
  T* p_ = nullptr;
};

using vb::FromBstr;
using vb::ToBstr;
using vb::Variant;

}  // namespace com
