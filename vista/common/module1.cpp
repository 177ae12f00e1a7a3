#include "common/module1.h"

#include <shlobj.h>

#include <vector>

#include "common/file_system.h"
#include "vb/convert.h"
#include "vb/error.h"
#include "vb/present.h"

namespace vista::Module1 {

namespace {

constexpr DWORD kIniBufferSize = 2048;

// The position of `what` in `text` at or after `from`, compared without regard to case.
size_t FindText(const std::wstring& foldedText, const std::wstring& foldedWhat, size_t from) {
  return foldedWhat.empty() ? std::wstring::npos : foldedText.find(foldedWhat, from);
}

std::vector<std::wstring> SplitAtBackslash(const std::wstring& path) {
  std::vector<std::wstring> segments;
  size_t start = 0;
  for (;;) {
    size_t slash = path.find(L'\\', start);
    segments.push_back(path.substr(start, slash == std::wstring::npos ? std::wstring::npos : slash - start));
    if (slash == std::wstring::npos) break;
    start = slash + 1;
  }
  return segments;
}

}  // namespace

std::wstring readIniSetting(std::wstring section, std::wstring key, std::wstring defaultValue,
                            const std::wstring& iniFile) {
  std::string buffer(kIniBufferSize, ' ');
  DWORD n = GetPrivateProfileStringA(vb::ToAnsi(section).c_str(), vb::ToAnsi(key).c_str(),
                                     vb::ToAnsi(defaultValue).c_str(), buffer.data(), kIniBufferSize,
                                     vb::ToAnsi(iniFile).c_str());
  buffer.resize(n < kIniBufferSize ? n : kIniBufferSize);
  return vb::FromAnsi(buffer);
}

bool writeIniSetting(std::wstring section, std::wstring key, std::wstring value, const std::wstring& iniFile) {
  return WritePrivateProfileStringA(vb::ToAnsi(section).c_str(), vb::ToAnsi(key).c_str(),
                                    vb::ToAnsi(value).c_str(), vb::ToAnsi(iniFile).c_str()) != 0;
}

std::wstring getField(const std::wstring& text, short index, const std::wstring& delimiter) {
  const std::wstring t = vb::UCase(text), d = vb::UCase(delimiter);
  size_t first = FindText(t, d, 0);
  if (first == std::wstring::npos) return index <= 1 ? vb::Trim(text) : L"";
  if (index < 1) return L"";
  if (index == 1) return text.substr(0, first);
  // Delimiter n-1 starts the field, delimiter n (when there is one) ends it.
  size_t start = first;
  for (short n = 2; n < index; ++n) {
    start = FindText(t, d, start + d.size());
    if (start == std::wstring::npos) return L"";
  }
  size_t from = start + d.size();
  size_t end = FindText(t, d, from);
  return vb::Trim(text.substr(from, end == std::wstring::npos ? std::wstring::npos : end - from));
}

std::wstring getSpecialFolder(HWND window, long folderId, long flags) {
  char buffer[MAX_PATH + 1] = {};
  // No access token: the folders of the calling user.
  HRESULT hr = SHGetFolderPathA(window, static_cast<int>(folderId | CSIDL_FLAG_DONT_VERIFY), nullptr,
                                static_cast<DWORD>(flags), buffer);
  if (hr != S_OK) return L"";
  return vb::FromAnsi(buffer);
}

bool createPath(std::wstring path, bool lastIsFile) {
  std::wstring built;
  try {
    // A network path keeps "\\server\share\" (in the long form "\\?\UNC\server\share\", and a
    // drive's "\\?\C:\") and a rooted path its "\" as the start; none is a folder to make.
    std::wstring rest = path;
    if (path.rfind(L"\\\\", 0) == 0) {
      const size_t from = vb::UCase(path.substr(0, 8)) == L"\\\\?\\UNC\\" ? 8 : 2;
      size_t server = path.find(L'\\', from);
      size_t share = server == std::wstring::npos ? std::wstring::npos : path.find(L'\\', server + 1);
      built = share == std::wstring::npos ? path + L"\\" : path.substr(0, share + 1);
      rest = share == std::wstring::npos ? L"" : path.substr(share + 1);
    } else if (path.rfind(L"\\", 0) == 0) {
      built = L"\\";
    }
    std::vector<std::wstring> segments = SplitAtBackslash(rest);
    size_t count = segments.size() - (lastIsFile && !segments.empty() ? 1 : 0);
    for (size_t i = 0; i < count; ++i) {
      const std::wstring& segment = segments[i];
      if (segment.empty()) continue;
      built += segment;
      if (segment.back() != L':' && !fs::FolderExists(built)) fs::MkDir(built);
      built += L"\\";
    }
    return true;
  } catch (const vb::RuntimeError& e) {
    vb::MsgBox(L"Error Creating Directory " + built + L" (" + vb::LongToText(e.number()) + L") " +
                   e.description(),
               vb::vbOKOnly);
    return false;
  }
}

}  // namespace vista::Module1
