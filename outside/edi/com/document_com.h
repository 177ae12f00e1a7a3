// The COM adapter of Document.
#pragma once
#include "document.h"
#include "late_bound.h"

namespace edi {

class DocumentCom final : public LateBound<Document> {
 public:
  HRESULT STDMETHODCALLTYPE CreateInterchange(BSTR standard, BSTR version, IEdiInterchange** out) noexcept override;
  HRESULT STDMETHODCALLTYPE LoadGuide(BSTR path, long flags, IEdiGuide** out) noexcept override;
  HRESULT STDMETHODCALLTYPE Save(BSTR fileName) noexcept override;
  HRESULT STDMETHODCALLTYPE get_SegmentTerminator(BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE put_SegmentTerminator(BSTR v) noexcept override;
  HRESULT STDMETHODCALLTYPE get_ElementSeparator(BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE put_ElementSeparator(BSTR v) noexcept override;
  HRESULT STDMETHODCALLTYPE get_CompositeSeparator(BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE put_CompositeSeparator(BSTR v) noexcept override;
  HRESULT STDMETHODCALLTYPE get_Option29(long* out) noexcept override;
  HRESULT STDMETHODCALLTYPE put_Option29(long v) noexcept override;
};

}  // namespace edi
