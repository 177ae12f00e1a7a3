#include "parts_com.h"

#include "com/accessors.h"

namespace edi {

namespace {

// An object result, AddRef'd for the caller.
template <class Itf, class T>
Itf* Out(const com::Ptr<T>& p) {
  Itf* itf = p.get();
  if (itf) itf->AddRef();
  return itf;
}

}  // namespace

com::Ptr<Guide> Guide::New(std::shared_ptr<const GuideFile> file) { return com::Make<GuideCom>(std::move(file)); }
com::Ptr<Interchange> Interchange::New(std::shared_ptr<DocumentState> state, std::shared_ptr<const GuideFile> guide) {
  return com::Make<InterchangeCom>(std::move(state), std::move(guide));
}
com::Ptr<Group> Group::New(std::shared_ptr<DocumentState> state, std::shared_ptr<const GuideFile> guide,
                           const std::wstring& version) {
  return com::Make<GroupCom>(std::move(state), std::move(guide), version);
}
com::Ptr<TransactionSet> TransactionSet::New(std::shared_ptr<DocumentState> state,
                                             std::shared_ptr<const GuideFile> guide, const std::wstring& id) {
  return com::Make<TransactionSetCom>(std::move(state), std::move(guide), id);
}
com::Ptr<Segment> Segment::Of(const std::shared_ptr<DocumentState>& state, SegmentStore::Index record) {
  if (Segment* held = state->segments.view(record)) return com::Ptr<Segment>(held);
  return com::Make<SegmentCom>(state, record);
}

HRESULT GuideCom::get_Path(BSTR* out) noexcept { return com::Get(out, file().path()); }
HRESULT GuideCom::get_TransactionSetId(BSTR* out) noexcept { return com::Get(out, file().transactionSetId()); }

HRESULT InterchangeCom::CreateGroup(BSTR version, IEdiGroup** out) noexcept {
  return com::Compute(*this, out, [&] { return Out<IEdiGroup>(Interchange::CreateGroup(com::FromBstr(version))); });
}
HRESULT InterchangeCom::Header(IEdiSegment** out) noexcept { return com::Get(out, isa()); }

HRESULT GroupCom::CreateTransactionSet(BSTR id, IEdiTransactionSet** out) noexcept {
  return com::Compute(*this, out,
                      [&] { return Out<IEdiTransactionSet>(Group::CreateTransactionSet(com::FromBstr(id))); });
}
HRESULT GroupCom::Header(IEdiSegment** out) noexcept { return com::Get(out, gs()); }

HRESULT TransactionSetCom::SegmentByPath(BSTR path, IEdiSegment** out) noexcept {
  return com::Compute(*this, out,
                      [&] { return Out<IEdiSegment>(TransactionSet::SegmentByPath(com::FromBstr(path))); });
}
HRESULT TransactionSetCom::Header(IEdiSegment** out) noexcept { return com::Get(out, st()); }

HRESULT TransactionSetCom::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO* excep, UINT* argErr) noexcept {
  if (id == kSegmentByPath && riid == IID_NULL && (flags & DISPATCH_METHOD) && params && params->cArgs == 1 &&
      params->cNamedArgs == 0 && params->rgvarg[0].vt == VT_BSTR && result) {
    IEdiSegment* segment = nullptr;
    const HRESULT hr = SegmentByPath(params->rgvarg[0].bstrVal, &segment);
    if (SUCCEEDED(hr)) {
      VariantClear(result);
      result->vt = VT_DISPATCH;
      result->pdispVal = segment;
    }
    return InvokeOutcome(hr, excep);
  }
  return LateBound<TransactionSet>::Invoke(id, riid, lcid, flags, params, result, excep, argErr);
}

HRESULT SegmentCom::get_SegmentId(BSTR* out) noexcept { return com::Get(out, id()); }
HRESULT SegmentCom::get_ElementValue(long element, VARIANT component, BSTR* out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  return Run([&] {
    const std::wstring_view text = state_->segments.Element(record_, element, ComponentNumber(component));
    BSTR b = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (!b) vb::Raise(vb::errOutOfMemory);
    *out = b;
  });
}
HRESULT SegmentCom::put_ElementValue(long element, VARIANT component, BSTR value) noexcept {
  return Run([&] { SetElement(element, ComponentNumber(component), std::wstring_view(value, SysStringLen(value))); });
}

HRESULT SegmentCom::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* excep, UINT* argErr) noexcept {
  // The arguments come last first: the value (the named property-put one), then the component
  // number when there is one, then the element number.
  if (id == kElementValue && riid == IID_NULL && flags == DISPATCH_PROPERTYPUT && params &&
      (params->cArgs == 2 || params->cArgs == 3) && params->cNamedArgs == 1 &&
      params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT && params->rgvarg[0].vt == VT_BSTR &&
      params->rgvarg[params->cArgs - 1].vt == VT_I4 && (params->cArgs == 2 || params->rgvarg[1].vt == VT_I4)) {
    VARIANT component;
    VariantInit(&component);
    if (params->cArgs == 3) component = params->rgvarg[1];
    return InvokeOutcome(put_ElementValue(params->rgvarg[params->cArgs - 1].lVal, component, params->rgvarg[0].bstrVal),
                         excep);
  }
  // A read back of a value by 32-bit element (and component) number.
  if (id == kElementValue && riid == IID_NULL && (flags & DISPATCH_PROPERTYGET) && params && result &&
      (params->cArgs == 1 || params->cArgs == 2) && params->cNamedArgs == 0 &&
      params->rgvarg[params->cArgs - 1].vt == VT_I4 && (params->cArgs == 1 || params->rgvarg[0].vt == VT_I4)) {
    VARIANT component;
    VariantInit(&component);
    if (params->cArgs == 2) component = params->rgvarg[0];
    BSTR text = nullptr;
    const HRESULT hr = get_ElementValue(params->rgvarg[params->cArgs - 1].lVal, component, &text);
    if (SUCCEEDED(hr)) {
      VariantClear(result);
      result->vt = VT_BSTR;
      result->bstrVal = text;
    }
    return InvokeOutcome(hr, excep);
  }
  return LateBound<Segment>::Invoke(id, riid, lcid, flags, params, result, excep, argErr);
}

}  // namespace edi
