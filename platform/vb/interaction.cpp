#include "vb/interaction.h"

#include <windows.h>
#include <oleauto.h>

#include "vb/automation.h"
#include "vb/error.h"

namespace vb {

namespace {

bool IsDialog(HWND w) {
  wchar_t cls[16] = {};
  return GetClassNameW(w, cls, 16) && std::wstring(cls) == L"#32770";
}

}  // namespace

void HandleMessage(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root && IsDialog(root) && IsDialogMessageW(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void DoEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // it belongs to the loop that owns the thread
      return;
    }
    HandleMessage(msg);
  }
}

std::wstring TimeText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  now.wYear = 1899, now.wMonth = 12, now.wDay = 30;  // the time of day alone
  DATE time = 0;
  SystemTimeToVariantTime(&now, &time);
  Bstr text;
  if (FAILED(VarBstrFromDate(time, LOCALE_USER_DEFAULT, VAR_TIMEVALUEONLY, &text.b))) Raise(errOutOfMemory);
  return text.str();
}

}  // namespace vb
