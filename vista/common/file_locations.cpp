#include "common/file_locations.h"

#include <windows.h>
#include <shlobj.h>

#include "common/file_system.h"
#include "common/module1.h"
#include "vb/convert.h"
#include "vb/error.h"

namespace vista {

// {8230869A-26FA-4932-953B-61469581F329}
const IID IID__fileLocations___v0 = {0x8230869A, 0x26FA, 0x4932, {0x95, 0x3B, 0x61, 0x46, 0x95, 0x81, 0xF3, 0x29}};

namespace {

// Replace(text, find, with): every occurrence, left to right, compared exactly.
std::wstring ReplaceAll(const std::wstring& text, const std::wstring& find, const std::wstring& with) {
  std::wstring out;
  size_t from = 0;
  for (size_t at; (at = text.find(find, from)) != std::wstring::npos; from = at + find.size())
    out.append(text, from, at - from).append(with);
  return out.append(text, from, std::wstring::npos);
}

}  // namespace

std::wstring fileLocations::ProductFolder(long folderId, const MBYAppName* newAppName) const {
  const MBYAppName* product = newAppName ? newAppName : appName.get();
  if (!product) vb::Raise(vb::errObjectNotSet);
  return Module1::getSpecialFolder(nullptr, folderId, 0) + L"\\Marlowby\\" + product->appDirName();
}

std::wstring fileLocations::preferredAppPath(const MBYAppName* newAppName) const {
  return ProductFolder(CSIDL_PROGRAM_FILES, newAppName);
}
std::wstring fileLocations::publicDataPath(const MBYAppName* newAppName) const {
  return ProductFolder(CSIDL_COMMON_DOCUMENTS, newAppName);
}
std::wstring fileLocations::hiddenDataPath(const MBYAppName* newAppName) const {
  return ProductFolder(CSIDL_COMMON_APPDATA, newAppName);
}

bool fileLocations::preferredAppPathExists(const MBYAppName* newAppName) const {
  return !fs::Dir(preferredAppPath(newAppName), fs::vbDirectory).empty();
}
bool fileLocations::publicDataPathExists(const MBYAppName* newAppName) const {
  return !fs::Dir(publicDataPath(newAppName), fs::vbDirectory).empty();
}
bool fileLocations::hiddenDataPathExists(const MBYAppName* newAppName) const {
  return !fs::Dir(hiddenDataPath(newAppName), fs::vbDirectory).empty();
}

std::wstring fileLocations::userTempPath() const {
  std::string buffer(512, ' ');
  DWORD n = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
  if (n >= buffer.size()) {  // the buffer was too small: n is the size needed
    buffer.assign(n, ' ');
    n = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n >= buffer.size()) n = 0;
  }
  if (n == 0) vb::Raise(vb::errInvalidCall);
  buffer.resize(n - 1);
  return vb::FromAnsi(buffer);
}

std::wstring fileLocations::userDocPath() const { return Module1::getSpecialFolder(nullptr, CSIDL_PERSONAL, 0); }

std::wstring fileLocations::userVirtualDataPath() const {
  return Module1::getSpecialFolder(nullptr, CSIDL_LOCAL_APPDATA, 0) + L"\\VirtualStore";
}

std::wstring fileLocations::getVirtualPath(const std::wstring& pathAndFile) const {
  // As the Scripting Runtime's FileExists answers: a path that cannot be examined is not found.
  auto found = [](const std::wstring& path) {
    try {
      return fs::FileExists(path);
    } catch (const vb::RuntimeError&) {
      return false;
    }
  };
  std::wstring virtualPath = ReplaceAll(vb::UCase(pathAndFile), L"C:", userVirtualDataPath());
  if (found(virtualPath)) return virtualPath;
  if (found(pathAndFile)) return pathAndFile;
  return L"";
}

}  // namespace vista
