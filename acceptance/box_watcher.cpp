// Stands beside a script host in place of its user: every message box that a script host
// (cscript.exe) opens is recorded in a log file, one line "title|text" each (CR and LF in the text as "\n"), and
// answered with its OK button. It ends when the stop file appears (and then deletes it, so the
// host knows it has ended), when the log's folder is gone, or after ten minutes.
//   box_watcher LOGFILE STOPFILE
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <set>
#include <string>

namespace {

std::wstring TextOf(HWND w) {
  wchar_t buf[4096] = {};
  GetWindowTextW(w, buf, 4096);
  return buf;
}

// The text of a message box: its longest static control (the icon's has none).
std::wstring MessageOf(HWND box) {
  std::wstring longest;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(c, cls, 32);
    const std::wstring text = TextOf(c);
    if (lstrcmpiW(cls, L"Static") == 0 && text.size() > longest.size()) longest = text;
  }
  std::wstring flat;
  for (wchar_t ch : longest) flat += ch == L'\r' ? L"" : ch == L'\n' ? L"\\n" : std::wstring(1, ch);
  return flat;
}

// Whether the window belongs to a script host.
bool OfScriptHost(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return false;
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  const bool named = QueryFullProcessImageNameW(process, 0, path, &size);
  CloseHandle(process);
  const wchar_t* name = wcsrchr(path, L'\\');
  return named && lstrcmpiW(name ? name + 1 : path, L"cscript.exe") == 0;
}

struct Watch {
  const wchar_t* log;
  std::set<HWND> answered;
};

BOOL CALLBACK Visit(HWND w, LPARAM param) {
  auto& watch = *reinterpret_cast<Watch*>(param);
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(w) || watch.answered.count(w) || !OfScriptHost(w))
    return TRUE;
  HWND ok = GetDlgItem(w, IDOK);
  if (!ok) return TRUE;
  const std::wstring line = TextOf(w) + L"|" + MessageOf(w) + L"\r\n";
  int n = WideCharToMultiByte(CP_ACP, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, line.c_str(), -1, bytes.data(), n, nullptr, nullptr);
  HANDLE f = CreateFileW(watch.log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD wrote = 0;
  if (f != INVALID_HANDLE_VALUE) {
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size() - 1), &wrote, nullptr);
    CloseHandle(f);
  }
  watch.answered.insert(w);
  PostMessageW(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fwprintf(stderr, L"usage: box_watcher LOGFILE STOPFILE\n");
    return 2;
  }
  Watch watch{argv[1], {}};
  std::wstring folder = argv[1];
  folder.resize(folder.find_last_of(L"\\/") == std::wstring::npos ? 0 : folder.find_last_of(L"\\/"));
  for (int i = 0; i < 10 * 60 * 20; ++i) {
    if (GetFileAttributesW(argv[2]) != INVALID_FILE_ATTRIBUTES) {
      DeleteFileW(argv[2]);
      break;
    }
    if (!folder.empty() && GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) break;
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&watch));
    Sleep(50);
  }
  return 0;
}
