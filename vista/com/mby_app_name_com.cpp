#include "mby_app_name_com.h"

#include "com/accessors.h"
#include "enum_value.h"

namespace vista {

com::Ptr<MBYAppName> MBYAppName::New() { return com::Make<MBYAppNameCom>(); }

HRESULT MBYAppNameCom::get_appName(AppNames* out) noexcept {
  if (!out) return E_POINTER;
  LongToEnum(appName, out);
  return S_OK;
}
HRESULT MBYAppNameCom::put_appName(AppNames* v) noexcept {
  if (!v) return E_POINTER;
  appName = EnumToLong(*v);
  return S_OK;
}
HRESULT MBYAppNameCom::get_appDirName(BSTR* out) noexcept {
  return com::Compute(*this, out, [&] { return appDirName(); });
}
HRESULT MBYAppNameCom::get_appLabel(BSTR* out) noexcept {
  return com::Compute(*this, out, [&] { return appLabel(); });
}

}  // namespace vista
