#include "model/general_collection.h"

#include <oleauto.h>

#include "com/enumerator.h"
#include "vb/error.h"

namespace claimfile {

const IID IID_VbaCollection = {0xA4C46780, 0x499F, 0x101B, {0xBB, 0x78, 0x00, 0xAA, 0x00, 0x38, 0x3C, 0xBB}};

namespace {

// {0E714D14-CE1D-4CD7-AA52-7CEFB1A33F3A}: the C++ object behind the interface, in-process only.
const CLSID kImplId = {0x0E714D14, 0xCE1D, 0x4CD7, {0xAA, 0x52, 0x7C, 0xEF, 0xB1, 0xA3, 0x3F, 0x3A}};

enum : DISPID { kItem = 0, kAdd = 1, kCount = 2, kRemove = 3 };

bool IsMissing(const VARIANT* v) {
  return !v || (v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND);
}

// The variant a by-reference Variant points at (one level), else the variant itself.
const VARIANT& Deref(const VARIANT& v) {
  return v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal ? *v.pvarVal : v;
}

std::wstring KeyText(const VARIANT& key) {
  com::Variant text;
  HRESULT hr = VariantChangeType(&text, const_cast<VARIANT*>(&Deref(key)), 0, VT_BSTR);
  if (FAILED(hr)) vb::Raise(hr == DISP_E_OVERFLOW ? vb::errOverflow : vb::errTypeMismatch);
  return com::FromBstr(text.bstrVal);
}

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

const CLSID& GeneralCollection::ClassId() { return kImplId; }

GeneralCollection::GeneralCollection() { com::ModuleAddRef(); }
GeneralCollection::~GeneralCollection() { com::ModuleRelease(); }

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

// ---- IUnknown ------------------------------------------------------------------------------

HRESULT GeneralCollection::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_VbaCollection)
    *ppv = static_cast<VbaCollection*>(this);
  else if (riid == IID_ISupportErrorInfo)
    *ppv = static_cast<ISupportErrorInfo*>(this);
  else if (riid == kImplId)
    *ppv = this;
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG GeneralCollection::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

ULONG GeneralCollection::Release() {
  long n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

HRESULT GeneralCollection::InterfaceSupportsErrorInfo(REFIID riid) {
  return riid == IID_VbaCollection ? S_OK : S_FALSE;
}

// ---- IDispatch -----------------------------------------------------------------------------

HRESULT GeneralCollection::GetTypeInfoCount(UINT* n) {
  if (!n) return E_POINTER;
  *n = 0;
  return S_OK;
}

HRESULT GeneralCollection::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
  if (out) *out = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT GeneralCollection::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids || count == 0) return E_INVALIDARG;
  struct Name {
    const wchar_t* text;
    DISPID id;
  };
  static const Name kMembers[] = {{L"Item", kItem}, {L"Add", kAdd}, {L"Count", kCount},
                                  {L"Remove", kRemove}, {L"_NewEnum", DISPID_NEWENUM}};
  static const wchar_t* const kAddParams[] = {L"Item", L"Key", L"Before", L"After"};
  static const wchar_t* const kIndexParams[] = {L"Index"};
  HRESULT hr = S_OK;
  ids[0] = DISPID_UNKNOWN;
  for (const Name& m : kMembers)
    if (names[0] && lstrcmpiW(names[0], m.text) == 0) ids[0] = m.id;
  if (ids[0] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  for (UINT i = 1; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    const wchar_t* const* params = nullptr;
    size_t n = 0;
    if (ids[0] == kAdd) params = kAddParams, n = 4;
    if (ids[0] == kItem || ids[0] == kRemove) params = kIndexParams, n = 1;
    for (size_t p = 0; p < n; ++p)
      if (names[i] && lstrcmpiW(names[i], params[p]) == 0) ids[i] = static_cast<DISPID>(p);
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT GeneralCollection::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO* excep, UINT* argErr) {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!params) return E_INVALIDARG;
  SetErrorInfo(0, nullptr);
  // The arguments by parameter position: named ones first in rgvarg, then the positional ones
  // from the last to the first.
  VARIANT* args[4] = {};
  const UINT positional = params->cArgs - params->cNamedArgs;
  if (positional > 4) return DISP_E_BADPARAMCOUNT;
  for (UINT k = 0; k < positional; ++k) args[k] = &params->rgvarg[params->cArgs - 1 - k];
  for (UINT k = 0; k < params->cNamedArgs; ++k) {
    DISPID p = params->rgdispidNamedArgs[k];
    if (p < 0 || p >= 4) {
      if (argErr) *argErr = k;
      return DISP_E_PARAMNOTFOUND;
    }
    args[p] = &params->rgvarg[k];
  }
  const bool getOrCall = (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) != 0;
  auto given = [&](int n) {
    for (int p = n; p < 4; ++p)
      if (!IsMissing(args[p])) return false;
    return true;
  };
  com::Variant discard;
  VARIANT* out = result ? result : &discard;
  VariantInit(out);
  HRESULT hr;
  switch (id) {
    case kItem:
      if (!getOrCall) return DISP_E_MEMBERNOTFOUND;
      if (IsMissing(args[0]) || !given(1)) return DISP_E_BADPARAMCOUNT;
      hr = Item(args[0], out);
      break;
    case kAdd: {
      if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
      if (IsMissing(args[0])) return DISP_E_BADPARAMCOUNT;
      VARIANT missing;
      missing.vt = VT_ERROR;
      missing.scode = DISP_E_PARAMNOTFOUND;
      hr = Add(args[0], args[1] ? args[1] : &missing, args[2] ? args[2] : &missing, args[3] ? args[3] : &missing);
      break;
    }
    case kCount:
      if (!getOrCall) return DISP_E_MEMBERNOTFOUND;
      if (!given(0)) return DISP_E_BADPARAMCOUNT;
      out->vt = VT_I4;
      hr = Count(&out->lVal);
      break;
    case kRemove:
      if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
      if (IsMissing(args[0]) || !given(1)) return DISP_E_BADPARAMCOUNT;
      hr = Remove(args[0]);
      break;
    case DISPID_NEWENUM:
      if (!getOrCall) return DISP_E_MEMBERNOTFOUND;
      out->vt = VT_UNKNOWN;
      hr = _NewEnum(&out->punkVal);
      break;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
  if (SUCCEEDED(hr)) return hr;
  VariantInit(out);
  if (excep) {
    *excep = EXCEPINFO{};
    excep->scode = hr;
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info) {
      info->GetSource(&excep->bstrSource);
      info->GetDescription(&excep->bstrDescription);
      info->Release();
    }
  }
  return DISP_E_EXCEPTION;
}

// ---- _Collection ---------------------------------------------------------------------------

namespace {
template <class F>
HRESULT Guarded(F&& body) {
  return com::Guard(IID_VbaCollection, std::forward<F>(body));
}
}  // namespace

HRESULT GeneralCollection::Item(VARIANT* index, VARIANT* result) {
  if (!index || !result) return E_POINTER;
  VariantInit(result);
  return Guarded([&] {
    HRESULT hr = VariantCopy(result, const_cast<VARIANT*>(&Item(vb::CollectionIndex::From(*index))));
    if (FAILED(hr)) vb::Raise(vb::errOutOfMemory);
  });
}

HRESULT GeneralCollection::Add(VARIANT* item, VARIANT* key, VARIANT* before, VARIANT* after) {
  if (!item) return E_POINTER;
  return Guarded([&] {
    std::optional<std::wstring> k;
    std::optional<vb::CollectionIndex> b, a;
    if (!IsMissing(key)) k = KeyText(*key);
    if (!IsMissing(before)) b = vb::CollectionIndex::From(*before);
    if (!IsMissing(after)) a = vb::CollectionIndex::From(*after);
    Add(*item, k, b, a);
  });
}

HRESULT GeneralCollection::Count(long* result) {
  if (!result) return E_POINTER;
  *result = Count();
  return S_OK;
}

HRESULT GeneralCollection::Remove(VARIANT* index) {
  if (!index) return E_POINTER;
  return Guarded([&] { Remove(vb::CollectionIndex::From(*index)); });
}

HRESULT GeneralCollection::_NewEnum(IUnknown** result) {
  if (!result) return E_POINTER;
  *result = nullptr;
  return Guarded([&] {
    std::vector<VARIANT> items;
    items.reserve(static_cast<size_t>(items_.Count()));
    for (auto& value : items_) items.push_back(*value);  // the enumerator copies them
    *result = com::NewVariantEnumerator(items);
  });
}

// ---- helpers -------------------------------------------------------------------------------

com::Ptr<IDispatch> NewGeneralCollection() {
  return com::Ptr<IDispatch>(static_cast<VbaCollection*>(new GeneralCollection()));
}

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
