// Answering real windows from a helper thread, so that tests of modal windows never wait for a
// person.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "test_thread.h"

namespace testutil {

inline std::wstring TextOf(HWND w) {
  std::wstring text(static_cast<size_t>(SendMessageW(w, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<size_t>(
      SendMessageW(w, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

inline std::wstring ClassOf(HWND w) {
  wchar_t buf[64] = {};
  GetClassNameW(w, buf, 64);
  return buf;
}

// The place of a dialog's control in the dialog's client area.
inline RECT RectIn(HWND dlg, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(dlg, id), &r);
  MapWindowPoints(HWND_DESKTOP, dlg, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The font a control draws its text with.
inline LOGFONTW FontOf(HWND w) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf;
}

// A key pressed on the control that has the focus in the window's thread, through that thread's
// own message loop.
inline void PressKey(HWND dlg, WPARAM key) {
  GUITHREADINFO gti{sizeof gti};
  GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &gti);
  HWND target = gti.hwndFocus ? gti.hwndFocus : dlg;
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

// Runs `answer` on a helper thread against this process's top-level window captioned `caption`
// once it is visible. The search ends when the window is found, when the object is destroyed,
// or after ten seconds; then every window of the creating thread is closed, so that a test
// fails instead of waiting.
class WindowAnswerer {
 public:
  WindowAnswerer(std::wstring caption, std::function<void(HWND)> answer)
      : caption_(std::move(caption)), answer_(std::move(answer)), owner_(GetCurrentThreadId()),
        thread_([this] { Run(); }) {}
  ~WindowAnswerer() {
    stop_ = true;
    thread_.join();
  }
  bool found() const { return found_; }

 private:
  void Run() {
    for (int i = 0; i < 200 && !stop_; ++i, Sleep(50)) {
      HWND w = FindWindowW(nullptr, caption_.c_str());
      DWORD pid = 0;
      if (w && GetWindowThreadProcessId(w, &pid) && pid == GetCurrentProcessId() && IsWindowVisible(w)) {
        found_ = true;
        answer_(w);
        return;
      }
    }
    if (!stop_) EnumThreadWindows(owner_, CloseWindow, 0);
  }
  static BOOL CALLBACK CloseWindow(HWND w, LPARAM) {
    PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
    PostMessageW(w, WM_CLOSE, 0, 0);
    return TRUE;
  }
  std::wstring caption_;
  std::function<void(HWND)> answer_;
  DWORD owner_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> found_{false};
  testutil::Thread thread_;
};

}  // namespace testutil
