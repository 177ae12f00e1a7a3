#include "edi_file_com.h"

namespace claimfile {

com::Ptr<EDIFile> EDIFile::New() { return com::Make<EDIFileCom>(); }

HRESULT EDIFileCom::get_ediDocStillProcessing(VARIANT_BOOL* out) noexcept {
  return com::Get(out, ediDocStillProcessing);
}

HRESULT EDIFileCom::put_ediDocStillProcessing(VARIANT_BOOL value) noexcept {
  return com::Let(ediDocStillProcessing, value);
}

HRESULT EDIFileCom::get_oEdiDoc(IEdiDocument** out) noexcept { return com::Get(out, oEdiDoc()); }

HRESULT EDIFileCom::putref_oEdiDoc(IEdiDocument* value) noexcept {
  return Run([&] {
    // Whatever the caller's reference is, the document is held by its document interface.
    com::Ptr<IEdiDocument> document;
    if (value && FAILED(value->QueryInterface(IID_IEdiDocument, reinterpret_cast<void**>(document.out()))))
      vb::Raise(vb::errTypeMismatch);
    SetEdiDoc(document);
  });
}

HRESULT EDIFileCom::get_valid837(VARIANT_BOOL* out) noexcept { return com::Get(out, valid837()); }

HRESULT EDIFileCom::put_OutputFileName(BSTR* value) noexcept {
  if (!value) return E_POINTER;
  return com::Let(OutputFileName, *value);
}

HRESULT EDIFileCom::get_OutputFileName(BSTR* out) noexcept { return com::Get(out, OutputFileName); }

HRESULT EDIFileCom::Export() noexcept {
  DoExport();
  return S_OK;
}

HRESULT EDIFileCom::BRExists(BSTR* key, VARIANT* out) noexcept {
  if (!out) return E_POINTER;
  VariantInit(out);
  out->vt = VT_BOOL;
  return KeyTest(*this, key, &out->boolVal, [&](const std::wstring& k) { return EDIFile::BRExists(k); });
}

HRESULT EDIFileCom::get_FileHeader(BSTR* key, _FileHeader** out) noexcept {
  if (!key || !out) return E_POINTER;
  *out = nullptr;
  return Run([&] { com::PutOut(FileHeader(com::FromBstr(*key)), out); });
}

}  // namespace claimfile
