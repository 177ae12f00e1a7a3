// drive_quaven.exe <marker folder> <program folder>
// Starts quaven.exe (beside this program) in test mode on the program folder and drives it for
// scripts/screenshot-startupdate: once the confirmation window shows, it writes "startupdate.shown"
// into the marker folder and waits for "startupdate.taken" before it clicks "Continue"; once the
// progress window reads "Exit", it writes "movefiles.shown", waits for "movefiles.taken" and clicks
// "Exit". Exit code: quaven's own, or 1 when a window did not come or quaven did not end.
#include <windows.h>

#include <cstdio>
#include <string>

#include "frm_start_update_ids.h"
#include "launcher_driver.h"

namespace {

std::wstring Beside(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  std::wstring p(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return p.substr(0, p.find_last_of(L"\\/") + 1) + name;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Touch(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

bool WaitForFile(const std::wstring& path) {
  for (int i = 0; i < 1200; ++i, Sleep(50))
    if (Exists(path)) return true;
  return false;
}

// Shows the window to the script, waits until it was taken, then clicks `id`.
bool Shoot(launchtest::Driver& d, HWND w, const std::wstring& markers, const wchar_t* name, int id) {
  Touch(markers + L"\\" + name + L".shown");
  if (!WaitForFile(markers + L"\\" + name + L".taken")) {
    d.Expect(false, "no screenshot was taken");
    return false;
  }
  launchtest::Click(w, id);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: drive_quaven <marker folder> <program folder>\n");
    return 2;
  }
  const std::wstring markers = argv[1];
  std::wstring cmd = L"\"" + Beside(L"quaven.exe") + L"\" -\"" + argv[2] + L"\" -INTESTMODE";
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "drive_quaven: quaven.exe did not start (%lu)\n", GetLastError());
    return 1;
  }
  launchtest::Driver driver(
      [&](launchtest::Driver& d) {
        HWND start = d.WaitForStart();
        if (!start || !Shoot(d, start, markers, L"startupdate", IDC_SU_cmdOK)) return;
        if (HWND progress = d.WaitForProgress()) Shoot(d, progress, markers, L"movefiles", IDC_MF_cmdExit);
      },
      pi.dwProcessId);
  DWORD code = 1;
  if (WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(pi.hProcess, &code);
  } else {
    std::fprintf(stderr, "drive_quaven: quaven.exe did not end\n");
    TerminateProcess(pi.hProcess, 1);
  }
  driver.Stop();
  for (const std::string& p : driver.problems) std::fprintf(stderr, "drive_quaven: %s\n", p.c_str());
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return driver.problems.empty() ? static_cast<int>(code) : 1;
}
