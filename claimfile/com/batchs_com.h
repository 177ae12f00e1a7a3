// The COM adapter of Batchs.
#pragma once
#include "member_accessors.h"
#include "model/batchs.h"
#include "model_collection_com.h"

namespace claimfile {

class BatchsCom final : public ModelCollectionCom<Batchs, _Batch> {
 public:
  HRESULT STDMETHODCALLTYPE BRExists(BSTR* providerKey, VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE Add(BSTR* providerKey, _Batch** out) noexcept override;
};

}  // namespace claimfile
