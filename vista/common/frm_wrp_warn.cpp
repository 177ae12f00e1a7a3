#include "common/frm_wrp_warn.h"

#include <shellapi.h>

#include "common/frm_wrp_warn_ids.h"
#include "vb/error.h"
#include "vb/module.h"

namespace vista {

namespace {

void ShellOpen(HWND owner, const char* address) {
  ShellExecuteA(owner, "Open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

// The dialog's font, changed by `change`; nullptr when there is none to start from.
template <class F>
HFONT DerivedFont(HWND dlg, F&& change) {
  HFONT base = reinterpret_cast<HFONT>(SendMessageW(dlg, WM_GETFONT, 0, 0));
  LOGFONTW lf;
  if (!base || !GetObjectW(base, sizeof lf, &lf)) return nullptr;
  change(lf);
  return CreateFontIndirectW(&lf);
}

// The window could not be made (its template missing, its owner no window, Windows out of
// resources ...). The error number is the Windows error as an HRESULT, so that a host can tell
// these apart, and a real shortage still reads as E_OUTOFMEMORY; the description names the window.
[[noreturn]] void RaiseNotShown(DWORD error) {
  std::wstring reason = error ? vb::Win32ErrorText(error) : L"";
  if (reason.empty()) reason = L"Windows gave no reason.";
  throw vb::RuntimeError(error ? HRESULT_FROM_WIN32(error) : E_FAIL,
                         std::wstring(L"The window \"") + frmWRPWarn::kCaption + L"\" could not be shown: " + reason);
}

}  // namespace

frmWRPWarn::LinkOpener frmWRPWarn::openLink = &ShellOpen;

void frmWRPWarn::ShowModal(HWND owner) {
  SetLastError(ERROR_SUCCESS);
  INT_PTR r = DialogBoxParamW(vb::ThisModule(), MAKEINTRESOURCEW(IDD_frmWRPWarn), owner, DialogProc,
                              reinterpret_cast<LPARAM>(this));
  const DWORD error = GetLastError();
  // The controls use the fonts until they are destroyed with the window.
  if (headingFont_) DeleteObject(headingFont_);
  if (linkFont_) DeleteObject(linkFont_);
  headingFont_ = linkFont_ = nullptr;
  if (r == -1 || r == 0) RaiseNotShown(error);
}

void frmWRPWarn::Form_Load(HWND dlg) {
  headingFont_ = DerivedFont(dlg, [](LOGFONTW& lf) {
    lf.lfWeight = FW_BOLD;
    lf.lfHeight = lf.lfHeight * 5 / 4;
  });
  linkFont_ = DerivedFont(dlg, [](LOGFONTW& lf) { lf.lfUnderline = TRUE; });
  if (headingFont_) SendDlgItemMessageW(dlg, IDC_Label2, WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_), FALSE);
  if (linkFont_) SendDlgItemMessageW(dlg, IDC_Label4, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_), FALSE);
  // The link is as wide as its text: only the text is underlined and answers clicks.
  HWND link = GetDlgItem(dlg, IDC_Label4);
  HDC dc = GetDC(link);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)));
  wchar_t text[64];
  SIZE size{};
  if (GetTextExtentPoint32W(dc, text, GetWindowTextW(link, text, 64), &size))
    SetWindowPos(link, nullptr, 0, 0, size.cx + 1, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SelectObject(dc, old);
  ReleaseDC(link, dc);
  SendMessageW(dlg, DM_SETDEFID, IDC_OKButton1, 0);
  SetFocus(GetDlgItem(dlg, IDC_OKButton1));
}

void frmWRPWarn::Form_Unload(HWND dlg) {
  turnOffChecked = IsDlgButtonChecked(dlg, IDC_chkTurnOff) == BST_CHECKED;
}

void frmWRPWarn::OKButton_Click(HWND dlg, int index) {
  continueChosen = index == 0;
  EndDialog(dlg, index + 1);
}

void frmWRPWarn::Label4_Click(HWND dlg) { openLink(dlg, kExplanationAddress); }

INT_PTR CALLBACK frmWRPWarn::DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  auto* form = reinterpret_cast<frmWRPWarn*>(GetWindowLongPtrW(dlg, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dlg, DWLP_USER, lp);
      reinterpret_cast<frmWRPWarn*>(lp)->Form_Load(dlg);
      return FALSE;  // the focus is set
    case WM_COMMAND:
      if (!form) break;
      switch (LOWORD(wp)) {
        case IDC_OKButton0:
          form->OKButton_Click(dlg, 0);
          return TRUE;
        case IDC_OKButton1:
        case IDOK:
        case IDCANCEL:  // Enter and Escape: "OK" is the default and the cancel button
          form->OKButton_Click(dlg, 1);
          return TRUE;
        case IDC_Label4:
          if (HIWORD(wp) == STN_CLICKED) form->Label4_Click(dlg);
          return TRUE;
      }
      break;
    case WM_CLOSE:  // the close box: no button
      EndDialog(dlg, 3);
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == GetDlgItem(dlg, IDC_Label4)) {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == GetDlgItem(dlg, IDC_Label4)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        SetWindowLongPtrW(dlg, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      break;
    case WM_DESTROY:
      if (form) form->Form_Unload(dlg);
      break;
  }
  return FALSE;
}

}  // namespace vista
