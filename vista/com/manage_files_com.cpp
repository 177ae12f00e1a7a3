#include "manage_files_com.h"

#include "com/accessors.h"
#include "enum_value.h"

namespace vista {

com::Ptr<ManageFiles> ManageFiles::New() { return com::Make<ManageFilesCom>(); }

namespace {

std::wstring TextOf(BSTR* text) { return text ? com::FromBstr(*text) : std::wstring(); }

}  // namespace

HRESULT ManageFilesCom::get_INTESTMODE(VARIANT_BOOL* out) noexcept { return com::Get(out, INTESTMODE); }
HRESULT ManageFilesCom::put_INTESTMODE(VARIANT_BOOL v) noexcept { return com::Let(INTESTMODE, v); }
HRESULT ManageFilesCom::get_fileLocs(_fileLocations** out) noexcept { return com::Get(out, fileLocs); }
HRESULT ManageFilesCom::reservedfileLocs() noexcept { return E_NOTIMPL; }
HRESULT ManageFilesCom::putref_fileLocs(_fileLocations* v) noexcept {
  return Run([&] { fileLocs = com::RequireImpl<fileLocations>(v); });
}
HRESULT ManageFilesCom::get_showProgressDialog(VARIANT_BOOL* out) noexcept { return com::Get(out, showProgressDialog); }
HRESULT ManageFilesCom::put_showProgressDialog(VARIANT_BOOL v) noexcept { return com::Let(showProgressDialog, v); }

HRESULT ManageFilesCom::get_appName(_MBYAppName** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  return Run([&] { com::PutOut(appName(), out); });
}
HRESULT ManageFilesCom::put_appName(_MBYAppName* v) noexcept {
  return Run([&] { appName(com::RequireImpl<MBYAppName>(v)); });
}

HRESULT ManageFilesCom::cancelMove(VARIANT* out) noexcept {
  if (out) VariantInit(out);
  return Run([&] { ManageFiles::cancelMove(); });
}
HRESULT ManageFilesCom::moveStatus(moveStatuses* out) noexcept {
  if (!out) return E_POINTER;
  return Run([&] { LongToEnum(ManageFiles::moveStatus(), out); });
}
HRESULT ManageFilesCom::saveMoveLog(BSTR* logpath, VARIANT_BOOL* out) noexcept {
  return com::Compute(*this, out, [&] { return ManageFiles::saveMoveLog(TextOf(logpath)); });
}
HRESULT ManageFilesCom::moveProtectedFiles(BSTR* appSourcePath, BSTR* iniSourcePath, BSTR* iniFileName,
                                           VARIANT_BOOL* out) noexcept {
  return com::Compute(*this, out, [&] {
    return ManageFiles::moveProtectedFiles(TextOf(appSourcePath), TextOf(iniSourcePath), TextOf(iniFileName));
  });
}

}  // namespace vista
