#include "common/mby_app_name.h"


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

}  // namespace vista
