// The COM adapter of ManageFiles.
#pragma once
#include "relocation/manage_files.h"

namespace vista {

class ManageFilesCom final : public ManageFiles {
 public:
  HRESULT STDMETHODCALLTYPE get_INTESTMODE(VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE put_INTESTMODE(VARIANT_BOOL v) noexcept override;
  HRESULT STDMETHODCALLTYPE get_fileLocs(_fileLocations** out) noexcept override;
  HRESULT STDMETHODCALLTYPE reservedfileLocs() noexcept override;
  HRESULT STDMETHODCALLTYPE putref_fileLocs(_fileLocations* v) noexcept override;
  HRESULT STDMETHODCALLTYPE get_showProgressDialog(VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE put_showProgressDialog(VARIANT_BOOL v) noexcept override;
  HRESULT STDMETHODCALLTYPE get_appName(_MBYAppName** out) noexcept override;
  HRESULT STDMETHODCALLTYPE put_appName(_MBYAppName* v) noexcept override;
  HRESULT STDMETHODCALLTYPE cancelMove(VARIANT* out) noexcept override;
  HRESULT STDMETHODCALLTYPE moveStatus(moveStatuses* out) noexcept override;
  HRESULT STDMETHODCALLTYPE saveMoveLog(BSTR* logpath, VARIANT_BOOL* out) noexcept override;
  HRESULT STDMETHODCALLTYPE moveProtectedFiles(BSTR* appSourcePath, BSTR* iniSourcePath, BSTR* iniFileName,
                                               VARIANT_BOOL* out) noexcept override;
};

}  // namespace vista
