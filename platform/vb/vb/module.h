// The module (DLL or program) that holds this code: its handle and its file.
#pragma once
#include <windows.h>

#include <string>

namespace vb {

// The module whose image holds this function: the DLL when linked into one, else the program.
HMODULE ThisModule() noexcept;
// Its full path ("" when Windows gives none).
std::wstring ThisModulePath();
// Its file name without folder and extension.
std::wstring ThisModuleBaseName();

}  // namespace vb
