#include "frm_start_update.h"

#include <iterator>
#include <new>

#include "com/client.h"
#include "frm_start_update_ids.h"
#include "vb/convert.h"
#include "vb/interaction.h"
#include "vb/module.h"
#include "vb/present.h"

namespace launcher {

const frmStartUpdate::Place frmStartUpdate::kPlaces[] = {
    {IDC_SU_Picture2, 0, 0, 413, 213},    {IDC_SU_Label3, 200, 5, 176, 41},
    {IDC_SU_Label1, 41, 40, 321, 89},     {IDC_SU_Label2, 40, 144, 321, 17},
    {IDC_SU_cmdOK, 224, 176, 81, 25},     {IDC_SU_CancelButton, 312, 176, 81, 25},
};

namespace {

const wchar_t kVistaText[] =
    L"Tallowmere has detected that you are now running on Microsoft Vista.  For security reasons Tallowmere must "
    L"move certain files to ";
const wchar_t kEarlierText[] =
    L"Tallowmere now conforms to Microsoft recommended File Location guidelines.  Tallowmere must move certain "
    L"files to ";
const wchar_t kQuestion[] = L"Would you like to continue with the move?";
const wchar_t kContactText[] =
    L"Because the Move of Files has failed you must contact Marlowby Technical Support at 555-013-4477 for "
    L"assistance.  Tallowmere will now exit.";
const wchar_t kContactTitle[] = L"Contact Technical Support";
const wchar_t kFailedTitle[] = L"Move of Files Failed";

// The label fonts: face, size in hundredths of a point, bold.
const struct {
  int id;
  const wchar_t* face;
  int size;
  bool bold;
} kFonts[] = {
    {IDC_SU_Label3, L"MS Sans Serif", 1800, true},
    {IDC_SU_Label1, L"Arial", 975, false},
    {IDC_SU_Label2, L"Arial", 975, true},
};

std::wstring Text(HRESULT hr, vb::Bstr& b) {
  com::Check(hr);
  return b.str();
}

// The Boolean that a call gave back through `b`, read after the call.
bool IsTrue(HRESULT hr, const VARIANT_BOOL& b) {
  com::Check(hr);
  return b != VARIANT_FALSE;
}

// The log file that the mover wrote at the failure, when there is one written since `since`.
std::wstring MoversLog(const std::wstring& publicData, const FILETIME& since) {
  const std::wstring path = publicData + L"\\VistaMoveLog.txt";
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (publicData.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return L"";
  // Two seconds of slack: the write time's resolution on FAT.
  ULARGE_INTEGER written{}, start{};
  written.LowPart = data.ftLastWriteTime.dwLowDateTime;
  written.HighPart = data.ftLastWriteTime.dwHighDateTime;
  start.LowPart = since.dwLowDateTime;
  start.HighPart = since.dwHighDateTime;
  return written.QuadPart + 20000000ULL >= start.QuadPart ? path : L"";
}

long StatusOf(_ManageFiles& mover) {
  moveStatuses status = notStarted;
  com::Check(mover.moveStatus(&status));
  return status;
}

}  // namespace

com::Ptr<_ManageFiles> frmStartUpdate::NewMover() {
  auto mover = com::CreateByClassId<_ManageFiles>(CLSID_ManageFiles);
  com::Ptr<_MBYAppName> product;
  com::Check(mover->get_appName(product.out()));
  AppNames tm = TM;
  com::Check(product->put_appName(&tm));
  return mover;
}

// The window's sink of the mover's events: it hands them to the window's handlers.
class frmStartUpdate::Events final : public IDispatch {
 public:
  explicit Events(frmStartUpdate& form) : form_(&form) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID___ManageFiles ? this : nullptr;
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (!left) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    if (n) *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*,
                                   UINT*) noexcept override {
    if (!p || p->cArgs < 1 || !form_) return S_OK;
    // Arguments come last first.
    const long status = Long(p->rgvarg[p->cArgs - 1]);
    if (id == 1) {
      const std::wstring msg = p->cArgs > 1 ? Text(p->rgvarg[0]) : L"";
      form_->Run([&] { form_->mngFiles_progressUpdate(status, msg); });
    } else if (id == 2) {
      form_->Run([&] { form_->mngFiles_UIExited(status); });
    }
    return S_OK;
  }
  // The window is gone: later events find nobody.
  void Detach() { form_ = nullptr; }

 private:
  static long Long(const VARIANT& v) {
    if (v.vt == (VT_BYREF | VT_I4)) return *v.plVal;
    return v.vt == VT_I4 ? v.lVal : -1;
  }
  static std::wstring Text(const VARIANT& v) {
    if (v.vt == (VT_BYREF | VT_BSTR)) return vb::FromBstr(*v.pbstrVal);
    return v.vt == VT_BSTR ? vb::FromBstr(v.bstrVal) : L"";
  }
  frmStartUpdate* form_;
  ULONG refs_ = 1;
};

// Marks a handler of the window as running; the last one to end carries out a close asked for
// meanwhile.
class frmStartUpdate::Handling {
 public:
  explicit Handling(frmStartUpdate& form) : form_(form) { ++form_.handlersRunning_; }
  ~Handling() {
    if (--form_.handlersRunning_ == 0 && form_.unloadPending_) form_.FinishUnload();
  }
  Handling(const Handling&) = delete;
  Handling& operator=(const Handling&) = delete;

 private:
  frmStartUpdate& form_;
};

template <class F>
void frmStartUpdate::Run(F&& handler) {
  Handling running(*this);
  try {
    handler();
  } catch (const vb::RuntimeError& e) {
    if (!error_) error_ = e;
    Unload();
  } catch (const std::bad_alloc&) {
    if (!error_) error_ = vb::RuntimeError(vb::errOutOfMemory);
    Unload();
  }
}

frmStartUpdate::frmStartUpdate() : events_(new Events(*this)) {}

frmStartUpdate::~frmStartUpdate() {
  if (!unloaded_) FinishUnload();
  events_->Detach();
  events_->Release();
}

void frmStartUpdate::mngFiles(com::Ptr<_ManageFiles> mover) {
  if (point_) point_->Unadvise(cookie_);
  point_.reset();
  mngFiles_ = std::move(mover);
  if (!mngFiles_) return;
  com::Ptr<IConnectionPointContainer> container;
  com::Check(mngFiles_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container.out())));
  com::Ptr<IConnectionPoint> point;
  com::Check(container->FindConnectionPoint(DIID___ManageFiles, point.out()));
  com::Check(point->Advise(events_, &cookie_));
  point_ = std::move(point);
}

void frmStartUpdate::ShowModal() {
  unloaded_ = unloadPending_ = exited_ = failureReported_ = false;
  error_.reset();
  {
    Handling loading(*this);  // a close asked for while loading waits until the window exists
    dlg_ = CreateDialogParamW(vb::ThisModule(), MAKEINTRESOURCEW(IDD_frmStartUpdate), nullptr, DialogProc,
                              reinterpret_cast<LPARAM>(this));
    if (!dlg_ && !error_) {
      const DWORD code = GetLastError();
      error_ = vb::RuntimeError(code ? HRESULT_FROM_WIN32(code) : E_FAIL,
                                L"The confirmation window could not be shown: " + vb::Win32ErrorText(code));
      unloadPending_ = true;
    }
  }
  if (!unloaded_) ShowWindow(dlg_, SW_SHOW);
  MSG msg;
  while (!unloaded_) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (!got) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that owns the thread
      break;
    }
    vb::HandleMessage(msg);
  }
  if (!unloaded_) {
    Handling closing(*this);
    Unload();
  }
  if (error_) throw *error_;
}

INT_PTR CALLBACK frmStartUpdate::DialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(dlg, DWLP_USER, lp);
    auto* form = reinterpret_cast<frmStartUpdate*>(lp);
    form->dlg_ = dlg;
    form->Run([&] { form->Form_Load(); });
    return TRUE;  // the focus goes to "Continue"
  }
  auto* form = reinterpret_cast<frmStartUpdate*>(GetWindowLongPtrW(dlg, DWLP_USER));
  return form ? form->Handle(msg, wp, lp) : FALSE;
}

INT_PTR frmStartUpdate::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) break;
      if (LOWORD(wp) == IDC_SU_cmdOK) {
        Run([&] { cmdOK_Click(); });
        return TRUE;
      }
      if (LOWORD(wp) == IDC_SU_CancelButton) {  // "Cancel", Esc, or the close box
        Run([&] { CancelButton_Click(); });
        return TRUE;
      }
      break;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(pictureBrush_);
    case WM_CTLCOLORSTATIC: {
      // The labels are transparent: their background is the part of the picture they stand on.
      HDC dc = reinterpret_cast<HDC>(wp);
      RECT r{};
      GetWindowRect(reinterpret_cast<HWND>(lp), &r);
      MapWindowPoints(HWND_DESKTOP, dlg_, reinterpret_cast<POINT*>(&r), 2);
      SetBkMode(dc, TRANSPARENT);
      SetBrushOrgEx(dc, -r.left, -r.top, nullptr);
      return reinterpret_cast<INT_PTR>(pictureBrush_);
    }
  }
  return FALSE;
}

void frmStartUpdate::Form_Load() {
  // Size and places in pixels at 96 dots per inch, scaled to the screen's like the fonts; the
  // picture, the fonts and the icon.
  const int dx = vb::ScreenDpi(dlg_, LOGPIXELSX), dy = vb::ScreenDpi(dlg_, LOGPIXELSY);
  RECT frame{0, 0, vb::ScaledPixels(kClientWidth, dx), vb::ScaledPixels(kClientHeight, dy)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dlg_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(dlg_, GWL_EXSTYLE)));
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetWindowPos(dlg_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
               width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  for (const Place& p : kPlaces)
    MoveWindow(GetDlgItem(dlg_, p.id), vb::ScaledPixels(p.left, dx), vb::ScaledPixels(p.top, dy),
               vb::ScaledPixels(p.width, dx), vb::ScaledPixels(p.height, dy), FALSE);
  // The picture at the screen's scale too, so that the labels' background matches it.
  picture_ = static_cast<HBITMAP>(LoadImageW(vb::ThisModule(), MAKEINTRESOURCEW(IDB_Picture2), IMAGE_BITMAP,
                                             dx == 96 ? 0 : vb::ScaledPixels(kPictureWidth, dx),
                                             dy == 96 ? 0 : vb::ScaledPixels(kPictureHeight, dy), LR_CREATEDIBSECTION));
  pictureBrush_ = picture_ ? CreatePatternBrush(picture_) : CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  SendDlgItemMessageW(dlg_, IDC_SU_Picture2, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_));
  for (size_t i = 0; i < std::size(kFonts); ++i) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(kFonts[i].size, dy, 7200);
    lf.lfWeight = kFonts[i].bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, kFonts[i].face, LF_FACESIZE);
    fonts_[i] = CreateFontIndirectW(&lf);
    SendDlgItemMessageW(dlg_, kFonts[i].id, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[i]), FALSE);
  }
  icon_ = static_cast<HICON>(LoadImageW(vb::ThisModule(), MAKEINTRESOURCEW(IDI_quaven), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  SendMessageW(dlg_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageW(dlg_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

  if (!mngFiles_) mngFiles(NewMover());
  auto info = com::CreateByClassId<_VistaInfo>(CLSID_VistaInfo);
  VARIANT_BOOL vista = VARIANT_FALSE;
  const bool onVista = IsTrue(info->IsOSVersionVista(&vista), vista);
  info.reset();
  com::Ptr<_fileLocations> locations;
  com::Check(mngFiles_->get_fileLocs(locations.out()));
  vb::Bstr folder;
  const std::wstring text = (onVista ? kVistaText : kEarlierText) + Text(locations->publicDataPath(nullptr, &folder.b), folder) + L".";
  SetDlgItemTextW(dlg_, IDC_SU_Label1, text.c_str());
  SetDlgItemTextW(dlg_, IDC_SU_Label2, kQuestion);
}

void frmStartUpdate::cmdOK_Click() {
  ShowWindow(dlg_, SW_HIDE);
  VARIANT_BOOL testMode = VARIANT_FALSE;
  const bool inTestMode = IsTrue(mngFiles_->get_INTESTMODE(&testMode), testMode);
  const long status = StatusOf(*mngFiles_);
  if (inTestMode || (status != contactMarlowby && status != completed)) {
    failureReported_ = false;
    vb::Bstr source, settingsFolder, settingsFile;
    source.b = vb::ToBstr(appPath);
    settingsFolder.b = vb::ToBstr(L"c:\\windows");
    settingsFile.b = vb::ToBstr(L"tm3.ini");
    VARIANT_BOOL moved = VARIANT_FALSE;
    com::Ptr<_ManageFiles> mover = mngFiles_;  // held while the move runs, whatever its events do
    GetSystemTimeAsFileTime(&moveStarted_);
    com::Check(mover->moveProtectedFiles(&source.b, &settingsFolder.b, &settingsFile.b, &moved));
    // The program ends through the progress window's "Exit"; when no window is left that could
    // give it, it ends now.
    if (!exited_ && !AnotherWindowOpen()) Unload();
    return;
  }
  const long now = StatusOf(*mngFiles_);
  mngFiles(nullptr);
  if (now == contactMarlowby) vb::MsgBox(kContactText, vb::vbExclamation, kContactTitle);
  Unload();
}

void frmStartUpdate::CancelButton_Click() { Unload(); }

void frmStartUpdate::mngFiles_progressUpdate(long status, const std::wstring&) {
  // The progress shows in the mover's own window; a failure is remembered for the end.
  if (status == Failed) failureReported_ = true;
}

void frmStartUpdate::mngFiles_UIExited(long) {
  exited_ = true;
  if (!mngFiles_) {
    Unload();
    return;
  }
  const long status = StatusOf(*mngFiles_);
  if (failureReported_ || status == Failed || status == contactMarlowby) {
    com::Ptr<_fileLocations> locations;
    com::Check(mngFiles_->get_fileLocs(locations.out()));
    VARIANT_BOOL exists = VARIANT_FALSE;
    vb::Bstr folder, publicData;
    const std::wstring publicFolder = Text(locations->publicDataPath(nullptr, &publicData.b), publicData);
    const std::wstring logFolder = IsTrue(locations->publicDataPathExists(nullptr, &exists), exists)
                                       ? publicFolder
                                       : Text(locations->userDocPath(&folder.b), folder);
    // The log goes where the box says it is; when it cannot, the box says so, and names the log
    // the mover wrote at the failure if there is one.
    VARIANT_BOOL saved = VARIANT_FALSE;
    if (!logFolder.empty()) {
      vb::Bstr logPath;
      logPath.b = vb::ToBstr(logFolder + L"\\VistaMoveLog.txt");
      com::Check(mngFiles_->saveMoveLog(&logPath.b, &saved));
    }
    std::wstring text = L"The attempted move of Tallowmere files has failed the log file has been saved in " + logFolder;
    if (saved == VARIANT_FALSE) {
      text = L"The attempted move of Tallowmere files has failed the log file could not be saved in " +
             (logFolder.empty() ? std::wstring(L"the documents folder") : logFolder);
      const std::wstring moversLog = MoversLog(publicFolder, moveStarted_);
      if (!moversLog.empty()) text += L"; the log written at the failure is " + moversLog;
    }
    vb::MsgBox(text + L".  Tallowmere will now exit.",
               vb::vbExclamation, kFailedTitle);
  }
  Unload();
}

void frmStartUpdate::Unload() {
  unloadPending_ = true;
  if (handlersRunning_ == 0) FinishUnload();
}

void frmStartUpdate::FinishUnload() {
  unloadPending_ = false;
  unloaded_ = true;
  mngFiles(nullptr);
  if (dlg_) {
    SetWindowLongPtrW(dlg_, DWLP_USER, 0);
    DestroyWindow(dlg_);
    dlg_ = nullptr;
  }
  for (HFONT& f : fonts_) {
    if (f) DeleteObject(f);
    f = nullptr;
  }
  if (pictureBrush_) DeleteObject(pictureBrush_);
  if (picture_) DeleteObject(picture_);
  if (icon_) DestroyIcon(icon_);
  pictureBrush_ = nullptr;
  picture_ = nullptr;
  icon_ = nullptr;
}

namespace {

struct WindowSearch {
  HWND self;
  bool found;
};

BOOL CALLBACK FindOtherWindow(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<WindowSearch*>(p);
  if (w != s->self && IsWindowVisible(w)) s->found = true;
  return !s->found;
}

}  // namespace

bool frmStartUpdate::AnotherWindowOpen() const {
  WindowSearch search{dlg_, false};
  EnumThreadWindows(GetCurrentThreadId(), FindOtherWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace launcher
