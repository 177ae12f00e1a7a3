// The progress window of a relocation, found by its class and controls and driven for real: its
// texts, layout, fonts and colours, the blinking label, "Cancel" and "Exit", "Save Log", and a
// cancel clicked at each report of a run.
#include <gtest/gtest.h>

#include "com/object.h"
#include "recording_presenter.h"
#include "relocation/frm_move_files_ids.h"
#include "relocation_fixture.h"
#include "test_util.h"
#include "typelib_dump.h"
#include "vb/convert.h"
#include "vb/interaction.h"
#include "window_answerer.h"

namespace vista {

using testhelp::Event;
using testhelp::FindProgressWindow;
using testhelp::ProductTree;
using testhelp::Sink;

namespace {

using testutil::FontOf;
using testutil::RectIn;
using testutil::TextOf;
HWND Control(HWND dlg, int id) { return GetDlgItem(dlg, id); }
std::wstring ExitCaption(HWND dlg) { return TextOf(Control(dlg, IDC_MF_cmdExit)); }
void Click(HWND dlg, int id) { SendMessageW(Control(dlg, id), BM_CLICK, 0, 0); }

// What the window paints a static control with: its text colour, whether its background is
// transparent, and the colour of the brush it gives.
struct Paint {
  COLORREF text;
  bool transparent;
  COLORREF brush;
};
Paint PaintOf(HWND dlg, UINT message, HWND control) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkMode(dc, OPAQUE);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(dlg, message, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(control)));
  LOGBRUSH lb{};
  GetObjectW(brush, sizeof lb, &lb);
  Paint p{GetTextColor(dc), GetBkMode(dc) == TRANSPARENT, lb.lbColor};
  DeleteDC(dc);
  return p;
}

class ProgressWindow : public ::testing::Test {
 protected:
  void TearDown() override {
    // No window may outlive its test.
    for (HWND w; (w = FindProgressWindow());) {
      SendMessageW(Control(w, IDC_MF_cmdExit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Exit"));
      Click(w, IDC_MF_cmdExit);
    }
  }
  vb::ScopedRecordingPresenter boxes;
};

}  // namespace

TEST_F(ProgressWindow, TextsLayoutFontsAndColoursWhileAMoveRuns) {
  ProductTree t(TM);
  auto mover = t.NewMover(true);
  Sink sink(*mover);
  std::vector<std::string> problems;
  auto expect = [&](bool ok, const std::string& what) {
    if (!ok) problems.push_back(what);
  };
  int seen = 0;
  sink.onEvent = [&](const Event&) {
    if (seen++) return;
    // The first report: the window is there, waiting, with the exit button in focus.
    HWND dlg = FindProgressWindow();
    expect(dlg != nullptr, "the window is shown");
    if (!dlg) return;
    expect(GetWindow(dlg, GW_OWNER) == nullptr, "no owner");
    expect(!(GetWindowLongW(dlg, GWL_STYLE) & WS_SYSMENU), "no close box");
    expect(ExitCaption(dlg) == L"Cancel", "the exit button reads Cancel");
    // The focus goes to the first tab stop whenever the window is active; whether it is active
    // now depends on what other windows the desktop shows.
    expect(GetNextDlgTabItem(dlg, nullptr, FALSE) == Control(dlg, IDC_MF_cmdExit),
           "the exit button is the first tab stop");
    if (GetActiveWindow() == dlg) expect(GetFocus() == Control(dlg, IDC_MF_cmdExit), "the exit button has the focus");
    expect(IsWindowVisible(Control(dlg, IDC_MF_lblPlsWait)), "Please Wait... shows");
    expect(TextOf(Control(dlg, IDC_MF_Label1)) == L"File relocation for support of Windows Resource Protection",
           "Label1");
    expect(TextOf(Control(dlg, IDC_MF_lblPlsWait)) == L"Please Wait...", "lblPlsWait");
    expect(TextOf(Control(dlg, IDC_MF_cmdSaveLog)) == L"Save Log", "cmdSaveLog");
    expect(TextOf(Control(dlg, IDC_MF_txtMsg)) == mover->moveLog(), "txtMsg holds the log");
    expect(GetWindowLongW(Control(dlg, IDC_MF_txtMsg), GWL_STYLE) & (ES_MULTILINE | WS_VSCROLL | WS_HSCROLL),
           "txtMsg multi-line with scroll bars");
    // Twips to pixels at 96 dots per inch: 15 to a pixel.
    HDC screen = GetDC(dlg);
    const bool normal = GetDeviceCaps(screen, LOGPIXELSX) == 96 && GetDeviceCaps(screen, LOGPIXELSY) == 96;
    ReleaseDC(dlg, screen);
    expect(normal, "the prefix runs at 96 dots per inch");
    RECT client;
    GetClientRect(dlg, &client);
    expect(client.right == 536 && client.bottom == 291, "client area 8040 x 4365 twips");
    const struct {
      int id;
      RECT r;
    } places[] = {
        {IDC_MF_Image1, {16, 16, 118, 45}},      {IDC_MF_Label1, {16, 56, 513, 81}},
        {IDC_MF_txtMsg, {16, 80, 433, 225}},     {IDC_MF_cmdExit, {440, 88, 505, 121}},
        {IDC_MF_cmdSaveLog, {328, 232, 433, 257}}, {IDC_MF_lblPlsWait, {0, 264, 537, 289}},
    };
    for (const auto& p : places) {
      RECT r = RectIn(dlg, p.id);
      expect(EqualRect(&r, &p.r), "place of control " + std::to_string(p.id));
    }
    const struct {
      int id;
      LONG height, weight;
    } fonts[] = {{IDC_MF_Label1, -16, FW_NORMAL}, {IDC_MF_txtMsg, -13, FW_NORMAL}, {IDC_MF_lblPlsWait, -21, FW_BOLD}};
    for (const auto& f : fonts) {
      LOGFONTW lf = FontOf(Control(dlg, f.id));
      expect(std::wstring(lf.lfFaceName) == L"Arial" && lf.lfHeight == f.height && lf.lfWeight == f.weight,
             "font of control " + std::to_string(f.id));
    }
    BITMAP bm{};
    GetObjectW(reinterpret_cast<HBITMAP>(SendMessageW(Control(dlg, IDC_MF_Image1), STM_GETIMAGE, IMAGE_BITMAP, 0)),
               sizeof bm, &bm);
    expect(bm.bmWidth == 102 && bm.bmHeight == 29, "the picture fills Image1");
    // Colours: the window's background, Label1 transparent on it, the label's green on its own
    // background, then on the window's after a tick of the timer, and back.
    const COLORREF back = RGB(255, 255, 250);
    expect(PaintOf(dlg, WM_CTLCOLORDLG, dlg).brush == back, "window background");
    Paint label1 = PaintOf(dlg, WM_CTLCOLORSTATIC, Control(dlg, IDC_MF_Label1));
    expect(label1.transparent && label1.brush == back, "Label1 transparent");
    Paint wait = PaintOf(dlg, WM_CTLCOLORSTATIC, Control(dlg, IDC_MF_lblPlsWait));
    expect(wait.text == RGB(47, 87, 30) && !wait.transparent && wait.brush == GetSysColor(COLOR_BTNFACE),
           "Please Wait... opaque at first");
    SendMessageW(dlg, WM_TIMER, 1, 0);
    wait = PaintOf(dlg, WM_CTLCOLORSTATIC, Control(dlg, IDC_MF_lblPlsWait));
    expect(wait.text == RGB(47, 87, 30) && wait.transparent && wait.brush == back, "transparent after a tick");
    SendMessageW(dlg, WM_TIMER, 1, 0);
    expect(!PaintOf(dlg, WM_CTLCOLORSTATIC, Control(dlg, IDC_MF_lblPlsWait)).transparent, "opaque again");
    // A close request while the button reads "Cancel" does nothing.
    SendMessageW(dlg, WM_CLOSE, 0, 0);
    expect(FindProgressWindow() == dlg, "a close request is refused while the move runs");
  };
  EXPECT_TRUE(t.Move(*mover));
  for (const std::string& p : problems) ADD_FAILURE() << p;

  // Completed: the label hidden, the timer stopped, the button at "Exit".
  HWND dlg = FindProgressWindow();
  ASSERT_NE(nullptr, dlg);
  EXPECT_EQ(L"Exit", ExitCaption(dlg));
  EXPECT_FALSE(IsWindowVisible(Control(dlg, IDC_MF_lblPlsWait)));
  EXPECT_FALSE(KillTimer(dlg, 1));  // no timer left to stop
  EXPECT_EQ(mover->moveLog(), TextOf(Control(dlg, IDC_MF_txtMsg)));

  // "Save Log": the log beside the library, then a box naming it; a log that cannot be written.
  const std::wstring beside = testutil::BesideTestProgram(L"moveLog.txt");
  const std::wstring folder = beside.substr(0, beside.find_last_of(L'\\'));
  Click(dlg, IDC_MF_cmdSaveLog);
  EXPECT_EQ(vb::ToAnsi(mover->moveLog()), testutil::ReadBytes(beside));
  DeleteFileW(beside.c_str());
  CreateDirectoryW(beside.c_str(), nullptr);  // a folder in the file's place
  Click(dlg, IDC_MF_cmdSaveLog);
  RemoveDirectoryW(beside.c_str());
  ASSERT_EQ(2u, boxes.shown().size());
  EXPECT_EQ(L"Move Log saved to: " + folder + L"\\movelog.txt", boxes.shown()[0].prompt);
  EXPECT_EQ(L"Move Log was not saved", boxes.shown()[1].prompt);
  for (const auto& box : boxes.shown()) EXPECT_EQ(vb::vbInformation, box.buttons);

  // "Exit": the window goes, UIExited carries the status; a handler may release the mover.
  com::Ptr<ManageFiles> held = mover;
  mover.reset();
  sink.onEvent = [&](const Event& e) {
    if (e.id == ManageFiles::eventUIExited) held.reset();
  };
  sink.events.clear();
  const long locksBefore = com::ModuleLockCount();
  Click(dlg, IDC_MF_cmdExit);
  EXPECT_EQ((std::vector<Event>{{ManageFiles::eventUIExited, completed, L""}}), sink.events);
  EXPECT_EQ(nullptr, FindProgressWindow());
  EXPECT_FALSE(held);
  EXPECT_LT(com::ModuleLockCount(), locksBefore);  // the window's lock and the mover are gone
  sink.Disconnect();
}

TEST_F(ProgressWindow, ExitDuringTheFailureReportTakesEffectWhenTheRunReturns) {
  ProductTree t(TM);
  HANDLE lock = CreateFileW((t.program + L"\\tm3.lf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  auto mover = t.NewMover(true);
  Sink sink(*mover);
  sink.onEvent = [&](const Event& e) {
    // The first failure turns the button to "Exit"; the click comes while the run reports again.
    if (e.status == Failed && std::count_if(sink.events.begin(), sink.events.end(), [](const Event& x) {
                                return x.status == Failed;
                              }) == 1)
      PostMessageW(Control(FindProgressWindow(), IDC_MF_cmdExit), BM_CLICK, 0, 0);
  };
  EXPECT_FALSE(t.Move(*mover));
  CloseHandle(lock);
  ASSERT_GE(sink.events.size(), 2u);
  const Event last = sink.events.back(), beforeLast = sink.events[sink.events.size() - 2];
  EXPECT_EQ(ManageFiles::eventUIExited, last.id);
  EXPECT_EQ(rollingback, last.status);
  EXPECT_EQ(Failed, beforeLast.status);
  EXPECT_EQ(nullptr, FindProgressWindow());
  // The log saved at the second failure is whole; no window comes back, and the log is kept.
  const std::string saved = testutil::ReadBytes(t.publicData + L"\\VistaMoveLog.txt");
  EXPECT_NE(std::string::npos, saved.find(" -- Copy File Error while Moving lf file (70) Permission denied\r\n"));
  EXPECT_NE(std::string::npos, saved.find(" -- Move Failed because"));
  ManageFilesProbe::setStatus(*mover, rollingback, L"after the exit");
  EXPECT_EQ(nullptr, FindProgressWindow());
  testutil::TempDir dir;
  EXPECT_TRUE(mover->saveMoveLog(dir.file(L"log.txt")));
  EXPECT_EQ(vb::ToAnsi(mover->moveLog()), testutil::ReadBytes(dir.file(L"log.txt")));
  EXPECT_EQ(0u, mover->moveLog().find_first_of(L"0123456789"));
}

TEST_F(ProgressWindow, ExitWhileTheCleanUpIsUnfinishedCompletesTheMove) {
  ProductTree t(VNE);
  auto mover = t.NewMover(true);
  Sink sink(*mover);
  ManageFilesProbe::setStatus(*mover, completed, L"done");
  ManageFilesProbe::setStatus(*mover, cleaningUp, L"cleaning");
  HWND dlg = FindProgressWindow();
  ASSERT_NE(nullptr, dlg);
  ASSERT_EQ(L"Exit", ExitCaption(dlg));
  sink.events.clear();
  SendMessageW(dlg, WM_CLOSE, 0, 0);  // a close request acts as "Exit" now
  EXPECT_EQ((std::vector<Event>{{ManageFiles::eventProgressUpdate, completed, L"Cleanup Incomplete"},
                                {ManageFiles::eventUIExited, completed, L""}}),
            sink.events);
  EXPECT_EQ(L"7", t.StoredStatus());
  EXPECT_EQ(nullptr, FindProgressWindow());
}

// Clicked directly or posted, at every sixth report from `first` on (the reports shared out
// among six tests, so that each ends in good time also on an emulated processor).
class CancelClicked : public ProgressWindow, public ::testing::WithParamInterface<std::tuple<bool, size_t>> {};

TEST_P(CancelClicked, AtEachReportOfARun) {
  const auto [posted, first] = GetParam();
  // The reports of a whole move, counted once.
  size_t reports = 0;
  {
    ProductTree t(TM);
    auto mover = t.NewMover();
    Sink sink(*mover);
    ASSERT_TRUE(t.Move(*mover));
    reports = sink.events.size();
  }
  {
    for (size_t at = first; at < reports; at += 6) {
      SCOPED_TRACE(std::string(posted ? "posted" : "direct") + " click at report " + std::to_string(at + 1));
      ProductTree t(TM);
      auto mover = t.NewMover(true);
      Sink sink(*mover);
      size_t seen = 0, cancelledAt = 0;
      sink.onEvent = [&](const Event& e) {
        if (e.status == cancelled && !cancelledAt) cancelledAt = sink.events.size();
        if (seen++ != at) return;
        HWND button = Control(FindProgressWindow(), IDC_MF_cmdExit);
        posted ? PostMessageW(button, BM_CLICK, 0, 0) : SendMessageW(button, BM_CLICK, 0, 0);
      };
      const bool moved = t.Move(*mover);
      vb::DoEvents();  // a click posted at the last report
      HWND dlg = FindProgressWindow();
      if (moved) {
        // Only a click posted at the last report comes after the run: it is "Exit".
        EXPECT_TRUE(posted && at + 1 == reports);
        EXPECT_EQ(nullptr, dlg);
        EXPECT_EQ(ManageFiles::eventUIExited, sink.events.back().id);
        EXPECT_EQ("", t.ProblemsAtNewPlaces());
        continue;
      }
      ASSERT_NE(0u, cancelledAt);
      EXPECT_EQ("", t.ProblemsAtOldPlaces());
      for (size_t i = cancelledAt; i < sink.events.size(); ++i)
        EXPECT_TRUE(sink.events[i].status == rollingback || sink.events[i].status == moving ||
                    sink.events[i].status == cancelled)
            << vb::ToAnsi(sink.events[i].msg);
      ASSERT_NE(nullptr, dlg);
      EXPECT_EQ(L"Exit", ExitCaption(dlg));
      const long status = mover->moveStatus();
      sink.events.clear();
      Click(dlg, IDC_MF_cmdExit);
      EXPECT_EQ((std::vector<Event>{{ManageFiles::eventUIExited, status, L""}}), sink.events);
      EXPECT_EQ(nullptr, FindProgressWindow());
      // The next run rolls back what is left and moves everything (once for each test).
      if (at == first) {
        auto next = t.NewMover();
        EXPECT_TRUE(t.Move(*next));
        EXPECT_EQ("", t.ProblemsAtNewPlaces());
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Window, CancelClicked, ::testing::Combine(::testing::Bool(), ::testing::Values(0, 1, 2, 3, 4, 5)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param) ? "Posted" : "Direct") + "_From" +
                                  std::to_string(std::get<1>(info.param) + 1);
                         });

}  // namespace vista
