#include "qv_mod.h"

#include <windows.h>

#include <new>
#include <vector>

#include "com/client.h"
#include "frm_start_update.h"
#include "vb/convert.h"
#include "vb/error.h"
#include "vb/module.h"
#include "vb/present.h"

namespace launcher::QvMod {

namespace {

std::wstring Trim(const std::wstring& s) {
  const size_t first = s.find_first_not_of(L' ');
  if (first == std::wstring::npos) return L"";
  return s.substr(first, s.find_last_not_of(L' ') - first + 1);
}

// The segments of the trimmed command line between its dashes, empty ones included. A double
// quote that has a closing one keeps the dashes up to it: text in quotes is never cut, and a
// switch in it is no switch. Where the quotes held a dash, the segment ends at the closing quote
// and what follows it starts a segment of its own. A quote never closed quotes nothing. Quoted
// text that starts with a dash ("-D:\B", "-INTESTMODE") starts a segment as that dash would
// outside the quotes: the segment is the text after the dash, unquoted.
std::vector<std::wstring> Segments(const std::wstring& cmd) {
  const std::wstring text = Trim(cmd);
  std::vector<std::wstring> segments(1);
  for (size_t at = 0; at < text.size(); ++at) {
    const wchar_t c = text[at];
    if (c == L'-') {
      segments.emplace_back();
      continue;
    }
    const size_t close = c == L'"' ? text.find(L'"', at + 1) : std::wstring::npos;
    if (close == std::wstring::npos) {
      segments.back() += c;
      continue;
    }
    if (text[at + 1] == L'-') {
      segments.emplace_back(text.substr(at + 2, close - at - 2));
    } else {
      segments.back() += text.substr(at, close - at + 1);
    }
    if (text.find(L'-', at) < close) segments.emplace_back();
    at = close;
  }
  return segments;
}

std::wstring WithoutQuotes(std::wstring s) {
  std::erase_if(s, [](wchar_t c) { return c == L'"' || c == L'\''; });
  return s;
}

bool NamesPath(const std::wstring& s) { return s.rfind(L"\\\\", 0) == 0 || (s.size() >= 2 && s[1] == L':'); }

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L'\\'));
}

void ShowStop(const vb::RuntimeError& e) {
  vb::MsgBox(L"The update of protected files has stopped: error " + vb::LongToText(e.number()) + L" - " +
                 e.description(),
             vb::vbCritical, frmStartUpdate::kCaption);
}

}  // namespace

std::wstring ArgumentsOf(const std::wstring& fullCommandLine) {
  size_t at = 0;
  const size_t n = fullCommandLine.size();
  while (at < n && (fullCommandLine[at] == L' ' || fullCommandLine[at] == L'\t')) ++at;
  if (at < n && fullCommandLine[at] == L'"') {
    const size_t close = fullCommandLine.find(L'"', at + 1);
    at = close == std::wstring::npos ? n : close + 1;
  } else {
    while (at < n && fullCommandLine[at] != L' ' && fullCommandLine[at] != L'\t') ++at;
  }
  while (at < n && (fullCommandLine[at] == L' ' || fullCommandLine[at] == L'\t')) ++at;
  return fullCommandLine.substr(at);
}

std::wstring CommandLine() { return ArgumentsOf(GetCommandLineW()); }

bool getCommandLineArg(const std::wstring& cmd, const std::wstring& key, std::wstring& value) {
  const std::wstring lowerKey = vb::LCase(key);
  if (lowerKey != L"startpath" && (Trim(cmd).empty() || Trim(key).empty())) return false;
  if (lowerKey == L"startpath") {
    for (const std::wstring& segment : Segments(cmd)) {
      const std::wstring cleaned = WithoutQuotes(Trim(segment));
      if (NamesPath(cleaned)) {
        value = cleaned;
        return true;
      }
    }
    return false;
  }
  if (vb::LCase(cmd).find(lowerKey) == std::wstring::npos) return false;
  for (const std::wstring& segment : Segments(cmd)) {
    const std::wstring lowerSegment = vb::LCase(segment);
    if (lowerSegment.substr(0, lowerKey.size()) == lowerKey) {
      std::wstring rest = lowerSegment;
      for (size_t at; (at = rest.find(lowerKey)) != std::wstring::npos;) rest.erase(at, lowerKey.size());
      value = rest;
      return true;
    }
  }
  return false;
}

bool getCommandLineArg(const std::wstring& key, std::wstring& value) {
  return getCommandLineArg(CommandLine(), key, value);
}

int Main(const std::wstring& cmd) {
  try {
    com::Ptr<_ManageFiles> mover = frmStartUpdate::NewMover();
    frmStartUpdate form;
    std::wstring startPath;
    form.appPath = getCommandLineArg(cmd, L"STARTPATH", startPath) ? startPath : ProgramFolder();
    form.mngFiles(mover);
    std::wstring scratch;
    if (getCommandLineArg(cmd, L"INTESTMODE", scratch)) {
      com::Check(mover->put_INTESTMODE(VARIANT_TRUE));
      form.ShowModal();
    } else {
      moveStatuses status = notStarted;
      com::Check(mover->moveStatus(&status));
      if (status != contactMarlowby && status != completed) form.ShowModal();
    }
    return 0;
  } catch (const vb::RuntimeError& e) {
    ShowStop(e);
  } catch (const std::bad_alloc&) {
    ShowStop(vb::RuntimeError(vb::errOutOfMemory));
  }
  return 1;
}

}  // namespace launcher::QvMod
