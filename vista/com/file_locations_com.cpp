#include "file_locations_com.h"

namespace vista {

com::Ptr<fileLocations> fileLocations::New() { return com::Make<fileLocationsCom>(); }

HRESULT fileLocationsCom::get_appName(_MBYAppName** out) noexcept { return com::Get(out, appName); }
HRESULT fileLocationsCom::reservedappName() noexcept { return E_NOTIMPL; }
HRESULT fileLocationsCom::putref_appName(_MBYAppName* v) noexcept {
  return Run([&] { appName = com::RequireImpl<MBYAppName>(v); });
}
HRESULT fileLocationsCom::get_installedPath(BSTR* out) noexcept { return com::Get(out, installedPath); }
HRESULT fileLocationsCom::put_installedPath(BSTR v) noexcept { return com::Let(installedPath, v); }

HRESULT fileLocationsCom::preferredAppPath(_MBYAppName* newAppName, BSTR* out) noexcept {
  return ForProduct(newAppName, out, &fileLocations::preferredAppPath);
}
HRESULT fileLocationsCom::userTempPath(BSTR* out) noexcept {
  return com::Compute(*this, out, [&] { return fileLocations::userTempPath(); });
}
HRESULT fileLocationsCom::userDocPath(BSTR* out) noexcept {
  return com::Compute(*this, out, [&] { return fileLocations::userDocPath(); });
}
HRESULT fileLocationsCom::publicDataPath(_MBYAppName* newAppName, BSTR* out) noexcept {
  return ForProduct(newAppName, out, &fileLocations::publicDataPath);
}
HRESULT fileLocationsCom::hiddenDataPath(_MBYAppName* newAppName, BSTR* out) noexcept {
  return ForProduct(newAppName, out, &fileLocations::hiddenDataPath);
}
HRESULT fileLocationsCom::preferredAppPathExists(_MBYAppName* newAppName, VARIANT_BOOL* out) noexcept {
  return ForProduct(newAppName, out, &fileLocations::preferredAppPathExists);
}
HRESULT fileLocationsCom::publicDataPathExists(_MBYAppName* newAppName, VARIANT_BOOL* out) noexcept {
  return ForProduct(newAppName, out, &fileLocations::publicDataPathExists);
}
HRESULT fileLocationsCom::hiddenDataPathExists(_MBYAppName* newAppName, VARIANT_BOOL* out) noexcept {
  return ForProduct(newAppName, out, &fileLocations::hiddenDataPathExists);
}
HRESULT fileLocationsCom::userVirtualDataPath(BSTR* out) noexcept {
  return com::Compute(*this, out, [&] { return fileLocations::userVirtualDataPath(); });
}
HRESULT fileLocationsCom::getVirtualPath(BSTR* pathAndFile, BSTR* out) noexcept {
  if (!pathAndFile) return E_POINTER;
  return com::Compute(*this, out, [&] { return fileLocations::getVirtualPath(com::FromBstr(*pathAndFile)); });
}

}  // namespace vista
