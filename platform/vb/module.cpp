#include "vb/module.h"

namespace vb {

HMODULE ThisModule() noexcept {
  // A module's image is one allocation, whose base is its handle.
  MEMORY_BASIC_INFORMATION info{};
  if (!VirtualQuery(reinterpret_cast<LPCVOID>(&ThisModule), &info, sizeof info)) return nullptr;
  return static_cast<HMODULE>(info.AllocationBase);
}

std::wstring ThisModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring ThisModuleBaseName() {
  const std::wstring path = ThisModulePath();
  size_t slash = path.find_last_of(L"\\/");
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos && dot > 0) name.resize(dot);
  return name;
}

}  // namespace vb
