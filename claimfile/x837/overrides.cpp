#include <windows.h>

#include <string>

#include "vb/convert.h"
#include "vb/files.h"
#include "vb/present.h"
#include "x837/edi837.h"
#include "x837/version_services.h"

namespace claimfile::Edi837 {

namespace {

// Whether an ordinary file is there: a folder, a hidden or a system file is not seen.
bool OrdinaryFileExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  return (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

OverrideLines SplitLines(const std::wstring& text) {
  OverrideLines lines;
  if (text.empty()) return lines;  // as Split gives no piece at all for an empty text
  size_t from = 0;
  for (size_t at; (at = text.find(L"\r\n", from)) != std::wstring::npos; from = at + 2)
    lines.push_back(text.substr(from, at - from));
  lines.push_back(text.substr(from));
  return lines;
}

// The whole file as text (in the 8-bit code page), closed again whatever happens.
std::wstring ReadWholeFile(const std::wstring& path) {
  const short fn = vb::FreeFile();
  try {
    vb::OpenForInput(fn, path);
    std::wstring text = vb::ReadAll(fn);
    vb::Close(fn);
    return text;
  } catch (...) {
    vb::Close(fn);
    throw;
  }
}

void ShowOverrideError(const wchar_t* what, const std::wstring& kind, const vb::RuntimeError& e,
                       const wchar_t* title) {
  vb::MsgBox(what + kind + L". " + std::to_wstring(e.number()) + L" - " + e.description(),
             vb::vbCritical | vb::vbOKOnly, title);
}

}  // namespace

bool LoadOverrideFile(OverrideLines& lines, const std::wstring& kind) {
  try {
    const std::wstring upper = vb::UCase(kind);
    const std::wstring& data = State().DataFolder;
    if (upper == L"UHIN") return OrdinaryFileExists(data + L"UHIN.txt");  // beside the data folder
    std::wstring name;
    if (upper == L"TOS")
      name = L"TOS.txt";
    else if (upper == L"CLM16")
      name = L"CLM16.txt";
    else
      return false;
    const std::wstring path = InFolder(data, name);
    if (!OrdinaryFileExists(path)) return false;
    lines = SplitLines(ReadWholeFile(path));
    return true;
  } catch (const vb::RuntimeError& e) {
    ShowOverrideError(L"An error occurred reading override file ", kind, e, L"Error Reading OverRide File");
    return false;
  }
}

std::wstring MatchOverride(const std::wstring& value, const OverrideLines& lines, const std::wstring& kind) {
  try {
    const std::wstring upper = vb::UCase(kind);
    const bool tos = upper == L"TOS";
    if (!tos && upper != L"CLM16") return L"";
    // The walk counts lines in 16 bits: past 32767 it overflows.
    constexpr size_t kMaxIndex = 32767;
    if (lines.size() > kMaxIndex + 1) vb::Raise(vb::errOverflow);
    const std::wstring v = vb::Trim(vb::UCase(value));
    for (const std::wstring& line : lines) {
      const std::wstring l = vb::Trim(vb::UCase(line));
      if (l.empty()) continue;  // a blank line stands for no value, so it matches nothing
      const bool match =
          l == v || (!tos && GetPiece(l, 1, L",") == L"ALL" && GetPiece(l, 2, L",") == GetPiece(v, 2, L","));
      if (match) return vb::UCase(value);
    }
    if (lines.size() > kMaxIndex) vb::Raise(vb::errOverflow);
    return L"";
  } catch (const vb::RuntimeError& e) {
    ShowOverrideError(L"An error occurred while processing an Override for ", kind, e,
                      L"Error Processing Override");
    return L"";
  }
}

std::wstring ReadSetting(const std::wstring& section, const std::wstring& key, const std::wstring& defaultValue,
                         const std::wstring& fileName) {
  constexpr DWORD kBufferSize = 2048;
  std::wstring file = fileName;
  if (file.empty()) file = IsOSVersionVista() ? InFolder(State().SettingsFolder, L"TM3.INI") : L"TM3.INI";
  std::string buffer(kBufferSize, ' ');
  const DWORD copied = GetPrivateProfileStringA(vb::ToAnsi(section).c_str(), vb::ToAnsi(key).c_str(),
                                                vb::ToAnsi(defaultValue).c_str(), buffer.data(), kBufferSize,
                                                vb::ToAnsi(file).c_str());
  buffer.resize(copied);
  return vb::FromAnsi(buffer);
}

}  // namespace claimfile::Edi837
