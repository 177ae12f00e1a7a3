#include "common/mby_app_name.h"

#include "com/accessors.h"
#include "common/enum_value.h"

namespace vista {

std::wstring MBYAppName::appDirName() const {
  switch (appName) {
    case VNS: return L"Vendral Std";
    case VNE: return L"Vendral Ent";
    case TM: return L"Tallowmere";
    default: return L"";
  }
}

std::wstring MBYAppName::appLabel() const {
  switch (appName) {
    case VNS: return L"Vendral Standard";
    case VNE: return L"Vendral Enterprise";
    case TM: return L"Tallowmere";
    default: return L"";
  }
}

// ---- _MBYAppName ---------------------------------------------------------------------------

HRESULT MBYAppName::get_appName(AppNames* out) {
  if (!out) return E_POINTER;
  LongToEnum(appName, out);
  return S_OK;
}
HRESULT MBYAppName::put_appName(AppNames* v) {
  if (!v) return E_POINTER;
  appName = EnumToLong(*v);
  return S_OK;
}
HRESULT MBYAppName::get_appDirName(BSTR* out) {
  return com::Compute(*this, out, [&] { return appDirName(); });
}
HRESULT MBYAppName::get_appLabel(BSTR* out) {
  return com::Compute(*this, out, [&] { return appLabel(); });
}

}  // namespace vista
