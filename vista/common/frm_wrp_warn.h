// The Windows Resource Protection warning window: explains the protection and asks whether to
// go on saving ("Continue Saving") or not ("OK", the default and cancel button).
#pragma once
#include <windows.h>

namespace vista {

class frmWRPWarn {
 public:
  // The window's caption.
  static constexpr const wchar_t* kCaption = L"Windows Resource Protection";
  // The page that the "Microsoft Explanation" link opens.
  static constexpr const char* kExplanationAddress =
      "https://learn.microsoft.com/windows/win32/wfp/windows-resource-protection-portal";

  // True when the window was closed with "Continue Saving".
  bool continueChosen = false;
  // Whether "Do not show this again." was ticked when the window closed.
  bool turnOffChecked = false;

  // Shows the window modally to `owner` (which is disabled meanwhile) and returns when it is
  // closed: by a button, by Enter or Escape (the "OK" button), or by its close box (no button).
  void ShowModal(HWND owner);

  // Opens the explanation page with the shell's "Open" verb in a normal window owned by the
  // warning window. Replaceable, so that the link can be followed without a browser.
  using LinkOpener = void (*)(HWND owner, const char* address);
  static LinkOpener openLink;

 private:
  static INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
  void Form_Load(HWND dlg);
  void Form_Unload(HWND dlg);
  void OKButton_Click(HWND dlg, int index);
  void Label4_Click(HWND dlg);

  HFONT headingFont_ = nullptr;
  HFONT linkFont_ = nullptr;
};

}  // namespace vista
