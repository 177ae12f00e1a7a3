// Enumerators over a snapshot of items: IEnumVARIANT for the NewEnum member of collections, and
// the enumerators of connection points and their connections.
#pragma once
#include <oaidl.h>

#include <memory>
#include <new>
#include <vector>

#include "com/object.h"

namespace com {

// An enumerator of Itf (IEnumVARIANT, IEnumConnections ...) over items of type T. Traits gives
//   static HRESULT Copy(T& out, const T& in);   // a copy the caller owns
//   static void Clear(T& item);                 // releases what an item holds
// The snapshot is shared by an enumerator and its clones and cleared with the last of them.
template <class Itf, class T, class Traits>
class SnapshotEnumerator : public Unknown<Itf> {
 public:
  using Items = std::vector<T>;

  // A new enumerator (AddRef'd) over the items, which it takes over.
  static Itf* New(Items items) {
    std::shared_ptr<Items> shared(new Items(std::move(items)), Release);
    auto* e = new SnapshotEnumerator(std::move(shared), 0);
    e->AddRef();
    return e;
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, T* out, ULONG* fetched) noexcept override {
    if (!out) return E_POINTER;
    ULONG n = 0;
    for (; n < count && pos_ < items_->size(); ++n, ++pos_) {
      HRESULT hr = Traits::Copy(out[n], (*items_)[pos_]);
      if (FAILED(hr)) {
        for (ULONG i = 0; i < n; ++i) Traits::Clear(out[i]);
        if (fetched) *fetched = 0;
        return hr;
      }
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) noexcept override {
    size_t left = items_->size() - pos_;
    if (count > left) {
      pos_ = items_->size();
      return S_FALSE;
    }
    pos_ += count;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reset() noexcept override {
    pos_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(Itf** out) noexcept override {
    if (!out) return E_POINTER;
    *out = new (std::nothrow) SnapshotEnumerator(items_, pos_);
    if (!*out) return E_OUTOFMEMORY;
    (*out)->AddRef();
    return S_OK;
  }

 private:
  SnapshotEnumerator(std::shared_ptr<Items> items, size_t pos) noexcept : items_(std::move(items)), pos_(pos) {}
  static void Release(Items* items) {
    for (T& item : *items) Traits::Clear(item);
    delete items;
  }
  std::shared_ptr<Items> items_;
  size_t pos_;
};

// A new enumerator over copies of the variants (the caller keeps its own). Returns it as IUnknown.
IUnknown* NewVariantEnumerator(const std::vector<VARIANT>& items);

// A new enumerator over dispatch pointers (each AddRef'd by the enumerator).
IUnknown* NewDispatchEnumerator(const std::vector<IDispatch*>& items);

}  // namespace com
