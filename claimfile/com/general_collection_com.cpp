#include "com/general_collection_com.h"

#include <oleauto.h>

#include "vb/error.h"

namespace claimfile {

namespace {

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

}  // namespace

com::Ptr<GeneralCollection> GeneralCollection::New() { return com::Make<GeneralCollectionCom>(); }

// ---- IDispatch -----------------------------------------------------------------------------

HRESULT GeneralCollectionCom::GetTypeInfoCount(UINT* n) noexcept {
  if (!n) return E_POINTER;
  *n = 0;
  return S_OK;
}

HRESULT GeneralCollectionCom::GetTypeInfo(UINT, LCID, ITypeInfo** out) noexcept {
  if (out) *out = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT GeneralCollectionCom::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) noexcept {
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

HRESULT GeneralCollectionCom::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excep, UINT* argErr) noexcept {
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

HRESULT GeneralCollectionCom::Item(VARIANT* index, VARIANT* result) noexcept {
  if (!index || !result) return E_POINTER;
  VariantInit(result);
  return Run([&] {
    const VARIANT& item = GeneralCollection::Item(vb::CollectionIndex::From(*index));
    if (FAILED(VariantCopy(result, const_cast<VARIANT*>(&item)))) vb::Raise(vb::errOutOfMemory);
  });
}

HRESULT GeneralCollectionCom::Add(VARIANT* item, VARIANT* key, VARIANT* before, VARIANT* after) noexcept {
  if (!item) return E_POINTER;
  return Run([&] {
    std::optional<std::wstring> k;
    std::optional<vb::CollectionIndex> b, a;
    if (!IsMissing(key)) k = KeyText(*key);
    if (!IsMissing(before)) b = vb::CollectionIndex::From(*before);
    if (!IsMissing(after)) a = vb::CollectionIndex::From(*after);
    GeneralCollection::Add(*item, k, b, a);
  });
}

HRESULT GeneralCollectionCom::Count(long* result) noexcept {
  if (!result) return E_POINTER;
  *result = GeneralCollection::Count();
  return S_OK;
}

HRESULT GeneralCollectionCom::Remove(VARIANT* index) noexcept {
  if (!index) return E_POINTER;
  return Run([&] { GeneralCollection::Remove(vb::CollectionIndex::From(*index)); });
}

HRESULT GeneralCollectionCom::_NewEnum(IUnknown** result) noexcept {
  if (!result) return E_POINTER;
  *result = nullptr;
  return Run([&] { *result = NewEnum().Detach(); });
}

}  // namespace claimfile
