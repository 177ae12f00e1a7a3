#include "vb/present.h"

#include <windows.h>

#include <atomic>
#include <vector>

#include "vb/lock.h"
#include "vb/module.h"

namespace vb {

namespace {

// Function-local, so that a static initialiser elsewhere may already ask for the title.
struct TitleState {
  Lock lock;
  std::wstring title;
  bool known = false;
};
TitleState& Title() {
  static TitleState state;
  return state;
}

// ---- The input box dialog, built in memory ----

constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;

class DialogTemplate {
 public:
  void Header(DWORD style, WORD items, short cx, short cy, const wchar_t* font, WORD points) {
    Dword(style);
    Dword(0);  // extended style
    Word(items);
    Word(0), Word(0), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Word(0);   // no menu
    Word(0);   // the standard dialog class
    Text(L"");  // the caption is set once the dialog is ready
    Word(points);
    Text(font);
  }
  // atom: 0x80 button, 0x81 edit, 0x82 static.
  void Item(WORD atom, DWORD style, short x, short y, short cx, short cy, WORD id, const wchar_t* text) {
    while (words_.size() % 2) words_.push_back(0);  // each item starts on a DWORD boundary
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(static_cast<WORD>(x)), Word(static_cast<WORD>(y)), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Word(id);
    Word(0xFFFF), Word(atom);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
  void Text(const wchar_t* s) {
    for (; *s; ++s) Word(static_cast<WORD>(*s));
    Word(0);
  }
  std::vector<WORD> words_;
};

struct InputState {
  const std::wstring* prompt;
  const std::wstring* title;
  const std::wstring* defaultText;
  std::wstring result;
};

INT_PTR CALLBACK InputDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<InputState*>(lp);
      SetWindowLongPtrW(dlg, DWLP_USER, lp);
      SetDlgItemTextW(dlg, kPromptId, state->prompt->c_str());
      HWND edit = GetDlgItem(dlg, kEditId);
      SetWindowTextW(edit, state->defaultText->c_str());
      SendMessageW(edit, EM_SETSEL, 0, -1);
      SetFocus(edit);
      // Last, so that a window found by its caption is complete.
      SetWindowTextW(dlg, state->title->c_str());
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK: {
          auto* state = reinterpret_cast<InputState*>(GetWindowLongPtrW(dlg, DWLP_USER));
          HWND edit = GetDlgItem(dlg, kEditId);
          std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
          int n = GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
          text.resize(n > 0 ? static_cast<size_t>(n) : 0);
          state->result = std::move(text);
          EndDialog(dlg, IDOK);
          return TRUE;
        }
        case IDCANCEL:
          EndDialog(dlg, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

// The presenter that shows real windows, owned by the active window of the thread if any.
class WindowPresenter : public Presenter {
 public:
  long MessageBox(const std::wstring& prompt, long buttons, const std::wstring& title) override {
    return ::MessageBoxW(GetActiveWindow(), prompt.c_str(), title.c_str(), static_cast<UINT>(buttons));
  }

  std::wstring InputBox(const std::wstring& prompt, const std::wstring& title,
                        const std::wstring& defaultText) override {
    // Prompt at the top left, OK and Cancel on the right, the entry field along the bottom.
    DialogTemplate t;
    t.Header(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER, 4, 250, 96,
             L"MS Shell Dlg", 8);
    t.Item(0x82, SS_LEFT | SS_NOPREFIX, 7, 7, 176, 64, kPromptId, L"");
    t.Item(0x81, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 76, 236, 13, kEditId, L"");
    t.Item(0x80, BS_DEFPUSHBUTTON | WS_TABSTOP, 190, 7, 53, 14, IDOK, L"OK");
    t.Item(0x80, BS_PUSHBUTTON | WS_TABSTOP, 190, 25, 53, 14, IDCANCEL, L"Cancel");
    InputState state{&prompt, &title, &defaultText, L""};
    INT_PTR r = DialogBoxIndirectParamW(ThisModule(), t.get(), GetActiveWindow(), InputDialogProc,
                                        reinterpret_cast<LPARAM>(&state));
    return r == IDOK ? state.result : std::wstring();
  }
};

Presenter& WindowPresenterInstance() {
  static WindowPresenter presenter;
  return presenter;
}

std::atomic<Presenter*> installed{nullptr};

}  // namespace

const std::wstring& AppTitle() {
  TitleState& t = Title();
  Locked held(t.lock);
  if (!t.known) {
    t.title = ThisModuleBaseName();
    t.known = true;
  }
  return t.title;
}

void SetAppTitle(const std::wstring& title) {
  TitleState& t = Title();
  Locked held(t.lock);
  t.title = title;
  t.known = true;
}

Presenter& CurrentPresenter() {
  Presenter* p = installed.load();
  return p ? *p : WindowPresenterInstance();
}

void SetPresenter(Presenter* presenter) { installed.store(presenter); }

long MsgBox(const std::wstring& prompt, long buttons, const std::wstring& title) {
  return CurrentPresenter().MessageBox(prompt, buttons, title.empty() ? AppTitle() : title);
}

std::wstring InputBox(const std::wstring& prompt, const std::wstring& title, const std::wstring& defaultText) {
  return CurrentPresenter().InputBox(prompt, title.empty() ? AppTitle() : title, defaultText);
}

namespace {
std::atomic<int> dpiOverride{0};
}  // namespace

int ScreenDpi(HWND w, int axis) {
  if (const int dpi = dpiOverride.load()) return dpi;
  HDC dc = GetDC(w);
  const int dpi = dc ? GetDeviceCaps(dc, axis) : 0;
  if (dc) ReleaseDC(w, dc);
  return dpi > 0 ? dpi : 96;
}

void SetDpiOverride(int dpi) { dpiOverride.store(dpi > 0 ? dpi : 0); }

}  // namespace vb
