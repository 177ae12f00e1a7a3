#include "common/vista_info.h"

#include <windows.h>
#include <oleauto.h>

#include "common/frm_wrp_warn.h"
#include "common/module1.h"
#include "vb/convert.h"
#include "vb/error.h"

namespace vista {

// {C507E7DF-DEE4-4609-8B35-E5AA58DE1973}
const IID IID__VistaInfo___v0 = {0xC507E7DF, 0xDEE4, 0x4609, {0x8B, 0x35, 0xE5, 0xAA, 0x58, 0xDE, 0x19, 0x73}};

namespace {

static_assert(sizeof(OSVERSIONINFOA) == 148);

struct Version {
  DWORD major = 0, minor = 0;
};

// What GetVersionExA reports; a failed call leaves both at 0.
Version ReportedVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  Version v;
  if (GetVersionExA(&info)) v = {info.dwMajorVersion, info.dwMinorVersion};
  return v;
}

// CBool of a text: "True"/"False" or a number; anything else raises 13.
bool BoolOfText(const std::wstring& text) {
  VARIANT_BOOL b = VARIANT_FALSE;
  HRESULT hr = VarBoolFromStr(const_cast<LPOLESTR>(text.c_str()), LOCALE_USER_DEFAULT, 0, &b);
  if (hr == DISP_E_OVERFLOW) vb::Raise(vb::errOverflow);
  if (FAILED(hr)) vb::Raise(vb::errTypeMismatch);
  return b != VARIANT_FALSE;
}

bool StartsWith(const std::wstring& text, const wchar_t* start) { return text.rfind(start, 0) == 0; }

}  // namespace

bool VistaInfo::isOSVersionXPOrGreater() const {
  Version v = ReportedVersion();
  return v.major > 5 || (v.major == 5 && v.minor >= 1);
}

bool VistaInfo::IsOSVersionNTOrGreater() const { return ReportedVersion().major >= 5; }

bool VistaInfo::IsOSVersionVista() const { return ReportedVersion().major >= 6 || INTESTMODE; }

bool VistaInfo::fileInProctectedArea(const std::wstring& filepath, bool onlyForVista) const {
  if (!IsOSVersionVista() && onlyForVista && !INTESTMODE) return false;
  const std::wstring path = vb::UCase(filepath);
  // C: itself or a file in its root: no "\" from the fourth character on.
  if (StartsWith(path, L"C:") && path.find(L'\\', 3) == std::wstring::npos) return true;
  if (StartsWith(path, L"C:\\PROGRAM FILES\\") || StartsWith(path, L"\\\\C\\PROGRAM FILES\\")) return true;
  if (StartsWith(path, L"C:\\WINDOWS\\") || StartsWith(path, L"\\\\C\\WINDOWS\\")) return true;
  return false;
}

bool VistaInfo::showWRPWarningDialog(const std::wstring& iniPathandFile) {
  static const wchar_t kSection[] = L"VistaSettings";
  static const wchar_t kKey[] = L"showWRPWarning";
  bool result = true;
  if (!iniPathandFile.empty())
    WRPWarningSetting = BoolOfText(Module1::readIniSetting(kSection, kKey, L"0", iniPathandFile)) ? -1 : 0;
  else
    WRPWarningSetting = SHOW_DLG;
  if (WRPWarningSetting == SHOW_DLG) {
    frmWRPWarn form;
    form.ShowModal(GetActiveWindow());
    continueChosen_ = form.continueChosen;
    result = form.continueChosen;
    // The setting keeps the window away once "Do not show this again." was ticked.
    if (!iniPathandFile.empty())
      Module1::writeIniSetting(kSection, kKey, form.turnOffChecked ? L"True" : L"False", iniPathandFile);
  }
  return result;
}

}  // namespace vista
