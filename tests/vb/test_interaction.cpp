// DoEvents and the time of day as text.
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>

#include "vb/convert.h"
#include "vb/interaction.h"

namespace {

int g_handled = 0;

LRESULT CALLBACK Count(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_APP) ++g_handled;
  return DefWindowProcW(w, msg, wp, lp);
}

// A dialog with two buttons, made in memory.
struct TwoButtons {
  alignas(4) WORD words[64] = {};
  DLGTEMPLATE* Build() {
    auto* t = reinterpret_cast<DLGTEMPLATE*>(words);
    t->style = WS_POPUP | WS_VISIBLE | DS_SETFONT;
    t->cdit = 2;
    t->cx = 100, t->cy = 50;
    WORD* p = words + sizeof(DLGTEMPLATE) / sizeof(WORD);
    *p++ = 0, *p++ = 0, *p++ = 0;  // no menu, the dialog class, no title
    *p++ = 8;
    for (const wchar_t* f = L"MS Shell Dlg"; (*p++ = *f); ++f) {}
    for (WORD id : {101, 102}) {
      while ((p - words) % 2) *p++ = 0;
      auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(p);
      item->style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
      item->x = static_cast<short>(id == 101 ? 5 : 50), item->y = 5, item->cx = 40, item->cy = 14;
      item->id = id;
      p += sizeof(DLGITEMTEMPLATE) / sizeof(WORD);
      *p++ = 0xFFFF, *p++ = 0x0080, *p++ = 0, *p++ = 0;  // a button, no text, no data
    }
    return t;
  }
};

INT_PTR CALLBACK Plain(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

}  // namespace

TEST(Interaction, DoEventsHandlesEveryPendingMessageAndDialogKeys) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Count;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"DoEventsCounter";
  RegisterClassW(&wc);
  HWND w = CreateWindowW(L"DoEventsCounter", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(nullptr, w);
  for (int i = 0; i < 3; ++i) PostMessageW(w, WM_APP, 0, 0);
  vb::DoEvents();
  EXPECT_EQ(3, g_handled);
  vb::DoEvents();  // nothing pending: returns at once
  EXPECT_EQ(3, g_handled);
  DestroyWindow(w);

  // Tab in a dialog goes through IsDialogMessage: the focus moves to the next button.
  TwoButtons t;
  HWND dlg = CreateDialogIndirectW(GetModuleHandleW(nullptr), t.Build(), nullptr, Plain);
  ASSERT_NE(nullptr, dlg);
  SetFocus(GetDlgItem(dlg, 101));
  ASSERT_EQ(GetDlgItem(dlg, 101), GetFocus());
  PostMessageW(GetDlgItem(dlg, 101), WM_KEYDOWN, VK_TAB, 1);
  vb::DoEvents();
  EXPECT_EQ(GetDlgItem(dlg, 102), GetFocus());
  DestroyWindow(dlg);

  // A quit request is left for the thread's own loop.
  PostQuitMessage(7);
  vb::DoEvents();
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(7u, msg.wParam);
}

TEST(Interaction, TimeTextIsTheClocksTimeInTheUsersFormat) {
  SYSTEMTIME before;
  GetLocalTime(&before);
  const std::string text = vb::ToAnsi(vb::TimeText());
  SYSTEMTIME after;
  GetLocalTime(&after);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(text, m, std::regex(R"((\d{1,2}):(\d\d):(\d\d) (AM|PM))"))) << text;  // en-US
  const int hour = std::stoi(m[1]) % 12 + (m[4] == "PM" ? 12 : 0);
  EXPECT_TRUE(hour == before.wHour || hour == after.wHour) << text;
}
