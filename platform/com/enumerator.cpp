// IEnumVARIANT over a snapshot.
#include <windows.h>
#include <oleauto.h>

#include <new>
#include <vector>

#include "com/enumerator.h"

namespace com {

namespace {

struct VariantTraits {
  static HRESULT Copy(VARIANT& out, const VARIANT& in) {
    VariantInit(&out);
    return VariantCopy(&out, const_cast<VARIANT*>(&in));
  }
  static void Clear(VARIANT& v) { VariantClear(&v); }
};

using VariantEnumerator = SnapshotEnumerator<IEnumVARIANT, VARIANT, VariantTraits>;

}  // namespace

IUnknown* NewVariantEnumerator(const std::vector<VARIANT>& source) {
  VariantEnumerator::Items items(source.size());
  for (VARIANT& v : items) VariantInit(&v);
  for (size_t i = 0; i < source.size(); ++i) {
    if (FAILED(VariantTraits::Copy(items[i], source[i]))) {
      for (VARIANT& v : items) VariantClear(&v);
      throw std::bad_alloc();
    }
  }
  return VariantEnumerator::New(std::move(items));
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
