// IEnumVARIANT over a snapshot.
#include <windows.h>
#include <oleauto.h>

#include <memory>
#include <new>
#include <vector>

#include "com/enumerator.h"
#include "com/object.h"

namespace com {

namespace {

// The items are shared between an enumerator and its clones.
using Items = std::vector<VARIANT>;
struct ItemsDeleter {
  void operator()(Items* items) const {
    for (VARIANT& v : *items) VariantClear(&v);
    delete items;
  }
};

class VariantEnumerator : public Unknown<IEnumVARIANT> {
 public:
  VariantEnumerator(std::shared_ptr<Items> items, size_t pos) noexcept : items_(std::move(items)), pos_(pos) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) noexcept override {
    if (!out) return E_POINTER;
    ULONG n = 0;
    for (; n < count && pos_ < items_->size(); ++n, ++pos_) {
      VariantInit(&out[n]);
      HRESULT hr = VariantCopy(&out[n], &(*items_)[pos_]);
      if (FAILED(hr)) {
        for (ULONG i = 0; i < n; ++i) VariantClear(&out[i]);
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
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) noexcept override {
    if (!out) return E_POINTER;
    *out = new (std::nothrow) VariantEnumerator(items_, pos_);
    if (!*out) return E_OUTOFMEMORY;
    (*out)->AddRef();
    return S_OK;
  }

 private:
  std::shared_ptr<Items> items_;
  size_t pos_;
};

}  // namespace

IUnknown* NewVariantEnumerator(const std::vector<VARIANT>& source) {
  std::shared_ptr<Items> items(new Items(source.size()), ItemsDeleter());
  for (size_t i = 0; i < source.size(); ++i) {
    VariantInit(&(*items)[i]);
    if (FAILED(VariantCopy(&(*items)[i], const_cast<VARIANT*>(&source[i])))) throw std::bad_alloc();
  }
  auto* e = new VariantEnumerator(std::move(items), 0);
  e->AddRef();
  return e;
}

IUnknown* NewDispatchEnumerator(const std::vector<IDispatch*>& items) {
  std::vector<VARIANT> vars(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    VariantInit(&vars[i]);
    vars[i].vt = VT_DISPATCH;
    vars[i].pdispVal = items[i];  // borrowed: NewVariantEnumerator copies (and AddRefs) them
  }
  return NewVariantEnumerator(vars);
}

}  // namespace com
