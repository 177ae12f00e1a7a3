// Main run in-process on the real product files of the prefix, with the mover of the registered
// gorsewick.dll: which stored statuses show the confirmation window, the window itself, and every
// way the program ends (Cancel, a completed, failed, cancelled or test-mode move, an error).
#include <shlobj.h>

#include <optional>
#include <utility>

#include <gtest/gtest.h>

#include "frm_start_update_ids.h"
#include "launcher_driver.h"
#include "qv_mod.h"
#include "recording_presenter.h"
#include "relocation_fixture.h"
#include "test_util.h"
#include "vb/convert.h"
#include "vista_test_util.h"

namespace launcher {

using launchtest::Click;
using launchtest::Driver;
using testutil::TextOf;
using vista::testhelp::KnownFolder;
using vista::testhelp::ProductTree;

namespace {

const wchar_t kFailedText[] = L"The attempted move of Tallowmere files has failed the log file has been saved in ";
const wchar_t kFailedEnd[] = L".  Tallowmere will now exit.";

void StoreStatus(const ProductTree& t, const wchar_t* value) {
  SHCreateDirectoryExW(nullptr, t.hidden.c_str(), nullptr);
  ASSERT_TRUE(WritePrivateProfileStringW(L"VistaSettings", L"MoveProtected", value, (t.hidden + L"\\Status.ini").c_str()));
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Holds a file open with no sharing, so that nobody else can copy or remove it.
class Locked {
 public:
  explicit Locked(const std::wstring& path)
      : h_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {
    EXPECT_NE(INVALID_HANDLE_VALUE, h_) << vb::ToAnsi(path);
  }
  ~Locked() { CloseHandle(h_); }

 private:
  HANDLE h_;
};

class Launch : public ::testing::Test {
 protected:
  // Each test starts and ends without a log in the user's documents, a file or a folder of its
  // name (a test that failed half-way may have left either in this prefix).
  void SetUp() override { ClearUserLog(); }
  void TearDown() override { ClearUserLog(); }
  static void ClearUserLog() {
    const std::wstring log = KnownFolder(FOLDERID_Documents) + L"\\VistaMoveLog.txt";
    DeleteFileW(log.c_str());
    RemoveDirectoryW(log.c_str());
  }
  ProductTree t{TM};
  vb::ScopedRecordingPresenter boxes;
  std::wstring program() const { return L"-" + t.program; }
  // Runs Main while `script` drives its windows; the script's problems fail the test.
  int RunMain(const std::wstring& cmd, const std::function<void(Driver&)>& script) {
    Driver driver(script);
    const int code = QvMod::Main(cmd);
    driver.Stop();
    for (const std::string& p : driver.problems) ADD_FAILURE() << p;
    return code;
  }
  // "Continue", then "Exit" in the progress window once the move has ended; the log it showed.
  // With `enter`, "Continue" is chosen by the Enter key.
  std::wstring ContinueAndExit(const std::wstring& cmd, bool enter = false) {
    std::wstring log;
    EXPECT_EQ(0, RunMain(cmd, [&](Driver& d) {
                if (HWND start = d.WaitForStart()) {
                  if (enter)
                    testutil::PressKey(start, VK_RETURN);
                  else
                    Click(start, IDC_SU_cmdOK);
                }
                if (HWND progress = d.WaitForProgress()) {
                  HWND start = FindWindowW(nullptr, launchtest::kStartCaption);
                  d.Expect(start && !IsWindowVisible(start), "the confirmation window is loaded and hidden");
                  log = TextOf(GetDlgItem(progress, IDC_MF_txtMsg));
                  Click(progress, IDC_MF_cmdExit);
                }
              }));
    EXPECT_EQ(nullptr, FindWindowW(nullptr, launchtest::kStartCaption));
    return log;
  }
  // The one box shown: the failed move's, naming `folder`, where the log now is.
  void ExpectFailureBoxAndLog(const std::wstring& folder, const std::wstring& logLine) {
    ASSERT_EQ(1u, boxes.shown().size());
    EXPECT_EQ(kFailedText + folder + kFailedEnd, boxes.shown()[0].prompt);
    EXPECT_EQ(L"Move of Files Failed", boxes.shown()[0].title);
    EXPECT_EQ(vb::vbExclamation, boxes.shown()[0].buttons);
    const std::string log = testutil::ReadBytes(folder + L"\\VistaMoveLog.txt");
    EXPECT_NE(std::string::npos, log.find(vb::ToAnsi(logLine))) << log;
  }
};

}  // namespace

TEST_F(Launch, TheWindowShowsWhileAMoveIsToBeDoneAndAlwaysInTestMode) {
  for (int status = notStarted; status <= contactMarlowby; ++status) {
    for (bool testMode : {false, true}) {
      ProductTree tree(TM);
      if (status != notStarted) StoreStatus(tree, std::to_wstring(status).c_str());
      bool shown = false;
      const int code = RunMain(program() + (testMode ? L" -INTESTMODE" : L""), [&](Driver& d) {
        HWND w = d.WaitFor([&](HWND w) { return launchtest::IsStartWindow(w, d.pid); }, "");
        if (!w) return;
        shown = true;
        // "Cancel", or the close box: the same.
        if (testMode)
          PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
        else
          Click(w, IDC_SU_CancelButton);
      });
      const bool expected = testMode || (status != completed && status != contactMarlowby);
      EXPECT_EQ(expected, shown) << "status " << status << (testMode ? " in test mode" : "");
      EXPECT_EQ(0, code);
      EXPECT_EQ("", tree.ProblemsAtOldPlaces()) << "status " << status;
    }
  }
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Launch, TheWindowsTextsLayoutFontsAndKeys) {
  const std::wstring lead =
      vista::testhelp::kRunsAsVista
          ? L"Tallowmere has detected that you are now running on Microsoft Vista.  For security reasons Tallowmere "
            L"must move certain files to "
          : L"Tallowmere now conforms to Microsoft recommended File Location guidelines.  Tallowmere must move "
            L"certain files to ";
  EXPECT_EQ(0, RunMain(program(), [&](Driver& d) {
              HWND dlg = d.WaitForStart();
              if (!dlg) return;
              auto item = [&](int id) { return GetDlgItem(dlg, id); };
              d.Expect(TextOf(item(IDC_SU_Label3)) == L"Tallowmere", "Label3");
              d.Expect(TextOf(item(IDC_SU_Label1)) == lead + t.publicData + L".", "Label1: " + vb::ToAnsi(TextOf(item(IDC_SU_Label1))));
              d.Expect(TextOf(item(IDC_SU_Label2)) == L"Would you like to continue with the move?", "Label2");
              d.Expect(TextOf(item(IDOK)) == L"Continue" && TextOf(item(IDCANCEL)) == L"Cancel", "button texts");
              d.Expect(LOWORD(SendMessageW(dlg, DM_GETDEFID, 0, 0)) == IDOK, "Continue is the default button");
              d.Expect(SendMessageW(dlg, WM_GETICON, ICON_BIG, 0) != 0, "an icon");
              RECT client;
              GetClientRect(dlg, &client);
              d.Expect(client.right == 407 && client.bottom == 207, "client area 407 x 207");
              const struct {
                int id;
                RECT r;
              } places[] = {
                  {IDC_SU_Picture2, {0, 0, 413, 213}},  {IDC_SU_Label3, {200, 5, 376, 46}},
                  {IDC_SU_Label1, {41, 40, 362, 129}},  {IDC_SU_Label2, {40, 144, 361, 161}},
                  {IDOK, {224, 176, 305, 201}},         {IDCANCEL, {312, 176, 393, 201}},
              };
              for (const auto& p : places) {
                RECT r = testutil::RectIn(dlg, p.id);
                d.Expect(EqualRect(&r, &p.r), "place of control " + std::to_string(p.id));
              }
              const struct {
                int id;
                const wchar_t* face;
                LONG height, weight;
              } fonts[] = {{IDC_SU_Label3, L"MS Sans Serif", -24, FW_BOLD},
                           {IDC_SU_Label1, L"Arial", -13, FW_NORMAL},
                           {IDC_SU_Label2, L"Arial", -13, FW_BOLD}};
              for (const auto& f : fonts) {
                LOGFONTW lf = testutil::FontOf(item(f.id));
                d.Expect(std::wstring(lf.lfFaceName) == f.face && lf.lfHeight == f.height && lf.lfWeight == f.weight,
                         "font of control " + std::to_string(f.id));
              }
              BITMAP bm{};
              GetObjectW(reinterpret_cast<HBITMAP>(SendMessageW(item(IDC_SU_Picture2), STM_GETIMAGE, IMAGE_BITMAP, 0)),
                         sizeof bm, &bm);
              d.Expect(bm.bmWidth == 411 && bm.bmHeight == 211 && bm.bmBitsPixel == 24,
                       "the 411 x 211 picture: " + std::to_string(bm.bmWidth) + " x " + std::to_string(bm.bmHeight) +
                           " x " + std::to_string(bm.bmBitsPixel));
              testutil::PressKey(dlg, VK_ESCAPE);
            }));
  EXPECT_EQ("", t.ProblemsAtOldPlaces());
  EXPECT_EQ(L"", t.StoredStatus());
  EXPECT_TRUE(boxes.shown().empty());
}

namespace {

// Whether the label's text, broken into lines in the label's font, fits the label.
bool TextFits(HWND label) {
  RECT box{};
  GetClientRect(label, &box);
  RECT need = box;
  need.bottom = need.top;
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  const std::wstring text = TextOf(label);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  return need.right <= box.right && need.bottom <= box.bottom;
}

}  // namespace

TEST_F(Launch, AtMoreDotsPerInchTheWindowGrowsWithItsFonts) {
  const struct {
    int dpi;
    LONG width, height;  // the client area
    RECT question;       // Label2
  } cases[] = {{96, 407, 207, {40, 144, 361, 161}}, {120, 509, 259, {50, 180, 451, 201}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    vb::SetDpiOverride(c.dpi);
    EXPECT_EQ(0, RunMain(program(), [&](Driver& d) {
                HWND dlg = d.WaitForStart();
                if (!dlg) return;
                RECT client;
                GetClientRect(dlg, &client);
                d.Expect(client.right == c.width && client.bottom == c.height, "the client area");
                RECT r = testutil::RectIn(dlg, IDC_SU_Label2);
                d.Expect(EqualRect(&r, &c.question), "the question's place");
                for (int id : {IDC_SU_Label3, IDC_SU_Label1, IDC_SU_Label2})
                  d.Expect(TextFits(GetDlgItem(dlg, id)), "the text of control " + std::to_string(id) + " fits");
                testutil::PressKey(dlg, VK_ESCAPE);
              }));
    vb::SetDpiOverride(0);
  }
}

TEST_F(Launch, EnterRunsTheMoveAndExitEndsTheProgram) {
  const std::wstring log = ContinueAndExit(program(), true);
  // Newest line first.
  const size_t done = log.find(L" -- Move completed successfully. Press Exit.\r\n");
  EXPECT_LT(done, log.find(L" -- Beginning Move of Files and Settings\r\n")) << vb::ToAnsi(log);
  EXPECT_EQ("", t.ProblemsAtNewPlaces());
  EXPECT_EQ(L"7", t.StoredStatus());
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Launch, AFailedMoveIsReportedWithTheLogInThePublicDataFolder) {
  {
    Locked lock(t.program + L"\\tm3.lf");
    ContinueAndExit(program());
  }
  EXPECT_TRUE(Exists(t.publicData));
  // The rollback restored every item, so the mover reads "rollingback": the failure is told all
  // the same.
  EXPECT_EQ(L"8", t.StoredStatus());
  ExpectFailureBoxAndLog(t.publicData, L" -- Move Failed because some files or Directories could not be moved.");
  EXPECT_EQ("", t.ProblemsAtOldPlaces());
}

TEST_F(Launch, WithoutAPublicDataFolderTheLogGoesToTheUsersDocuments) {
  testutil::RemoveTree(t.program);
  const std::wstring documents = KnownFolder(FOLDERID_Documents);
  const std::wstring userLog = documents + L"\\VistaMoveLog.txt";
  ASSERT_FALSE(Exists(userLog));
  ContinueAndExit(program());
  EXPECT_FALSE(Exists(t.publicData));
  ExpectFailureBoxAndLog(documents, L" -- Source Folders Not Found (" + t.program + L") ");
  DeleteFileW(userLog.c_str());
}

TEST_F(Launch, ALogThatCannotBeSavedIsNotSaidToBe) {
  const std::wstring documents = KnownFolder(FOLDERID_Documents);
  const std::wstring cannot = L"The attempted move of Tallowmere files has failed the log file could not be saved in ";
  const struct {
    const char* name;
    bool publicData;  // the public data folder is there: the log's place
  } cases[] = {{"a folder of the log's name in the documents", false},
               {"a folder of the log's name in the public data folder", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.Clear();
    ProductTree tree(TM);
    const std::wstring folder = c.publicData ? tree.publicData : documents;
    std::optional<Locked> lock;
    if (c.publicData) {
      ASSERT_EQ(ERROR_SUCCESS, SHCreateDirectoryExW(nullptr, tree.publicData.c_str(), nullptr));
      lock.emplace(tree.program + L"\\tm3.lf");
    } else {
      testutil::RemoveTree(tree.program);
    }
    ASSERT_TRUE(CreateDirectoryW((folder + L"\\VistaMoveLog.txt").c_str(), nullptr));
    ContinueAndExit(L"-" + tree.program);
    lock.reset();
    RemoveDirectoryW((folder + L"\\VistaMoveLog.txt").c_str());
    ASSERT_EQ(1u, boxes.shown().size());
    EXPECT_EQ(cannot + folder + kFailedEnd, boxes.shown()[0].prompt);
    EXPECT_EQ(L"Move of Files Failed", boxes.shown()[0].title);
  }
}

TEST_F(Launch, ARollbackThatCannotRestoreAFileEndsInTheFailedMoveBox) {
  // An earlier move left the settings file's copy in the hidden data folder only.
  StoreStatus(t, L"5");
  ASSERT_TRUE(MoveFileW((t.program + L"\\tm3.lf").c_str(), (t.hidden + L"\\tm3.lf").c_str()));
  const std::wstring documents = KnownFolder(FOLDERID_Documents);
  {
    Locked lock(t.hidden + L"\\tm3.lf");
    ContinueAndExit(program());
  }
  EXPECT_EQ(L"9", t.StoredStatus());
  EXPECT_FALSE(Exists(t.publicData));
  ExpectFailureBoxAndLog(documents, L" -- The rollback of a previous move has failed, Contact Marlowby Technical Support");
  DeleteFileW((documents + L"\\VistaMoveLog.txt").c_str());
  EXPECT_EQ("", t.ProblemsEachOnce());
}

namespace {

// Clicks "Cancel" in the progress window as soon as the mover has made it: the click is handled
// inside the move's first report.
HHOOK cancelHook = nullptr;
LRESULT CALLBACK CancelAtOnce(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND) {
    const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lp)->lpcs;
    const bool dialog = IS_INTRESOURCE(cs->lpszClass) ? reinterpret_cast<ULONG_PTR>(cs->lpszClass) == 32770
                                                      : std::wstring(cs->lpszClass) == L"#32770";
    if (dialog && !cs->hwndParent && (!cs->lpszName || !*cs->lpszName))
      PostMessageW(reinterpret_cast<HWND>(wp), WM_COMMAND, MAKEWPARAM(IDC_MF_cmdExit, BN_CLICKED), 0);
  }
  return CallNextHookEx(cancelHook, code, wp, lp);
}

}  // namespace

TEST_F(Launch, CancelInTheProgressWindowMovesNothingAndTellsNothing) {
  cancelHook = SetWindowsHookExW(WH_CBT, CancelAtOnce, nullptr, GetCurrentThreadId());
  ASSERT_NE(nullptr, cancelHook);
  const std::wstring log = ContinueAndExit(program());
  UnhookWindowsHookEx(cancelHook);
  EXPECT_NE(std::wstring::npos, log.find(L" -- Move Cancelled\r\n")) << vb::ToAnsi(log);
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_EQ("", t.ProblemsAtOldPlaces());
}

namespace {

// Clicks the progress window's exit button as soon as it turns to "Exit": at a move's first
// failure, while the run still reports, so that UIExited comes before "Continue" has returned.
HHOOK exitHook = nullptr;
LRESULT CALLBACK ExitAtOnce(int code, WPARAM wp, LPARAM lp) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && m->message == WM_SETTEXT && GetDlgCtrlID(m->hwnd) == IDC_MF_cmdExit &&
      std::wstring(reinterpret_cast<const wchar_t*>(m->lParam)) == L"Exit") {
    PostMessageW(m->hwnd, BM_CLICK, 0, 0);
    UnhookWindowsHookEx(std::exchange(exitHook, nullptr));
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

TEST_F(Launch, ExitClickedWhileTheFailedMoveStillReportsEndsTheProgramAfterTheMove) {
  {
    Locked lock(t.program + L"\\tm3.lf");
    exitHook = SetWindowsHookExW(WH_CALLWNDPROC, ExitAtOnce, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, exitHook);
    EXPECT_EQ(0, RunMain(program(), [](Driver& d) {
                if (HWND start = d.WaitForStart()) Click(start, IDC_SU_cmdOK);
              }));
    if (exitHook) UnhookWindowsHookEx(std::exchange(exitHook, nullptr));
  }
  EXPECT_EQ(nullptr, FindWindowW(nullptr, launchtest::kStartCaption));
  ExpectFailureBoxAndLog(t.publicData, L" -- Move Failed because some files or Directories could not be moved.");
  EXPECT_EQ("", t.ProblemsAtOldPlaces());
}

TEST_F(Launch, ATestModeMoveCopiesAndLeavesTheOldPlaces) {
  ContinueAndExit(program() + L" -INTESTMODE");
  EXPECT_EQ("", t.ProblemsNothingLost());
  EXPECT_EQ(L"7", t.StoredStatus());
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Launch, AnUnreadableStoredStatusStopsWithOneBox) {
  const struct {
    const wchar_t* stored;
    const wchar_t* error;
  } cases[] = {{L"moving", L"13 - Type mismatch"}, {L"40000", L"6 - Overflow"}};
  for (const auto& c : cases) {
    boxes.Clear();
    StoreStatus(t, c.stored);
    EXPECT_EQ(1, RunMain(program(), [](Driver&) {}));
    ASSERT_EQ(1u, boxes.shown().size());
    EXPECT_EQ(std::wstring(L"The update of protected files has stopped: error ") + c.error, boxes.shown()[0].prompt);
    EXPECT_EQ(vb::vbCritical, boxes.shown()[0].buttons);
    EXPECT_EQ(nullptr, FindWindowW(nullptr, launchtest::kStartCaption));
    EXPECT_EQ("", t.ProblemsAtOldPlaces());
  }
}

}  // namespace launcher
