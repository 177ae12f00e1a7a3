#include <windows.h>

#include <atomic>
#include <functional>

#include "test_util.h"
#include "window_answerer.h"
#include "recording_presenter.h"

namespace {

using Shown = vb::RecordingPresenter::Shown;

TEST(Presenter, RecordsAndAnswersFromQueueElseFirstButtonOrDefault) {
  vb::ScopedRecordingPresenter rec;
  const std::pair<long, long> firstButton[] = {
      {vb::vbOKOnly, vb::vbOK}, {vb::vbOKCancel | vb::vbDefaultButton2, vb::vbOK},
      {vb::vbAbortRetryIgnore | vb::vbCritical, vb::vbAbort}, {vb::vbYesNoCancel | vb::vbDefaultButton3, vb::vbYes},
      {vb::vbYesNo | vb::vbSystemModal, vb::vbYes}, {vb::vbRetryCancel | vb::vbInformation, vb::vbRetry}};
  for (auto [buttons, answer] : firstButton) EXPECT_EQ(answer, vb::MsgBox(L"p", buttons)) << buttons;
  rec.QueueMessageAnswer(vb::vbNo);
  rec.QueueInputAnswer(L"typed");
  rec.QueueInputAnswer(L"");
  EXPECT_EQ(vb::vbNo, vb::MsgBox(L"Overwrite?", vb::vbYesNo | vb::vbQuestion, L"Save"));
  EXPECT_EQ(L"typed", vb::InputBox(L"Name?", L"Ask", L"preset"));
  EXPECT_EQ(L"", vb::InputBox(L"Name?", L"Ask", L"preset"));
  EXPECT_EQ(L"preset", vb::InputBox(L"Name?", L"Ask", L"preset"));

  ASSERT_EQ(10u, rec.shown().size());
  const Shown& msg = rec.shown()[6];
  EXPECT_EQ(Shown::Message, msg.kind);
  EXPECT_EQ(L"Overwrite?", msg.prompt);
  EXPECT_EQ(vb::vbYesNo | vb::vbQuestion, msg.buttons);
  EXPECT_EQ(L"Save", msg.title);
  const Shown& input = rec.shown()[9];
  EXPECT_EQ(Shown::Input, input.kind);
  EXPECT_EQ(L"Ask", input.title);
  EXPECT_EQ(L"preset", input.defaultText);
}

TEST(Presenter, EmptyTitleMeansAppTitleAndScopeRestoresThePresenter) {
  wchar_t path[MAX_PATH];
  std::wstring program(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  program = program.substr(program.find_last_of(L'\\') + 1);
  const std::wstring original = vb::AppTitle();
  EXPECT_EQ(program.substr(0, program.find_last_of(L'.')), original);

  vb::Presenter* real = &vb::CurrentPresenter();
  {
    vb::ScopedRecordingPresenter rec;
    vb::MsgBox(L"m");
    vb::SetAppTitle(L"Claims Reader");
    vb::InputBox(L"i");
    vb::SetAppTitle(original);
    ASSERT_EQ(2u, rec.shown().size());
    EXPECT_EQ(original, rec.shown()[0].title);
    EXPECT_EQ(L"Claims Reader", rec.shown()[1].title);
  }
  EXPECT_EQ(real, &vb::CurrentPresenter());
}

// ---- The real windows, answered by a helper thread ----

using testutil::TextOf;
using testutil::WindowAnswerer;

TEST(WindowPresenter, InputBoxShowsPromptAndSelectedDefaultAndReturnsTheEntry) {
  std::wstring prompt, shownDefault, answer;
  DWORD selStart = 1, selEnd = 0;
  {
    WindowAnswerer answerer(L"Input box test 1", [&](HWND dlg) {
      HWND edit = FindWindowExW(dlg, nullptr, L"Edit", nullptr);
      prompt = TextOf(FindWindowExW(dlg, nullptr, L"Static", nullptr));
      shownDefault = TextOf(edit);
      SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
      SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Answer \u00e9"));
      SendMessageW(FindWindowExW(dlg, nullptr, L"Button", L"OK"), BM_CLICK, 0, 0);
    });
    answer = vb::InputBox(L"Claim number & name?", L"Input box test 1", L"12345");
    ASSERT_TRUE(answerer.found());
  }
  EXPECT_EQ(L"Claim number & name?", prompt);
  EXPECT_EQ(L"12345", shownDefault);
  EXPECT_EQ(0u, selStart);
  EXPECT_EQ(5u, selEnd);
  EXPECT_EQ(L"Answer \u00e9", answer);
}

TEST(WindowPresenter, InputBoxCancelOrCloseGivesEmptyTextAndMsgBoxGivesTheButton) {
  {
    WindowAnswerer answerer(L"Input box test 2", [](HWND dlg) {
      SendMessageW(FindWindowExW(dlg, nullptr, L"Button", L"Cancel"), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(L"", vb::InputBox(L"p", L"Input box test 2", L"not returned"));
    EXPECT_TRUE(answerer.found());
  }
  {
    WindowAnswerer answerer(L"Input box test 3", [](HWND dlg) { SendMessageW(dlg, WM_CLOSE, 0, 0); });
    EXPECT_EQ(L"", vb::InputBox(L"p", L"Input box test 3", L"not returned"));
    EXPECT_TRUE(answerer.found());
  }
  {
    WindowAnswerer answerer(L"Message box test", [](HWND box) {
      SendMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(vb::vbNo, vb::MsgBox(L"Overwrite?", vb::vbYesNoCancel | vb::vbQuestion, L"Message box test"));
    EXPECT_TRUE(answerer.found());
  }
}

}  // namespace
