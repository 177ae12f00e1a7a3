#include "relocation/frm_move_files.h"

#include "com/object.h"
#include "relocation/frm_move_files_ids.h"
#include "relocation/manage_files.h"
#include "vb/error.h"
#include "vb/module.h"
#include "vb/present.h"

namespace vista {

const frmMoveFiles::Place frmMoveFiles::kPlaces[] = {
    {IDC_MF_Image1, 240, 240, 1530, 435},      {IDC_MF_Label1, 240, 840, 7455, 375},
    {IDC_MF_txtMsg, 240, 1200, 6255, 2175},    {IDC_MF_cmdExit, 6600, 1320, 975, 495},
    {IDC_MF_cmdSaveLog, 4920, 3480, 1575, 375}, {IDC_MF_lblPlsWait, 0, 3960, 8055, 375},
};

namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kTimer1Interval = 500;

int Pixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

}  // namespace

frmMoveFiles::frmMoveFiles(ManageFiles* mover) : mngFiles(mover) {
  backBrush_ = CreateSolidBrush(kBackColor);
  SetLastError(ERROR_SUCCESS);
  dlg_ = CreateDialogParamW(vb::ThisModule(), MAKEINTRESOURCEW(IDD_frmMoveFiles), nullptr, DialogProc,
                            reinterpret_cast<LPARAM>(this));
  if (!dlg_) {
    const DWORD error = GetLastError();
    DeleteObject(backBrush_);
    std::wstring reason = error ? vb::Win32ErrorText(error) : L"";
    throw vb::RuntimeError(error ? HRESULT_FROM_WIN32(error) : E_FAIL,
                           L"The progress window could not be shown: " + (reason.empty() ? L"Windows gave no reason." : reason));
  }
  com::ModuleAddRef();
  ShowWindow(dlg_, SW_SHOW);
}

frmMoveFiles::~frmMoveFiles() {
  KillTimer(dlg_, kTimer1);
  SetWindowLongPtrW(dlg_, DWLP_USER, 0);
  DestroyWindow(dlg_);
  for (HFONT f : fonts_)
    if (f) DeleteObject(f);
  if (picture_) DeleteObject(picture_);
  DeleteObject(backBrush_);
  com::ModuleRelease();
  // Last: the mover may go with it.
  com::Ptr<ManageFiles> mover = std::move(mngFiles);
}

HWND frmMoveFiles::cmdExit() const { return GetDlgItem(dlg_, IDC_MF_cmdExit); }

std::wstring frmMoveFiles::TextOf(HWND w) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
  return text;
}

HFONT frmMoveFiles::Font(int hundredthsOfPoint, bool bold) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(hundredthsOfPoint, vb::ScreenDpi(dlg_, LOGPIXELSY), 7200);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpyW(lf.lfFaceName, L"Arial");
  return CreateFontIndirectW(&lf);
}

void frmMoveFiles::Form_Load() {
  // The window's client area and the controls, from twips.
  const int dx = vb::ScreenDpi(dlg_, LOGPIXELSX), dy = vb::ScreenDpi(dlg_, LOGPIXELSY);
  RECT frame{0, 0, Pixels(kClientWidth, dx), Pixels(kClientHeight, dy)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dlg_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(dlg_, GWL_EXSTYLE)));
  SetWindowPos(dlg_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const Place& p : kPlaces)
    MoveWindow(GetDlgItem(dlg_, p.id), Pixels(p.left, dx), Pixels(p.top, dy), Pixels(p.width, dx),
               Pixels(p.height, dy), FALSE);
  picture_ = static_cast<HBITMAP>(LoadImageW(vb::ThisModule(), MAKEINTRESOURCEW(IDB_Image1), IMAGE_BITMAP, 0, 0, 0));
  SendDlgItemMessageW(dlg_, IDC_MF_Image1, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_));
  const struct {
    int id, size;
    bool bold;
  } fonts[] = {{IDC_MF_Label1, 1200, false}, {IDC_MF_txtMsg, 975, false}, {IDC_MF_lblPlsWait, 1575, true}};
  for (size_t i = 0; i < 3; ++i) {
    fonts_[i] = Font(fonts[i].size, fonts[i].bold);
    SendDlgItemMessageW(dlg_, fonts[i].id, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[i]), FALSE);
  }
  SendDlgItemMessageW(dlg_, IDC_MF_txtMsg, EM_SETLIMITTEXT, 0, 0);
  SetDlgItemTextW(dlg_, IDC_MF_txtMsg, L"");
  SetTimer(dlg_, kTimer1, kTimer1Interval, nullptr);
}

void frmMoveFiles::Timer1_Timer() {
  plsWaitOpaque_ = !plsWaitOpaque_;
  InvalidateRect(GetDlgItem(dlg_, IDC_MF_lblPlsWait), nullptr, TRUE);
}

void frmMoveFiles::SetLog(const std::wstring& text) {
  SetDlgItemTextW(dlg_, IDC_MF_txtMsg, text.c_str());
  RedrawWindow(dlg_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void frmMoveFiles::mngFiles_progressUpdate(long status, const std::wstring&) {
  if (status == Failed || status == completed) ShowFinished();
}

void frmMoveFiles::ShowFinished() {
  KillTimer(dlg_, kTimer1);
  ShowWindow(GetDlgItem(dlg_, IDC_MF_lblPlsWait), SW_HIDE);
  SetDlgItemTextW(dlg_, IDC_MF_cmdExit, L"Exit");
}

void frmMoveFiles::cmdSaveLog_Click() {
  const std::wstring library = vb::ThisModulePath();
  const std::wstring folder = library.substr(0, library.find_last_of(L'\\'));
  com::Ptr<ManageFiles> mover = mngFiles;
  if (mover->saveMoveLog(folder + L"\\moveLog.txt"))
    vb::MsgBox(L"Move Log saved to: " + folder + L"\\movelog.txt", vb::vbInformation);
  else
    vb::MsgBox(L"Move Log was not saved", vb::vbInformation);
}

INT_PTR CALLBACK frmMoveFiles::DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dlg, DWLP_USER, lp);
    auto* form = reinterpret_cast<frmMoveFiles*>(lp);
    form->dlg_ = dlg;
    form->Form_Load();
    return TRUE;  // the focus goes to the first control that takes it: the exit button
  }
  auto* form = reinterpret_cast<frmMoveFiles*>(GetWindowLongPtrW(dlg, DWLP_USER));
  return form ? form->Handle(msg, wp, lp) : FALSE;
}

INT_PTR frmMoveFiles::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kTimer1) Timer1_Timer();
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) break;
      switch (LOWORD(wp)) {
        case IDC_MF_cmdExit: {
          com::Ptr<ManageFiles> mover = mngFiles;  // the click may unload this window
          mover->mCmdExit_Click();
          return TRUE;
        }
        case IDC_MF_cmdSaveLog:
          cmdSaveLog_Click();
          return TRUE;
        case IDCANCEL:  // Escape, or a close request: "Exit" once the button reads so
          if (TextOf(cmdExit()) == L"Exit") {
            com::Ptr<ManageFiles> mover = mngFiles;
            mover->mCmdExit_Click();
          }
          return TRUE;
      }
      break;
    case WM_CLOSE:
      SendMessageW(dlg_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return TRUE;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(backBrush_);
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lp));
      if (id == IDC_MF_lblPlsWait) {
        SetTextColor(dc, kPlsWaitColor);
        if (plsWaitOpaque_) {
          SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
          return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
      }
      if (id == IDC_MF_lblPlsWait || id == IDC_MF_Label1 || id == IDC_MF_Image1) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(backBrush_);
      }
      break;
    }
  }
  return FALSE;
}

}  // namespace vista
