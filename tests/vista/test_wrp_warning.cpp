// The protection warning window, driven for real from a helper thread: its texts and layout,
// its buttons, keys and check box, and the setting stored in the caller's INI file.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "common/frm_wrp_warn.h"
#include "common/frm_wrp_warn_ids.h"
#include "common/vista_info.h"
#include "test_util.h"
#include "vista_test_util.h"

namespace vista {

using testhelp::TextOf;
using testhelp::WindowAnswerer;
using testutil::ClassOf;
using testutil::FontOf;
using testutil::RectIn;

namespace {

const wchar_t kCaption[] = L"Windows Resource Protection";

// The size the control's text needs in the control's font: wrapped to the control's width
// for a label, on one line otherwise.
SIZE TextNeeds(HWND w, bool wrap) {
  HDC dc = GetDC(w);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
  RECT client;
  GetClientRect(w, &client);
  RECT r{0, 0, wrap ? client.right : 10000, 0};
  std::wstring text = TextOf(w);
  DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  return SIZE{r.right, r.bottom};
}

std::wstring StoredSetting(const std::wstring& ini) {
  wchar_t buf[64] = {};
  GetPrivateProfileStringW(L"VistaSettings", L"showWRPWarning", L"<none>", buf, 64, ini.c_str());
  return buf;
}

void Click(HWND dlg, int id) { SendMessageW(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }

using testutil::PressKey;

struct Recorded {
  HWND owner = nullptr;
  std::string address;
  int count = 0;
} linkOpened;

void RecordLink(HWND owner, const char* address) {
  linkOpened.owner = owner;
  linkOpened.address = address;
  ++linkOpened.count;
}

}  // namespace

TEST(WarningWindow, TextsLayoutAndModality) {
  // The host's window, active on this thread: the warning is modal to it.
  HWND host = CreateWindowExW(0, L"STATIC", L"Host window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                              nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, host);
  SetForegroundWindow(host);
  SetActiveWindow(host);

  struct Control {
    int id;
    const wchar_t* cls;
    const wchar_t* text;
  } const controls[] = {
      {IDC_Label2, L"Static", L"Windows Resource Protection Information"},
      {IDC_Label1, L"Static",
       L"Windows Resource Protection (WRP) prevents the replacement of essential system files, folders, and "
       L"registry keys that are installed as part of Windows Vista. Only the Windows trusted installer is able "
       L"to update protected resources. Protecting these resources prevents application and operating system "
       L"failures."},
      {IDC_Label3, L"Static",
       L"Microsoft Vista will not allow files to be saved or modified in certain protected folders.  These "
       L"folders are 'c:\\windows' and 'c:\\program files' and any subfolders of these. Additionally files "
       L"stored at the root of C (C:\\). Are not allowed.   "},
      {IDC_Label5, L"Static",
       L"If any files are saved to these locations the action may appear to work but other users may not be "
       L"able to see the file or modifications made."},
      {IDC_Label4, L"Static", L"Microsoft Explanation"},
      {IDC_chkTurnOff, L"Button", L"Do not show this again."},
      {IDC_OKButton0, L"Button", L"Continue Saving"},
      {IDC_OKButton1, L"Button", L"OK"},
  };

  std::vector<std::string> problems;
  auto expect = [&](bool ok, const std::string& what) {
    if (!ok) problems.push_back(what);
  };
  auto info = VistaInfo::New();
  bool result = true;
  {
    WindowAnswerer answerer(kCaption, [&](HWND dlg) {
      expect(ClassOf(dlg) == L"#32770", "a dialog window");
      expect(GetWindow(dlg, GW_OWNER) == host, "owned by the host's active window");
      expect(!IsWindowEnabled(host), "the host is disabled while the warning shows");
      RECT client;
      GetClientRect(dlg, &client);
      for (const Control& c : controls) {
        HWND w = GetDlgItem(dlg, c.id);
        std::string id = std::to_string(c.id);
        if (!w) {
          problems.push_back("control " + id + " missing");
          continue;
        }
        expect(ClassOf(w) == c.cls, "class of " + id);
        expect(TextOf(w) == c.text, "text of " + id);
        expect(IsWindowVisible(w), id + " visible");
        RECT r = RectIn(dlg, c.id);
        expect(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom,
               id + " inside the window");
        bool label = std::wstring(c.cls) == L"Static";
        SIZE need = TextNeeds(w, label);
        int room = label ? 0 : (c.id == IDC_chkTurnOff ? 16 : 8);  // the check mark, the button's edges
        expect(need.cx + room <= r.right - r.left, id + " text fits across");
        expect(need.cy <= r.bottom - r.top, id + " text fits down");
      }
      // Heading, the three texts, the link, the check box, then the buttons side by side.
      const int column[] = {IDC_Label2, IDC_Label1, IDC_Label3, IDC_Label5, IDC_Label4, IDC_chkTurnOff, IDC_OKButton0};
      for (size_t i = 1; i < std::size(column); ++i)
        expect(RectIn(dlg, column[i - 1]).bottom <= RectIn(dlg, column[i]).top,
               std::to_string(column[i - 1]) + " above " + std::to_string(column[i]));
      RECT cont = RectIn(dlg, IDC_OKButton0), ok = RectIn(dlg, IDC_OKButton1);
      expect(cont.top == ok.top && cont.bottom == ok.bottom, "buttons on one row");
      expect(cont.right < ok.left, "Continue Saving left of OK");
      expect(client.right - ok.right < 40 && client.bottom - ok.bottom < 40, "buttons at the bottom right");

      expect(FontOf(GetDlgItem(dlg, IDC_Label2)).lfWeight >= FW_BOLD, "bold heading");
      expect(FontOf(GetDlgItem(dlg, IDC_Label4)).lfUnderline, "underlined link");
      LONG chkStyle = GetWindowLongW(GetDlgItem(dlg, IDC_chkTurnOff), GWL_STYLE);
      expect((chkStyle & BS_TYPEMASK) == BS_AUTOCHECKBOX, "an automatic check box");
      expect(SendMessageW(GetDlgItem(dlg, IDC_chkTurnOff), BM_GETCHECK, 0, 0) == BST_UNCHECKED, "unticked");
      expect((GetWindowLongW(GetDlgItem(dlg, IDC_OKButton1), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON,
             "OK drawn as the default button");
      expect(LOWORD(SendMessageW(dlg, DM_GETDEFID, 0, 0)) == IDC_OKButton1, "OK is the default button");
      GUITHREADINFO gti{sizeof gti};
      GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &gti);
      expect(gti.hwndFocus == GetDlgItem(dlg, IDC_OKButton1), "OK has the focus");
      Click(dlg, IDC_OKButton1);
    });
    result = info->showWRPWarningDialog();
    ASSERT_TRUE(answerer.found());
  }
  EXPECT_TRUE(IsWindowEnabled(host));
  DestroyWindow(host);
  EXPECT_FALSE(result);
  EXPECT_EQ(std::vector<std::string>{}, problems);
}

TEST(WarningWindow, ButtonsKeysAndCheckBoxGiveTheResultAndTheStoredSetting) {
  enum Action { Continue, Ok, Enter, Escape, CloseBox };
  struct Case {
    bool tick;
    Action action;
    bool result;
    const wchar_t* stored;
  } const cases[] = {
      {false, Continue, true, L"False"}, {true, Continue, true, L"True"},  {false, Ok, false, L"False"},
      {true, Ok, false, L"True"},        {true, Enter, false, L"True"},    {false, Escape, false, L"False"},
      {true, Escape, false, L"True"},    {false, CloseBox, false, L"False"}, {true, CloseBox, false, L"True"},
  };
  auto info = VistaInfo::New();
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(n++);
    testutil::TempDir dir;
    const std::wstring ini = dir.file(L"TM3.ini");
    LRESULT ticked = -1;
    bool result = !c.result;
    {
      WindowAnswerer answerer(kCaption, [&](HWND dlg) {
        if (c.tick) Click(dlg, IDC_chkTurnOff);
        ticked = SendMessageW(GetDlgItem(dlg, IDC_chkTurnOff), BM_GETCHECK, 0, 0);
        switch (c.action) {
          case Continue: Click(dlg, IDC_OKButton0); break;
          case Ok: Click(dlg, IDC_OKButton1); break;
          case Enter: PressKey(dlg, VK_RETURN); break;
          case Escape: PressKey(dlg, VK_ESCAPE); break;
          case CloseBox: PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); break;
        }
      });
      result = info->showWRPWarningDialog(ini);
      ASSERT_TRUE(answerer.found());
    }
    EXPECT_EQ(c.tick ? BST_CHECKED : BST_UNCHECKED, ticked);
    EXPECT_EQ(c.result, result);
    EXPECT_EQ(c.result, info->continueSave());
    EXPECT_EQ(c.stored, StoredSetting(ini));
    EXPECT_EQ(SHOW_DLG, info->WRPWarningSetting);
  }
}

TEST(WarningWindow, TheStoredSettingDecidesWhetherItShows) {
  struct Case {
    const wchar_t* stored;  // nullptr: no such key
    bool shown;
    long setting;
    long error;
  } const cases[] = {
      {nullptr, true, 0, 0}, {L"0", true, 0, 0},      {L"False", true, 0, 0},   {L"false", true, 0, 0},
      {L"True", false, -1, 0}, {L"TRUE", false, -1, 0}, {L"1", false, -1, 0},  {L"-1", false, -1, 0},
      {L"2.5", false, -1, 0},  {L"", false, 0, 13},     {L"maybe", false, 0, 13},
  };
  // Shown, the window is answered with the same button every time; not shown, the continue
  // choice of the last showing stays.
  for (bool continued : {true, false}) {
    auto info = VistaInfo::New();
    {
      WindowAnswerer answerer(kCaption, [&](HWND dlg) { Click(dlg, continued ? IDC_OKButton0 : IDC_OKButton1); });
      EXPECT_EQ(continued, info->showWRPWarningDialog());
      ASSERT_TRUE(answerer.found());
    }
    for (const Case& c : cases) {
      SCOPED_TRACE(c.stored ? c.stored : L"(no key)");
      testutil::TempDir dir;
      const std::wstring ini = dir.file(L"settings.ini");
      WritePrivateProfileStringW(L"Other", L"x", L"y", ini.c_str());
      if (c.stored) WritePrivateProfileStringW(L"VistaSettings", L"showWRPWarning", c.stored, ini.c_str());
      info->WRPWarningSetting = 7;
      bool result = false;
      long error = -1;
      {
        WindowAnswerer answerer(kCaption, [&](HWND dlg) { Click(dlg, continued ? IDC_OKButton0 : IDC_OKButton1); });
        error = testutil::ErrorNumberOf([&] { result = info->showWRPWarningDialog(ini); });
        EXPECT_EQ(c.shown, answerer.found());
      }
      EXPECT_EQ(c.error, error);
      if (c.error) {
        EXPECT_EQ(7, info->WRPWarningSetting);
        EXPECT_EQ(c.stored, StoredSetting(ini));
        continue;
      }
      EXPECT_EQ(c.setting, info->WRPWarningSetting);
      EXPECT_EQ(c.shown ? continued : true, result);
      EXPECT_EQ(continued, info->continueSave());
      EXPECT_EQ(c.shown ? L"False" : c.stored, StoredSetting(ini));
    }
  }
}

TEST(WarningWindow, WithoutAFileItAlwaysShowsAndStoresNothing) {
  auto info = VistaInfo::New();
  for (int i = 0; i < 2; ++i) {
    info->WRPWarningSetting = NO_SHOW_DLG;
    WindowAnswerer answerer(kCaption, [&](HWND dlg) {
      Click(dlg, IDC_chkTurnOff);
      Click(dlg, IDC_OKButton0);
    });
    EXPECT_TRUE(info->showWRPWarningDialog(L""));
    EXPECT_TRUE(answerer.found());
    EXPECT_EQ(SHOW_DLG, info->WRPWarningSetting);
  }
  wchar_t buf[16] = {};
  GetProfileStringW(L"VistaSettings", L"showWRPWarning", L"", buf, 16);  // win.ini
  EXPECT_STREQ(L"", buf);
}

TEST(WarningWindow, TheLinkOpensTheExplanationAndTheWindowStays) {
  frmWRPWarn::LinkOpener saved = frmWRPWarn::openLink;
  frmWRPWarn::openLink = &RecordLink;
  linkOpened = {};
  HWND seen = nullptr;
  bool stillShown = false;
  frmWRPWarn form;
  {
    WindowAnswerer answerer(kCaption, [&](HWND dlg) {
      seen = dlg;
      HWND link = GetDlgItem(dlg, IDC_Label4);
      SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
      stillShown = IsWindowVisible(dlg);
      Click(dlg, IDC_OKButton0);
    });
    form.ShowModal(nullptr);
    EXPECT_TRUE(answerer.found());
  }
  frmWRPWarn::openLink = saved;
  EXPECT_TRUE(stillShown);
  EXPECT_TRUE(form.continueChosen);
  EXPECT_FALSE(form.turnOffChecked);
  EXPECT_EQ(1, linkOpened.count);
  EXPECT_EQ(seen, linkOpened.owner);
  EXPECT_EQ(0u, linkOpened.address.find("https://"));
}

TEST(WarningWindow, AWindowThatCannotBeMadeSaysWhatFailed) {
  // An owner that is no window any more: Windows refuses to make the warning window.
  HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, gone);
  DestroyWindow(gone);
  frmWRPWarn form;
  WindowAnswerer answerer(kCaption, [](HWND dlg) { Click(dlg, IDC_OKButton1); });
  try {
    form.ShowModal(gone);
    ADD_FAILURE() << "the window was shown";
  } catch (const vb::RuntimeError& e) {
    // ERROR_INVALID_WINDOW_HANDLE as an HRESULT.
    EXPECT_EQ(static_cast<long>(0x80070578), e.number());
    EXPECT_EQ(L"The window \"Windows Resource Protection\" could not be shown: Invalid window handle.",
              e.description());
  }
  EXPECT_FALSE(answerer.found());
}

}  // namespace vista
