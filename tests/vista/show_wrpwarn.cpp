// show_wrpwarn.exe <marker file>
// Shows the protection warning window of gorsewick.dll (the DLL beside this program, loaded
// without registration), then clicks its "OK" button once the marker file exists, at most a
// minute after the window appeared. Used by scripts/screenshot-wrpwarn. Exit code 0 when the
// window was shown and closed with "OK".
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "../common/test_thread.h"
#include "gorsewick.h"

namespace {

const wchar_t kCaption[] = L"Windows Resource Protection";

std::wstring Beside(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  std::wstring p(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
  return p.substr(0, p.find_last_of(L"\\/") + 1) + name;
}

HWND WaitForWindow(DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 50, Sleep(50)) {
    HWND w = FindWindowW(nullptr, kCaption);
    DWORD pid = 0;
    if (w && GetWindowThreadProcessId(w, &pid) && pid == GetCurrentProcessId() && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: show_wrpwarn <marker file>\n");
    return 2;
  }
  const std::wstring marker = argv[1];
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
  HMODULE dll = LoadLibraryW(Beside(L"gorsewick.dll").c_str());
  auto getClass = dll ? reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
                            GetProcAddress(dll, "DllGetClassObject"))
                      : nullptr;
  IClassFactory* factory = nullptr;
  _VistaInfo* info = nullptr;
  if (!getClass || FAILED(getClass(CLSID_VistaInfo, IID_IClassFactory, reinterpret_cast<void**>(&factory))) ||
      FAILED(factory->CreateInstance(nullptr, IID__VistaInfo, reinterpret_cast<void**>(&info)))) {
    std::fprintf(stderr, "show_wrpwarn: cannot create VistaInfo from gorsewick.dll\n");
    return 4;
  }
  factory->Release();

  bool clicked = false;
  testutil::Thread clicker([&] {
    HWND dlg = WaitForWindow(30000);
    if (!dlg) return;
    for (int i = 0; i < 1200 && GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
    if (HWND ok = FindWindowExW(dlg, nullptr, L"Button", L"OK")) {
      SendMessageW(ok, BM_CLICK, 0, 0);
      clicked = true;
    } else {
      PostMessageW(dlg, WM_CLOSE, 0, 0);
    }
  });
  BSTR noFile = nullptr;
  VARIANT_BOOL result = VARIANT_TRUE;
  HRESULT hr = info->showWRPWarningDialog(&noFile, &result);
  clicker.join();
  info->Release();
  std::printf("showWRPWarningDialog: hr=0x%08lx result=%d\n", static_cast<unsigned long>(hr), result ? 1 : 0);
  CoUninitialize();
  return SUCCEEDED(hr) && clicked && result == VARIANT_FALSE ? 0 : 1;
}
