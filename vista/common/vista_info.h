// Which Windows version runs, whether a path lies in a folder that Windows Vista protects
// (Windows Resource Protection), and the warning window about it.
#pragma once
#include <string>

#include "com/object.h"
#include "gorsewick.h"

namespace vista {

// The interface id that hosts built against the first version of the class ask for.
extern const IID IID__VistaInfo___v0;

class VistaInfo : public com::Object<VistaInfo, _VistaInfo> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__VistaInfo || iid == IID__VistaInfo___v0; }
  static com::Ptr<VistaInfo> New();

  // The warning setting last read by showWRPWarningDialog (a showDialog value; a setting read
  // as True is -1).
  long WRPWarningSetting = SHOW_DLG;
  // Test mode: every version test answers as on Windows Vista.
  bool INTESTMODE = false;

  // The button chosen the last time the warning window was shown: true for "Continue Saving".
  bool continueSave() const { return continueChosen_; }

  // True when the path is C: or a file in its root, or lies under C:\Program Files or
  // C:\Windows (also written \\C\...). With onlyForVista, false unless on Windows Vista or later.
  bool fileInProctectedArea(const std::wstring& filepath, bool onlyForVista = false) const;

  // The version tests, from the version that Windows reports (0.0 when it reports none).
  bool isOSVersionXPOrGreater() const;
  bool IsOSVersionNTOrGreater() const;
  bool IsOSVersionVista() const;

  // Shows the warning window unless the file names one whose "showWRPWarning" setting (section
  // "VistaSettings") reads True. Returns true when the window was not shown, else whether
  // "Continue Saving" was chosen; with a file, then stores there whether "Do not show this
  // again." was ticked. A setting that does not read as a Boolean raises 13 and shows nothing.
  bool showWRPWarningDialog(const std::wstring& iniPathandFile = L"");

 private:
  bool continueChosen_ = false;
};

}  // namespace vista
