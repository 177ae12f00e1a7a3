// Copying single move items: a file or pattern into a folder, a folder to its new path.
#include "common/file_system.h"
#include "common/module1.h"
#include "relocation/manage_files.h"
#include "vb/convert.h"
#include "vb/error.h"

namespace vista {

using fs::CollapseBackslashes;
using fs::FolderOf;
using fs::NameOf;

namespace {

bool Tolerated(long n) {
  return n == 0 || n == vb::errFileNotFound || n == vb::errFileAlreadyExists || n == vb::errPathFileAccess ||
         n == vb::errPathNotFound;
}

// The error a copy ends in: its number (0 when it succeeded) and description.
struct CopyOutcome {
  long number = 0;
  std::wstring description;
};

template <class F>
CopyOutcome Attempt(F&& copy) {
  try {
    copy();
    return {};
  } catch (const vb::RuntimeError& e) {
    return {e.number(), e.description()};
  }
}

}  // namespace

// What tells a file copy from a folder copy in the routines' reports.
struct ManageFiles::CopyKind {
  void (*copy)(const std::wstring& source, const std::wstring& destination);
  const wchar_t* toleratedText;
  const wchar_t* failureText;
};
const ManageFiles::CopyKind ManageFiles::kFileCopy{&fs::CopyFile, L"Move of ", L"Copy File Error while "};
const ManageFiles::CopyKind ManageFiles::kFolderCopy{&fs::CopyFolder, L"Attempted copy of ",
                                                     L"Copy Directory Error while "};

// The copy routines report through Step: a cancel during a report stops the run, except inside a
// rollback, which goes on.
bool ManageFiles::copyFileItem(std::wstring source, std::wstring destination, const std::wstring& message,
                               bool ignoreErrors) {
  Step(moving, message);
  if (!DestinationMade(destination, true, destination, ignoreErrors)) return false;
  if (!destination.empty() && destination.back() == L'\\') destination.pop_back();
  const size_t slash = destination.find_last_of(L'\\');
  const std::wstring last = slash == std::wstring::npos ? destination : destination.substr(slash + 1);
  if (last.find(L'.') == std::wstring::npos) destination += L"\\";
  return FinishCopy(kFileCopy, source, destination, message, ignoreErrors);
}

bool ManageFiles::copyFolderItem(const std::wstring& source, const std::wstring& destination,
                                 const std::wstring& message, bool ignoreErrors) {
  Step(moving, message);
  const size_t slash = destination.find_last_of(L'\\');
  const std::wstring parent = slash == std::wstring::npos ? L"" : destination.substr(0, slash + 1);
  if (!DestinationMade(parent, false, destination, ignoreErrors)) return false;
  return FinishCopy(kFolderCopy, source, destination, message, ignoreErrors);
}

bool ManageFiles::DestinationMade(const std::wstring& path, bool lastIsFile, const std::wstring& destination,
                                  bool ignoreErrors) {
  bool made = false;
  try {
    made = Module1::createPath(path, lastIsFile);
  } catch (const vb::RuntimeError&) {
  }
  if (made || ignoreErrors) return true;
  Step(Failed, L"Error creating the destination path for " + destination);
  return false;
}

bool ManageFiles::FinishCopy(const CopyKind& kind, const std::wstring& source, const std::wstring& destination,
                             const std::wstring& message, bool ignoreErrors) {
  bool absent = false;
  CopyOutcome n = Attempt([&] { absent = SourceAbsent(source); });
  if (absent) return true;
  // A source that could not be examined fails the item, whatever the number.
  bool tolerable = n.number == 0;
  if (tolerable) {
    n = Attempt([&] { kind.copy(CollapseBackslashes(source), CollapseBackslashes(destination)); });
    if (n.number == vb::errFileNotFound || n.number == vb::errPathNotFound) {
      // Not found is tolerated only while the source's folder answers (no share gone meanwhile).
      const CopyOutcome folder = Attempt([&] { SourceFolderAnswers(source); });
      if (folder.number) n = folder, tolerable = false;
    }
  }
  const std::wstring number = L"(" + vb::LongToText(n.number) + L") ";
  if (tolerable && Tolerated(n.number)) {
    if (n.number) Step(moving, kind.toleratedText + source + L" caused error " + number + n.description);
    return true;
  }
  if (!ignoreErrors) Step(Failed, kind.failureText + message + L" " + number + n.description);
  return false;
}

bool ManageFiles::SourceAbsent(const std::wstring& source) {
  const std::wstring path = CollapseBackslashes(source);
  if (path.empty()) return true;
  if (pathExists(path)) return false;
  SourceFolderAnswers(path);
  return true;
}

void ManageFiles::SourceFolderAnswers(const std::wstring& source) {
  if (!fs::FolderExists(FolderOf(CollapseBackslashes(source)))) vb::Raise(vb::errPathNotFound);
}

bool ManageFiles::pathExists(const std::wstring& path) {
  // No folder or file name holds a "*": a pattern is only looked for as one.
  if (path.find(L'*') == std::wstring::npos) return fs::FolderExists(path) || fs::FileExists(path);
  const size_t slash = path.find_last_of(L'\\');
  const std::wstring folder = slash == std::wstring::npos ? L"" : path.substr(0, slash);
  const std::wstring tail = slash == std::wstring::npos ? path.substr(1) : path.substr(slash + 2);
  if (!fs::FolderExists(folder)) return false;
  for (const std::wstring& file : fs::Files(folder))
    if (file.size() >= 4 && file.compare(file.size() - 4, 4, tail) == 0) return true;
  return false;
}

}  // namespace vista
