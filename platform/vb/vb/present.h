// Message boxes and input boxes. Every one goes through the current presenter: real windows
// by default; a test installs its own presenter that records what was shown and answers.
#pragma once
// <windows.h> maps the name MessageBox to MessageBoxW; taking it in here gives the member below
// the same name in every file, whether or not that file includes <windows.h> itself.
#include <windows.h>

#include <string>

namespace vb {

// MsgBox button, icon and default-button flags, and its results (the run time's values).
enum : long {
  vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
  vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
  vbDefaultButton1 = 0, vbDefaultButton2 = 256, vbDefaultButton3 = 512,
  vbApplicationModal = 0, vbSystemModal = 4096,
};
enum : long { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

class Presenter {
 public:
  virtual ~Presenter() = default;
  // Shows a modal message box; returns the button chosen (vbOK ...). title is never empty here.
  virtual long MessageBox(const std::wstring& prompt, long buttons, const std::wstring& title) = 0;
  // Shows a modal input box; returns the text entered, or the empty text on Cancel.
  virtual std::wstring InputBox(const std::wstring& prompt, const std::wstring& title,
                                const std::wstring& defaultText) = 0;
};

// The application title used when a box has no title of its own (the component's name).
const std::wstring& AppTitle();
void SetAppTitle(const std::wstring& title);

// The presenter in force (the real one unless a test installed another).
Presenter& CurrentPresenter();
// Installs a presenter for this process; nullptr restores the real one. The caller keeps ownership.
void SetPresenter(Presenter* presenter);

// MsgBox(prompt, buttons, title): an empty title means AppTitle().
long MsgBox(const std::wstring& prompt, long buttons = vbOKOnly, const std::wstring& title = L"");
// InputBox(prompt, title, default): an empty title means AppTitle().
std::wstring InputBox(const std::wstring& prompt, const std::wstring& title = L"",
                      const std::wstring& defaultText = L"");

// The dots per inch of the screen that window w stands on, along LOGPIXELSX or LOGPIXELSY (96 when
// it cannot be read): every window of ours places, sizes and makes its fonts by it. A test may set
// the value it answers instead for this process (SetDpiOverride; 0 restores the screen's).
int ScreenDpi(HWND w, int axis);
void SetDpiOverride(int dpi);
// A length in pixels at 96 dots per inch, at `dpi`.
inline int ScaledPixels(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

}  // namespace vb
