#include "common/file_system.h"

#include <windows.h>

#include "vb/convert.h"
#include "vb/error.h"

namespace vista::fs {

namespace {

// The names of the layer's own files carry a fixed GUID, so that no one's own file is taken for
// one, and end in "~", so that no pattern of the products matches them: a file written until it
// is complete, and a copy set aside as out of date.
#define LAYER_MARK L".{5B0E6F2A-9C41-4D7B-A3E8-61F0C2D94B17}"
constexpr wchar_t kPartialTail[] = LAYER_MARK L".partial~";
constexpr wchar_t kStaleMark[] = LAYER_MARK L".stale";
#undef LAYER_MARK

FaultPlan g_plan;
long g_operations = 0;

DWORD AttributesOf(const std::wstring& path) {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(path.c_str());
}

// The FileSystemObject's number for a Win32 error of a file operation: the errors it names have
// its own numbers; every other keeps its Win32 number, or its whole HRESULT where that number
// would read as one of the named ones (ERROR_BAD_NETPATH is 53, ERROR_BAD_NET_RESP 58).
// The number of a named error, 0 for any other.
long FsoNumber(DWORD e) {
  switch (e) {
    case ERROR_FILE_NOT_FOUND:
      return vb::errFileNotFound;
    case ERROR_PATH_NOT_FOUND:
      return vb::errPathNotFound;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return vb::errFileAlreadyExists;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return vb::errDiskFull;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return vb::errPermissionDenied;
    default:
      return 0;
  }
}

[[noreturn]] void RaiseFso(DWORD e) {
  if (const long named = FsoNumber(e)) vb::Raise(named);
  long number = static_cast<long>(e & 0xFFFF);
  switch (number) {
    case vb::errFileNotFound:
    case vb::errFileAlreadyExists:
    case vb::errDiskFull:
    case vb::errPermissionDenied:
    case vb::errPathFileAccess:
    case vb::errPathNotFound:
    case 0:
      number = static_cast<long>(HRESULT_FROM_WIN32(e));
      break;
    default:
      break;
  }
  throw vb::RuntimeError(number, vb::Win32ErrorText(e));
}


// Whether the plan's gone folder holds `path` (or is it) and no longer answers for this kind of call.
bool Gone(const std::wstring& path, bool listing) {
  const FaultPlan& p = g_plan;
  if (p.goneFolder.empty() || g_operations < p.goneAfter || (p.onlyListings && !listing)) return false;
  const std::wstring folder = vb::UCase(p.goneFolder), upper = vb::UCase(path);
  return upper == folder || upper.rfind(folder + L"\\", 0) == 0;
}

// One counted operation on `path` begins: the plan may end the process here or fail it.
void Operation(const std::wstring& path) {
  ++g_operations;
  const FaultPlan& p = g_plan;
  if (p.exitOperation == g_operations && p.exitAfterBytes == 0) TerminateProcess(GetCurrentProcess(), 3);
  if (p.pauseOperation == g_operations && p.pause) p.pause();
  if ((p.failOperation == g_operations && p.failAfterBytes == 0) ||
      (!p.failPath.empty() && vb::UCase(p.failPath) == vb::UCase(path)) ||
      (g_operations > p.goneAfter && Gone(path, false)))
    RaiseFso(p.error);
}

// The attributes of the entry at `path`, INVALID_FILE_ATTRIBUTES when there is none: the call
// finds no such file or no such path. Any other failure raises its error.
DWORD Examine(const std::wstring& path) {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  const bool gone = Gone(path, false);
  const DWORD a = gone ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(Win32Path(path).c_str());
  if (a != INVALID_FILE_ATTRIBUTES) return a;
  const DWORD e = gone ? g_plan.error : GetLastError();
  if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) return INVALID_FILE_ATTRIBUTES;
  RaiseFso(e);
}

// The marks of the plan inside the copy of the current operation: where it ends the process
// and where it fails the copy (0: none).
unsigned long long ExitMark() { return g_plan.exitOperation == g_operations ? g_plan.exitAfterBytes : 0; }
unsigned long long FailMark() { return g_plan.failOperation == g_operations ? g_plan.failAfterBytes : 0; }

// How many bytes the copy may write next without passing a mark.
DWORD NextChunk(unsigned long long written, DWORD chunk) {
  unsigned long long n = chunk;
  for (unsigned long long mark : {ExitMark(), FailMark()})
    if (mark > written && mark - written < n) n = mark - written;
  return static_cast<DWORD>(n);
}

// The copy has written `written` bytes: the plan may end the process or fail the copy here.
void CopiedSoFar(unsigned long long written) {
  if (ExitMark() && written >= ExitMark()) TerminateProcess(GetCurrentProcess(), 3);
  if (FailMark() && written >= FailMark()) RaiseFso(g_plan.error);
}

bool HasWildcard(const std::wstring& path) {
  size_t slash = path.find_last_of(L'\\');
  return path.find_first_of(L"*?", slash == std::wstring::npos ? 0 : slash + 1) != std::wstring::npos;
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

// The entries of a folder matching `pattern` ("*" for all), without "." and "..": none when
// nothing matches or the folder is missing. A listing that fails otherwise, at its start or part
// way, raises its error: it is no empty folder.
std::vector<WIN32_FIND_DATAW> Entries(const std::wstring& folder, const std::wstring& pattern) {
  const bool gone = Gone(folder, true);
  std::vector<WIN32_FIND_DATAW> out;
  WIN32_FIND_DATAW fd;
  HANDLE h = gone ? INVALID_HANDLE_VALUE : FindFirstFileW(Win32Path(Join(folder, pattern)).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD e = gone ? g_plan.error : GetLastError();
    if (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND || e == ERROR_NO_MORE_FILES) return out;
    RaiseFso(e);
  }
  do {
    std::wstring n = fd.cFileName;
    if (n != L"." && n != L"..") out.push_back(fd);
  } while (FindNextFileW(h, &fd));
  const DWORD e = GetLastError();
  FindClose(h);
  if (e != ERROR_NO_MORE_FILES) RaiseFso(e);
  return out;
}

std::vector<std::wstring> EntryPaths(const std::wstring& folder, const std::wstring& pattern, bool folders) {
  if (!FolderExists(folder)) vb::Raise(vb::errPathNotFound);
  std::vector<std::wstring> out;
  for (const auto& e : Entries(folder, pattern))
    if (((e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders) out.push_back(Join(folder, e.cFileName));
  return out;
}

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() { if (ok()) CloseHandle(h_); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  void Close() {
    if (ok()) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_;
};

// Removes the copies of `filespec` (a file or a pattern) cut off by an earlier run.
void RemoveLeftovers(const std::wstring& filespec) {
  const std::wstring leftovers = filespec + kPartialTail;
  for (const auto& e : Entries(FolderOf(leftovers), NameOf(leftovers))) {
    if (e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::wstring path = Win32Path(Join(FolderOf(leftovers), e.cFileName));
    if (!IsCopyLeftover(e.cFileName)) continue;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
  }
}

// Writes the bytes to h, or raises the FileSystemObject's error.
void WriteAll(HANDLE h, const char* data, DWORD size) {
  DWORD wrote = 0;
  if (!WriteFile(h, data, size, &wrote, nullptr)) RaiseFso(GetLastError());
  if (wrote != size) vb::Raise(vb::errDiskFull);
}

// Copies one file to the target path, never over an existing one (58), through a temporary
// file renamed into place when complete.
void CopyOneFile(const std::wstring& source, const std::wstring& target) {
  Operation(source);
  RemoveLeftovers(target);  // of this file only: a cut copy of it is of no use
  if (AttributesOf(target) != INVALID_FILE_ATTRIBUTES) vb::Raise(vb::errFileAlreadyExists);
  Handle in(CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!in.ok()) RaiseFso(GetLastError());
  const std::wstring partial = LeftoverOf(target);
  Handle out(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out.ok()) RaiseFso(GetLastError());
  try {
    static constexpr DWORD kChunk = 64 * 1024;
    std::string buffer(kChunk, '\0');
    unsigned long long written = 0;
    for (;;) {
      DWORD got = 0;
      if (!ReadFile(in.get(), buffer.data(), NextChunk(written, kChunk), &got, nullptr)) RaiseFso(GetLastError());
      if (got == 0) break;
      WriteAll(out.get(), buffer.data(), got);
      written += got;
      CopiedSoFar(written);
    }
    FILETIME created, accessed, modified;
    if (GetFileTime(in.get(), &created, &accessed, &modified)) SetFileTime(out.get(), nullptr, nullptr, &modified);
    out.Close();
    DWORD attributes = AttributesOf(source);
    if (attributes != INVALID_FILE_ATTRIBUTES)
      SetFileAttributesW(partial.c_str(), attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                        FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    if (!MoveFileExW(partial.c_str(), target.c_str(), 0)) RaiseFso(GetLastError());
  } catch (...) {
    out.Close();
    SetFileAttributesW(partial.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(partial.c_str());
    throw;
  }
}

// Copies each source file into the folder; files whose target exists are passed over. Returns
// whether any was.
bool CopyFilesInto(const std::vector<std::wstring>& files, const std::wstring& folder) {
  bool existed = false;
  for (const std::wstring& f : files) {
    try {
      CopyOneFile(f, Join(folder, NameOf(f)));
    } catch (const vb::RuntimeError& e) {
      if (e.number() != vb::errFileAlreadyExists) throw;
      existed = true;
    }
  }
  return existed;
}

bool CopyFolderInto(const std::wstring& source, const std::wstring& destination) {
  if (!FolderExists(destination)) {
    if (FileExists(destination)) vb::Raise(vb::errFileAlreadyExists);
    Operation(destination);
    if (!CreateDirectoryW(destination.c_str(), nullptr)) RaiseFso(GetLastError());
  }
  std::vector<std::wstring> files;
  for (const std::wstring& f : EntryPaths(source, L"*", false))
    if (!IsCopyLeftover(NameOf(f)) && !IsSetAside(NameOf(f))) files.push_back(f);
  bool existed = CopyFilesInto(files, destination);
  for (const std::wstring& sub : EntryPaths(source, L"*", true))
    existed = CopyFolderInto(sub, Join(destination, NameOf(sub))) || existed;
  return existed;
}

// Removes one file; a read-only one only when forced (else `readOnlyError`).
void RemoveFile(const std::wstring& path, bool force, long readOnlyError, void (*raise)(DWORD)) {
  Operation(path);
  DWORD a = AttributesOf(path);
  if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY)) {
    if (!force) vb::Raise(readOnlyError);
    SetFileAttributesW(path.c_str(), a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  }
  if (!::DeleteFileW(path.c_str())) {
    DWORD e = GetLastError();
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY)) SetFileAttributesW(path.c_str(), a);
    raise(e);
  }
}

[[noreturn]] void RaiseRuntime(DWORD e) { vb::Raise(vb::FileErrorFromWin32(e)); }

// The files that a file name or pattern names; 53 when there are none, 76 when the folder is missing.
std::vector<std::wstring> Matching(const std::wstring& filespec) {
  const std::wstring folder = FolderOf(filespec);
  if (!folder.empty() && !FolderExists(folder)) vb::Raise(vb::errPathNotFound);
  std::vector<std::wstring> files = FilesMatching(filespec);
  if (files.empty()) vb::Raise(vb::errFileNotFound);
  return files;
}

}  // namespace

std::wstring FolderOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? L"" : path.substr(0, slash);
}

std::wstring NameOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring CollapseBackslashes(std::wstring path) {
  // The leading pair of a network path (\\server\share\...) stays.
  const size_t from = path.rfind(L"\\\\", 0) == 0 ? 2 : 0;
  for (size_t at; (at = path.find(L"\\\\", from)) != std::wstring::npos;) path.erase(at, 1);
  return path;
}

bool FolderExists(const std::wstring& path) {
  DWORD a = Examine(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::wstring& path) {
  DWORD a = Examine(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void MkDir(const std::wstring& path) {
  Operation(path);
  if (CreateDirectoryW(path.c_str(), nullptr)) return;
  DWORD e = GetLastError();
  switch (e) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
    case ERROR_ACCESS_DENIED:
      vb::Raise(vb::errPathFileAccess);
    default:
      vb::Raise(vb::FileErrorFromWin32(e));
  }
}

std::wstring Dir(const std::wstring& pathname, long attributes) {
  if (pathname.empty()) return L"";
  std::wstring pattern = pathname;
  if (pattern.back() == L'\\' || pattern.back() == L'/' || pattern.back() == L':') pattern += L"*.*";
  DWORD excluded = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (attributes & vbDirectory) excluded &= ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY);
  if (attributes & vbHidden) excluded &= ~static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN);
  if (attributes & vbSystem) excluded &= ~static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM);
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(pattern.c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return L"";
  std::wstring found;
  do {
    if (!(fd.dwFileAttributes & excluded)) {
      found = fd.cFileName;
      break;
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return found;
}

void CopyFile(const std::wstring& source, const std::wstring& destination) {
  std::vector<std::wstring> files;
  std::wstring folder = destination, target;
  if (HasWildcard(source)) {
    files = Matching(source);
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  } else {
    if (!FileExists(source)) vb::Raise(FolderExists(FolderOf(source)) ? vb::errFileNotFound : vb::errPathNotFound);
    files.push_back(source);
    if (!destination.empty() && destination.back() == L'\\') {
      folder.pop_back();
    } else {
      if (FolderExists(destination)) vb::Raise(vb::errPermissionDenied);
      folder = FolderOf(destination);
      target = destination;
    }
  }
  if (!FolderExists(folder)) vb::Raise(vb::errPathNotFound);
  bool existed = false;
  if (target.empty()) {
    existed = CopyFilesInto(files, folder);
  } else {
    CopyOneFile(source, target);
  }
  if (existed) vb::Raise(vb::errFileAlreadyExists);
}

void CopyFolder(const std::wstring& source, const std::wstring& destination) {
  if (!FolderExists(source)) vb::Raise(vb::errPathNotFound);
  std::wstring target = destination;
  while (target.size() > 3 && target.back() == L'\\') target.pop_back();
  if (!FolderExists(target) && !FolderExists(FolderOf(target))) vb::Raise(vb::errPathNotFound);
  if (CopyFolderInto(source, target)) vb::Raise(vb::errFileAlreadyExists);
}

void DeleteFile(const std::wstring& filespec, bool force) {
  for (const std::wstring& f : Matching(filespec)) RemoveFile(f, force, vb::errPermissionDenied, RaiseFso);
}

void DeleteFolder(const std::wstring& folderspec, bool force) {
  if (!FolderExists(folderspec)) vb::Raise(vb::errPathNotFound);
  for (const std::wstring& f : EntryPaths(folderspec, L"*", false)) RemoveFile(f, force, vb::errPermissionDenied, RaiseFso);
  for (const std::wstring& sub : EntryPaths(folderspec, L"*", true)) DeleteFolder(sub, force);
  Operation(folderspec);
  if (!RemoveDirectoryW(folderspec.c_str())) RaiseFso(GetLastError());
}

std::vector<std::wstring> Files(const std::wstring& folder) { return EntryPaths(folder, L"*", false); }

std::vector<std::wstring> SubFolders(const std::wstring& folder) { return EntryPaths(folder, L"*", true); }

void CreateTextFile(const std::wstring& path, const std::wstring& text) {
  const std::wstring folder = FolderOf(path);
  if (!folder.empty() && !FolderExists(folder)) vb::Raise(vb::errPathNotFound);
  if (FolderExists(path)) vb::Raise(vb::errPermissionDenied);
  Operation(path);
  const std::wstring partial = LeftoverOf(path);
  Handle out(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out.ok()) RaiseFso(GetLastError());
  try {
    const std::string bytes = vb::ToAnsi(text);
    WriteAll(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()));
    out.Close();
    if (!MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) RaiseFso(GetLastError());
  } catch (...) {
    out.Close();
    ::DeleteFileW(partial.c_str());
    throw;
  }
}

void Kill(const std::wstring& pathname) {
  for (const std::wstring& f : Matching(pathname)) RemoveFile(f, false, vb::errPathFileAccess, RaiseRuntime);
}

std::vector<std::wstring> FilesMatching(const std::wstring& filespec) {
  std::vector<std::wstring> files;
  if (!HasWildcard(filespec)) {
    if (FileExists(filespec)) files.push_back(filespec);
  } else if (FolderExists(FolderOf(filespec))) {
    files = EntryPaths(FolderOf(filespec), NameOf(filespec), false);
  }
  return files;
}

void RemoveCopyLeftovers(const std::wstring& filespec) { RemoveLeftovers(filespec); }

std::wstring LeftoverOf(const std::wstring& path) { return Win32Path(path + kPartialTail); }

std::wstring Win32Path(const std::wstring& path) {
  if (path.size() < MAX_PATH || path.rfind(L"\\\\?\\", 0) == 0) return path;
  std::wstring full(path.size() + MAX_PATH, L'\0');
  const DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (n == 0 || n >= full.size()) return path;
  full.resize(n);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
  Handle fa(CreateFileW(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  Handle fb(CreateFileW(b.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!fa.ok() || !fb.ok()) return false;
  BY_HANDLE_FILE_INFORMATION ia, ib;
  if (!GetFileInformationByHandle(fa.get(), &ia) || !GetFileInformationByHandle(fb.get(), &ib)) return false;
  if ((ia.dwFileAttributes | ib.dwFileAttributes) & FILE_ATTRIBUTE_DIRECTORY) return false;
  if (ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
      ia.nFileIndexLow == ib.nFileIndexLow)
    return false;  // one file
  wchar_t fullA[MAX_PATH * 2], fullB[MAX_PATH * 2];
  if (GetFullPathNameW(a.c_str(), MAX_PATH * 2, fullA, nullptr) &&
      GetFullPathNameW(b.c_str(), MAX_PATH * 2, fullB, nullptr) && vb::UCase(fullA) == vb::UCase(fullB))
    return false;
  if (ia.nFileSizeHigh != ib.nFileSizeHigh || ia.nFileSizeLow != ib.nFileSizeLow) return false;
  static constexpr DWORD kChunk = 64 * 1024;
  std::string ba(kChunk, '\0'), bb(kChunk, '\0');
  for (;;) {
    DWORD ga = 0, gb = 0;
    if (!ReadFile(fa.get(), ba.data(), kChunk, &ga, nullptr) || !ReadFile(fb.get(), bb.data(), kChunk, &gb, nullptr))
      return false;
    if (ga != gb || ba.compare(0, ga, bb, 0, gb) != 0) return false;
    if (ga == 0) return true;
  }
}

bool IsCopyLeftover(const std::wstring& name) {
  const std::wstring tail = kPartialTail;
  return name.size() > tail.size() && vb::UCase(name.substr(name.size() - tail.size())) == vb::UCase(tail);
}

bool IsSetAside(const std::wstring& name) { return vb::UCase(name).find(vb::UCase(kStaleMark)) != std::wstring::npos; }

std::wstring SetAside(const std::wstring& path) {
  for (long n = 1;; ++n) {
    const std::wstring name = Win32Path(path + kStaleMark + (n == 1 ? L"" : vb::LongToText(n)) + L"~");
    if (Examine(name) != INVALID_FILE_ATTRIBUTES) continue;
    Operation(path);
    if (g_plan.failSetAside) RaiseFso(g_plan.error);
    if (!MoveFileExW(path.c_str(), name.c_str(), 0)) RaiseFso(GetLastError());
    return name;
  }
}

void SetFaultPlan(const FaultPlan& plan) {
  g_plan = plan;
  g_operations = 0;
}

long OperationCount() { return g_operations; }

}  // namespace vista::fs
