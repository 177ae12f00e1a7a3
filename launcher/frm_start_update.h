// The confirmation window of the relocation: tells the user that the host product's files will
// be moved to its public data folder and asks whether to go on. On "Continue" it hides and runs
// the move through the mover; it closes on "Cancel", or when the mover reports that its progress
// window was left. It receives the mover's events as a sink of __ManageFiles.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "com/ptr.h"
#include "gorsewick.h"
#include "vb/error.h"

namespace launcher {

class frmStartUpdate {
 public:
  static constexpr const wchar_t* kCaption = L"Update Protected Files";
  // Client area and control places in pixels at 96 dots per inch.
  static constexpr int kClientWidth = 407, kClientHeight = 207;
  static constexpr int kPictureWidth = 411, kPictureHeight = 211;
  struct Place {
    int id, left, top, width, height;
  };
  static const Place kPlaces[];

  // A new mover from gorsewick, for the host product (TM).
  static com::Ptr<_ManageFiles> NewMover();

  frmStartUpdate();
  ~frmStartUpdate();
  frmStartUpdate(const frmStartUpdate&) = delete;
  frmStartUpdate& operator=(const frmStartUpdate&) = delete;

  // The folder of the host product whose files are moved.
  std::wstring appPath;
  // The mover; setting it connects the window to its events.
  const com::Ptr<_ManageFiles>& mngFiles() const { return mngFiles_; }
  void mngFiles(com::Ptr<_ManageFiles> mover);

  // Loads the window, shows it and runs its message loop until it is closed. An error that
  // stopped a handler closes the window and is raised from here.
  void ShowModal();

 private:
  class Events;
  class Handling;

  static INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp);
  void Form_Load();
  void cmdOK_Click();
  void CancelButton_Click();
  void mngFiles_progressUpdate(long status, const std::wstring& msg);
  void mngFiles_UIExited(long status);

  // Closes the window once no handler of it is running any more.
  void Unload();
  void FinishUnload();
  // Runs a handler; an error it raises is kept for ShowModal and closes the window.
  template <class F>
  void Run(F&& handler);
  // Whether another window of this thread is open (the mover's progress window).
  bool AnotherWindowOpen() const;

  HWND dlg_ = nullptr;
  com::Ptr<_ManageFiles> mngFiles_;
  Events* events_;
  com::Ptr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
  HBITMAP picture_ = nullptr;
  HBRUSH pictureBrush_ = nullptr;
  HICON icon_ = nullptr;
  HFONT fonts_[3] = {};
  int handlersRunning_ = 0;
  bool unloadPending_ = false;
  bool unloaded_ = false;
  bool exited_ = false;         // UIExited has come
  bool failureReported_ = false;  // a Failed report came during the move
  FILETIME moveStarted_{};        // when "Continue" started the move
  std::optional<vb::RuntimeError> error_;
};

}  // namespace launcher
