// Driving the launcher's windows from a helper thread while Main (or quaven.exe) runs: finding the
// confirmation window and the mover's progress window of a process, and clicking them.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "relocation/frm_move_files_ids.h"
#include "test_thread.h"
#include "window_answerer.h"

namespace launchtest {

using testutil::TextOf;

inline const wchar_t kStartCaption[] = L"Update Protected Files";

inline bool OfProcess(HWND w, DWORD pid) {
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  return owner == pid;
}

// The confirmation window of the process, when it is shown.
inline bool IsStartWindow(HWND w, DWORD pid) {
  return OfProcess(w, pid) && IsWindowVisible(w) && TextOf(w) == kStartCaption;
}

// The mover's progress window of the process (a dialog without a title, with the exit button),
// once its exit button reads `caption`.
inline bool IsProgressWindow(HWND w, DWORD pid, const wchar_t* caption) {
  return OfProcess(w, pid) && IsWindowVisible(w) && testutil::ClassOf(w) == L"#32770" && TextOf(w).empty() &&
         GetDlgItem(w, IDC_MF_cmdExit) && TextOf(GetDlgItem(w, IDC_MF_cmdExit)) == caption;
}

// A click through the window's own message loop (posted: the click may start a whole move).
inline void Click(HWND dlg, int id) { PostMessageW(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }

// Runs `script` on a helper thread. WaitFor gives up after ten seconds, or when the driver is
// stopped; a script that gave up closes every window of the process, so Main returns and the
// test fails instead of waiting.
class Driver {
 public:
  explicit Driver(std::function<void(Driver&)> script, DWORD pid = GetCurrentProcessId())
      : pid(pid), script_(std::move(script)), thread_([this] { Run(); }) {}
  ~Driver() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

  const DWORD pid;
  // What the script found wrong; read after Stop.
  std::vector<std::string> problems;
  void Expect(bool ok, const std::string& what) {
    if (!ok) problems.push_back(what);
  }

  // The first top-level window for which `pick` holds; nullptr when none came.
  HWND WaitFor(const std::function<bool(HWND)>& pick, const std::string& what) {
    for (int i = 0; i < 200 && !stop_; ++i, Sleep(50)) {
      Search s{&pick, nullptr};
      EnumWindows(Pick, reinterpret_cast<LPARAM>(&s));
      if (s.found) return s.found;
    }
    if (!stop_) {
      problems.push_back("no window: " + what);
      gaveUp_ = true;
    }
    return nullptr;
  }
  HWND WaitForStart() {
    return WaitFor([this](HWND w) { return IsStartWindow(w, pid); }, "the confirmation window");
  }
  HWND WaitForProgress(const wchar_t* caption = L"Exit") {
    return WaitFor([this, caption](HWND w) { return IsProgressWindow(w, pid, caption); }, "the progress window");
  }

 private:
  struct Search {
    const std::function<bool(HWND)>* pick;
    HWND found;
  };
  static BOOL CALLBACK Pick(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    if ((*s->pick)(w)) s->found = w;
    return !s->found;
  }
  static BOOL CALLBACK CloseAll(HWND w, LPARAM pid) {
    if (OfProcess(w, static_cast<DWORD>(pid))) {
      if (HWND exit = GetDlgItem(w, IDC_MF_cmdExit)) SendMessageW(exit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Exit"));
      PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
      PostMessageW(w, WM_CLOSE, 0, 0);
    }
    return TRUE;
  }
  void Run() {
    script_(*this);
    if (gaveUp_)
      for (int i = 0; i < 20; ++i, Sleep(100)) EnumWindows(CloseAll, pid);
  }

  std::function<void(Driver&)> script_;
  std::atomic<bool> stop_{false};
  bool gaveUp_ = false;
  testutil::Thread thread_;
};

}  // namespace launchtest
