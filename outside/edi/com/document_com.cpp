#include "document_com.h"

#include "com/accessors.h"

namespace edi {

com::Ptr<Document> Document::New() { return com::Make<DocumentCom>(); }

HRESULT InvokeOutcome(HRESULT hr, EXCEPINFO* excep) noexcept {
  if (SUCCEEDED(hr)) return S_OK;
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) != S_OK || !info) return hr;
  if (excep) {
    *excep = EXCEPINFO{};
    excep->scode = hr;
    info->GetSource(&excep->bstrSource);
    info->GetDescription(&excep->bstrDescription);
    info->GetHelpFile(&excep->bstrHelpFile);
    info->GetHelpContext(&excep->dwHelpContext);
  }
  info->Release();
  return DISP_E_EXCEPTION;
}

long ComponentNumber(const VARIANT& v) {
  const VARIANT* p = &v;
  while (p->vt == (VT_BYREF | VT_VARIANT) && p->pvarVal) p = p->pvarVal;
  if (p->vt == VT_EMPTY || (p->vt == VT_ERROR && p->scode == DISP_E_PARAMNOTFOUND)) return 0;
  vb::Variant n;
  if (FAILED(VariantChangeType(&n, const_cast<VARIANT*>(p), 0, VT_I4))) vb::Raise(vb::errTypeMismatch);
  return n.lVal;
}

HRESULT DocumentCom::CreateInterchange(BSTR standard, BSTR version, IEdiInterchange** out) noexcept {
  return com::Compute(*this, out, [&]() -> IEdiInterchange* {
    auto made = Document::CreateInterchange(com::FromBstr(standard), com::FromBstr(version));
    made->AddRef();
    return made.get();
  });
}

HRESULT DocumentCom::LoadGuide(BSTR path, long, IEdiGuide** out) noexcept {
  return com::Compute(*this, out, [&]() -> IEdiGuide* {
    auto made = Document::LoadGuide(com::FromBstr(path));
    made->AddRef();
    return made.get();
  });
}

HRESULT DocumentCom::Save(BSTR fileName) noexcept {
  return Run([&] { Document::Save(com::FromBstr(fileName)); });
}

HRESULT DocumentCom::get_SegmentTerminator(BSTR* out) noexcept {
  return com::Compute(*this, out, [&] { return separator(&Separators::segment); });
}
HRESULT DocumentCom::put_SegmentTerminator(BSTR v) noexcept {
  return Run([&] { SetSeparator(&Separators::segment, com::FromBstr(v)); });
}
HRESULT DocumentCom::get_ElementSeparator(BSTR* out) noexcept {
  return com::Compute(*this, out, [&] { return separator(&Separators::element); });
}
HRESULT DocumentCom::put_ElementSeparator(BSTR v) noexcept {
  return Run([&] { SetSeparator(&Separators::element, com::FromBstr(v)); });
}
HRESULT DocumentCom::get_CompositeSeparator(BSTR* out) noexcept {
  return com::Compute(*this, out, [&] { return separator(&Separators::composite); });
}
HRESULT DocumentCom::put_CompositeSeparator(BSTR v) noexcept {
  return Run([&] { SetSeparator(&Separators::composite, com::FromBstr(v)); });
}
HRESULT DocumentCom::get_Option29(long* out) noexcept { return com::Get(out, Option29); }
HRESULT DocumentCom::put_Option29(long v) noexcept { return com::Let(Option29, v); }

}  // namespace edi
