#include "model/general_collection.h"

#include <oleauto.h>

#include "com/enumerator.h"
#include "vb/error.h"

namespace claimfile {

const IID IID_VbaCollection = __uuidof(VbaCollection);

namespace {

// The error of a failed late-bound call as a run-time error.
[[noreturn]] void RaiseFrom(HRESULT hr, const EXCEPINFO& ex) {
  HRESULT code = hr == DISP_E_EXCEPTION ? ex.scode : hr;
  long number = HRESULT_FACILITY(code) == FACILITY_CONTROL ? HRESULT_CODE(code) : static_cast<long>(code);
  std::wstring description = com::FromBstr(ex.bstrDescription);
  std::wstring source = com::FromBstr(ex.bstrSource);
  SysFreeString(ex.bstrDescription);
  SysFreeString(ex.bstrSource);
  SysFreeString(ex.bstrHelpFile);
  if (hr == DISP_E_MEMBERNOTFOUND || hr == DISP_E_UNKNOWNNAME) vb::Raise(vb::errNotSupported);
  if (description.empty()) throw vb::RuntimeError(number);
  throw vb::RuntimeError(number, description, source);
}

// A late-bound property get or method call by name, with its arguments in order.
void CallByName(IDispatch* d, const wchar_t* name, std::vector<VARIANT> args, VARIANT* result) {
  DISPID id;
  LPOLESTR n = const_cast<LPOLESTR>(name);
  HRESULT hr = d->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) vb::Raise(vb::errNotSupported);
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS p{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  EXCEPINFO ex{};
  hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &p, result,
                 &ex, nullptr);
  if (FAILED(hr)) RaiseFrom(hr, ex);
}

}  // namespace

void GeneralCollection::Add(const VARIANT& item, const std::optional<std::wstring>& key,
                            const std::optional<vb::CollectionIndex>& before,
                            const std::optional<vb::CollectionIndex>& after) {
  auto value = std::make_unique<com::Variant>();
  HRESULT hr = VariantCopyInd(value.get(), const_cast<VARIANT*>(&item));
  if (FAILED(hr)) vb::Raise(hr == E_OUTOFMEMORY ? vb::errOutOfMemory : vb::errTypeMismatch);
  items_.Add(std::move(value), key, before, after);
}

void GeneralCollection::Add(const std::wstring& text, const std::optional<std::wstring>& key) {
  com::Variant v;
  v.vt = VT_BSTR;
  v.bstrVal = com::ToBstr(text);
  Add(v, key);
}

const VARIANT& GeneralCollection::Item(const vb::CollectionIndex& index) { return *items_.Item(index); }

void GeneralCollection::Remove(const vb::CollectionIndex& index) { items_.Remove(index); }

com::Ptr<IUnknown> GeneralCollection::NewEnum() {
  std::vector<VARIANT> items;
  items.reserve(static_cast<size_t>(items_.Count()));
  for (auto& value : items_) items.push_back(*value);  // the enumerator copies them
  return com::Ptr<IUnknown>::Attach(com::NewVariantEnumerator(items));
}

// ---- helpers -------------------------------------------------------------------------------

com::Ptr<IDispatch> NewGeneralCollection() { return GeneralCollection::New(); }

long CollectionCount(IDispatch* collection) {
  if (!collection) vb::Raise(vb::errObjectNotSet);
  if (auto own = com::ImplOf<GeneralCollection>(collection)) return own->Count();
  com::Variant count;
  CallByName(collection, L"Count", {}, &count);
  HRESULT hr = VariantChangeType(&count, &count, 0, VT_I4);
  if (FAILED(hr)) vb::Raise(hr == DISP_E_OVERFLOW ? vb::errOverflow : vb::errTypeMismatch);
  return count.lVal;
}

void CollectionItem(IDispatch* collection, long position, VARIANT* out) {
  if (!collection) vb::Raise(vb::errObjectNotSet);
  VariantClear(out);
  if (auto own = com::ImplOf<GeneralCollection>(collection)) {
    vb::CollectionIndex index;
    index.position = position;
    if (FAILED(VariantCopy(out, const_cast<VARIANT*>(&own->Item(index))))) vb::Raise(vb::errOutOfMemory);
    return;
  }
  VARIANT at;
  at.vt = VT_I4;
  at.lVal = position;
  CallByName(collection, L"Item", {at}, out);
}

std::wstring CollectionItemText(IDispatch* collection, long position) {
  com::Variant item;
  CollectionItem(collection, position, &item);
  com::Variant text;
  HRESULT hr = VariantChangeType(&text, &item, VARIANT_ALPHABOOL, VT_BSTR);
  if (FAILED(hr)) vb::Raise(hr == DISP_E_OVERFLOW ? vb::errOverflow : vb::errTypeMismatch);
  return com::FromBstr(text.bstrVal);
}

}  // namespace claimfile
