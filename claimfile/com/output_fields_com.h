// The COM adapter of OutputFields.
#pragma once
#include "member_accessors.h"
#include "model/output_fields.h"
#include "model_collection_com.h"

namespace com {

// OutDefns: the layout store, made from the note of the last record printed if need be.
inline HRESULT Get(_OutputFields** out, const claimfile::LayoutSlot& slot) noexcept {
  if (!out) return E_POINTER;
  return Guard(IID__OutputFields, [&] { return Get(out, slot.Made()); });
}

}  // namespace com

namespace claimfile {

class OutputFieldsCom final : public ModelCollectionCom<OutputFields, _OutputField> {
 public:
  CLAIMFILE_MEMBER_ACCESSORS(CLAIMFILE_OUTPUT_FIELDS_MEMBERS)
  HRESULT STDMETHODCALLTYPE PrintSetValues() noexcept override;
  HRESULT STDMETHODCALLTYPE PrintMe(short* iFn, VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE SetValue(BSTR* name, BSTR* value, VARIANT* out) noexcept override;
  HRESULT STDMETHODCALLTYPE BRExists(BSTR* name, VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE Add(BSTR* name, long* row, long* fromCol, long* toCol, BSTR* value,
                                OutputFieldType* dataType, BSTR* format, VARIANT_BOOL* required,
                                _OutputField** out) noexcept override;
};

}  // namespace claimfile
