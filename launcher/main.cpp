// quaven.exe: runs the relocation launcher on this program's command line.
#include <windows.h>
#include <ole2.h>

#include "qv_mod.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  if (FAILED(OleInitialize(nullptr))) return 2;
  const int code = launcher::QvMod::Main(launcher::QvMod::CommandLine());
  OleUninitialize();
  return code;
}
