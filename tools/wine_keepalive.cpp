// Keeps the wineserver, the system services and the desktop alive for a bounded time, so each
// test program starts warm and leaves no Wine process behind holding the test runner's pipe.
// Prints "ready" once the desktop is up; scripts/test starts the tests only then.
// Usage: wine_keepalive.exe [seconds=1800]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  int seconds = argc > 1 ? std::atoi(argv[1]) : 1800;
  if (!GetDesktopWindow()) return 1;
  std::puts("ready");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(seconds) * 1000u);
  return 0;
}
