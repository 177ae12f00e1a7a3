#include "vista_info_com.h"

#include "com/accessors.h"
#include "enum_value.h"

namespace vista {

com::Ptr<VistaInfo> VistaInfo::New() { return com::Make<VistaInfoCom>(); }

HRESULT VistaInfoCom::get_WRPWarningSetting(showDialog* out) noexcept {
  if (!out) return E_POINTER;
  LongToEnum(WRPWarningSetting, out);
  return S_OK;
}
HRESULT VistaInfoCom::put_WRPWarningSetting(showDialog v) noexcept {
  WRPWarningSetting = EnumToLong(v);
  return S_OK;
}
HRESULT VistaInfoCom::get_continueSave(VARIANT_BOOL* out) noexcept { return com::Get(out, continueSave()); }

HRESULT VistaInfoCom::fileInProctectedArea(BSTR* filepath, VARIANT_BOOL* onlyForVista,
                                           VARIANT_BOOL* out) noexcept {
  if (!filepath) return E_POINTER;
  return com::Compute(*this, out, [&] {
    return VistaInfo::fileInProctectedArea(com::FromBstr(*filepath),
                                           onlyForVista && *onlyForVista != VARIANT_FALSE);
  });
}

HRESULT VistaInfoCom::isOSVersionXPOrGreater(VARIANT_BOOL* out) noexcept {
  return com::Compute(*this, out, [&] { return VistaInfo::isOSVersionXPOrGreater(); });
}
HRESULT VistaInfoCom::IsOSVersionNTOrGreater(VARIANT_BOOL* out) noexcept {
  return com::Compute(*this, out, [&] { return VistaInfo::IsOSVersionNTOrGreater(); });
}
HRESULT VistaInfoCom::IsOSVersionVista(VARIANT_BOOL* out) noexcept {
  return com::Compute(*this, out, [&] { return VistaInfo::IsOSVersionVista(); });
}

HRESULT VistaInfoCom::showWRPWarningDialog(BSTR* iniPathandFile, VARIANT_BOOL* out) noexcept {
  return com::Compute(*this, out, [&] {
    return VistaInfo::showWRPWarningDialog(iniPathandFile ? com::FromBstr(*iniPathandFile) : std::wstring());
  });
}

HRESULT VistaInfoCom::get_INTESTMODE(VARIANT_BOOL* out) noexcept { return com::Get(out, INTESTMODE); }
HRESULT VistaInfoCom::put_INTESTMODE(VARIANT_BOOL v) noexcept { return com::Let(INTESTMODE, v); }

}  // namespace vista
