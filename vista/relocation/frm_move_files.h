// The progress window of a relocation: the move log (newest line first), a blinking
// "Please Wait...", "Save Log", and the exit button that reads "Cancel" while the move runs and
// "Exit" once it has ended. Modeless, with no owner and no close box; it belongs to its mover.
#pragma once
#include <windows.h>

#include <string>

#include "com/ptr.h"

namespace vista {

class ManageFiles;

class frmMoveFiles {
 public:
  // The window's size and the controls' places, in twips (15 to a pixel at 96 dots per inch).
  static constexpr int kClientWidth = 8040, kClientHeight = 4365;
  struct Place {
    int id, left, top, width, height;
  };
  static const Place kPlaces[];
  static constexpr COLORREF kBackColor = RGB(255, 255, 250);
  static constexpr COLORREF kPlsWaitColor = RGB(47, 87, 30);

  // Loads the window, shows it and holds the mover (and a lock on the module) while it is open.
  explicit frmMoveFiles(ManageFiles* mover);
  // Unloads the window.
  ~frmMoveFiles();
  frmMoveFiles(const frmMoveFiles&) = delete;
  frmMoveFiles& operator=(const frmMoveFiles&) = delete;

  HWND hwnd() const { return dlg_; }
  HWND cmdExit() const;
  // Shows the log in txtMsg and repaints the window at once.
  void SetLog(const std::wstring& text);
  // The handler of the mover's progressUpdate: a Failed or completed report ends the wait.
  void mngFiles_progressUpdate(long status, const std::wstring& msg);
  // Ends the wait: the timer stops, the label hides and the exit button reads "Exit".
  void ShowFinished();

  static std::wstring TextOf(HWND w);

  // The mover whose events the window receives.
  com::Ptr<ManageFiles> mngFiles;

 private:
  static INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp);
  void Form_Load();
  void Timer1_Timer();
  void cmdSaveLog_Click();
  HFONT Font(int hundredthsOfPoint, bool bold);

  HWND dlg_ = nullptr;
  HBRUSH backBrush_ = nullptr;
  HBITMAP picture_ = nullptr;
  HFONT fonts_[3] = {};
  bool plsWaitOpaque_ = true;
};

}  // namespace vista
