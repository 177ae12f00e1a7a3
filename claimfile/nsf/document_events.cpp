#include "nsf/document_events.h"

#include <ocidl.h>

#include "edidoc.h"

namespace claimfile::nsf {

namespace {

// The document's default source interface from its class information, with the ids of its
// two events; where the document gives no class information, the events interface of the
// component's type library and its ids 1 and 2.
void EventsOf(IUnknown* document, IID& events, DISPID& start, DISPID& complete) {
  events = DIID_EdiDocumentEvents;
  com::Ptr<IProvideClassInfo> info;
  com::Ptr<ITypeInfo> cls;
  TYPEATTR* attr = nullptr;
  if (FAILED(document->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(info.out()))) ||
      FAILED(info->GetClassInfo(cls.out())) || FAILED(cls->GetTypeAttr(&attr)))
    return;
  const WORD count = attr->cImplTypes;
  cls->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < count; ++i) {
    INT flags = 0;
    HREFTYPE ref;
    com::Ptr<ITypeInfo> source;
    if (FAILED(cls->GetImplTypeFlags(i, &flags)) || (flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) !=
                                                        (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE) ||
        FAILED(cls->GetRefTypeOfImplType(i, &ref)) || FAILED(cls->GetRefTypeInfo(ref, source.out())) ||
        FAILED(source->GetTypeAttr(&attr)))
      continue;
    events = attr->guid;
    source->ReleaseTypeAttr(attr);
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"ProgressStart"), const_cast<LPOLESTR>(L"ProgressComplete")};
    source->GetIDsOfNames(&names[0], 1, &start);
    source->GetIDsOfNames(&names[1], 1, &complete);
    return;
  }
}

}  // namespace

com::Ptr<DocumentEvents> DocumentEvents::Connect(IUnknown* document, std::function<void(bool)> progress) {
  com::Ptr<DocumentEvents> sink(new DocumentEvents(std::move(progress)));
  if (!document) return sink;
  EventsOf(document, sink->events_, sink->start_, sink->complete_);
  com::Ptr<IConnectionPointContainer> container;
  com::Ptr<IConnectionPoint> point;
  DWORD cookie = 0;
  if (SUCCEEDED(document->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container.out()))) &&
      SUCCEEDED(container->FindConnectionPoint(sink->events_, point.out())) &&
      SUCCEEDED(point->Advise(static_cast<IDispatch*>(sink.get()), &cookie))) {
    sink->point_ = point;
    sink->cookie_ = cookie;
  }
  return sink;
}

void DocumentEvents::Disconnect() noexcept {
  progress_ = nullptr;
  if (point_) point_->Unadvise(cookie_);
  point_.reset();
  cookie_ = 0;
}

HRESULT DocumentEvents::QueryInterface(REFIID riid, void** ppv) noexcept {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid != IID_IUnknown && riid != IID_IDispatch && riid != events_) return E_NOINTERFACE;
  *ppv = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

HRESULT DocumentEvents::GetTypeInfoCount(UINT* n) noexcept {
  if (!n) return E_POINTER;
  *n = 0;
  return S_OK;
}

HRESULT DocumentEvents::GetTypeInfo(UINT, LCID, ITypeInfo** out) noexcept {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT DocumentEvents::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept { return E_NOTIMPL; }

HRESULT DocumentEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                               UINT*) noexcept {
  if (result) VariantInit(result);
  if (progress_ && (id == start_ || id == complete_)) progress_(id == start_);
  return S_OK;
}

}  // namespace claimfile::nsf
