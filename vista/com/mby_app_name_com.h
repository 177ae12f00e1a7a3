// The COM adapter of MBYAppName.
#pragma once
#include "common/mby_app_name.h"

namespace vista {

class MBYAppNameCom final : public MBYAppName {
 public:
  HRESULT STDMETHODCALLTYPE get_appName(AppNames* out) noexcept override;
  HRESULT STDMETHODCALLTYPE put_appName(AppNames* v) noexcept override;
  HRESULT STDMETHODCALLTYPE get_appDirName(BSTR* out) noexcept override;
  HRESULT STDMETHODCALLTYPE get_appLabel(BSTR* out) noexcept override;
};

}  // namespace vista
