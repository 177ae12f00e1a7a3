// Helpers of the Vista support tests: the Windows version this program runs as, the shell's
// folders through the known-folder calls.
#pragma once
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <string>

#include "com/object.h"
#include "common/file_locations.h"
#include "common/mby_app_name.h"
#include "window_answerer.h"

// Each test program is built twice; ctest makes Wine report Windows XP (5.1) to one and
// Windows Vista (6.0) to the other.
#ifndef RUNS_AS_VISTA
#error "RUNS_AS_VISTA must be 0 or 1"
#endif

namespace vista::testhelp {

constexpr bool kRunsAsVista = RUNS_AS_VISTA != 0;

// A known folder of the calling user ("" when there is none).
inline std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR p = nullptr;
  std::wstring out;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &p))) out = p;
  CoTaskMemFree(p);
  return out;
}

using testutil::TextOf;
using testutil::WindowAnswerer;

}  // namespace vista::testhelp
