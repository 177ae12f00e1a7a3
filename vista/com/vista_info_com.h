// The COM adapter of VistaInfo.
#pragma once
#include "common/vista_info.h"

namespace vista {

class VistaInfoCom final : public VistaInfo {
 public:
  HRESULT STDMETHODCALLTYPE get_WRPWarningSetting(showDialog* out) noexcept override;
  HRESULT STDMETHODCALLTYPE put_WRPWarningSetting(showDialog v) noexcept override;
  HRESULT STDMETHODCALLTYPE get_continueSave(VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE fileInProctectedArea(BSTR* filepath, VARIANT_BOOL* onlyForVista,
                                                 VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE isOSVersionXPOrGreater(VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE IsOSVersionNTOrGreater(VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE IsOSVersionVista(VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE showWRPWarningDialog(BSTR* iniPathandFile, VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE get_INTESTMODE(VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE put_INTESTMODE(VARIANT_BOOL v) noexcept override;
};

}  // namespace vista
