// The COM adapter of EDIFile.
#pragma once
#include "member_accessors.h"
#include "model_collection_com.h"
#include "nsf/edi_file.h"

namespace claimfile {

class EDIFileCom final : public ModelCollectionCom<EDIFile, _FileHeader> {
 public:
  HRESULT STDMETHODCALLTYPE get_ediDocStillProcessing(VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE put_ediDocStillProcessing(VARIANT_BOOL value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_oEdiDoc(IEdiDocument** out) noexcept override;
  HRESULT STDMETHODCALLTYPE reservedoEdiDoc() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE putref_oEdiDoc(IEdiDocument* value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_valid837(VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE put_OutputFileName(BSTR* value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_OutputFileName(BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE Export() noexcept override;
  HRESULT STDMETHODCALLTYPE BRExists(BSTR* key, VARIANT* out) noexcept override;
  HRESULT STDMETHODCALLTYPE get_FileHeader(BSTR* key, _FileHeader** out) noexcept override;
};

}  // namespace claimfile
