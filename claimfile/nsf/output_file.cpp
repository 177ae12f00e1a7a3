#include "nsf/output_file.h"

#include <windows.h>

#include "vb/error.h"
#include "vb/files.h"

namespace claimfile::nsf {

namespace {

[[noreturn]] void RaiseFileError(DWORD win32Error) { vb::Raise(vb::FileErrorFromWin32(win32Error)); }

std::wstring FullPath(const std::wstring& path) {
  if (path.empty()) vb::Raise(vb::errBadFileNameOrNumber);
  DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  std::wstring full(n, L'\0');
  if (n == 0 || (n = GetFullPathNameW(path.c_str(), n, full.data(), nullptr)) == 0 || n >= full.size())
    vb::Raise(vb::errBadFileNameOrNumber);
  full.resize(n);
  return full;
}

// The target may be replaced: it is missing, or an ordinary file that this process could open
// for writing at this moment.
void CheckReplaceable(const std::wstring& target) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) vb::Raise(vb::errPathFileAccess);
  HANDLE h = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) RaiseFileError(GetLastError());
  CloseHandle(h);
}

// A new, empty file in the target's folder whose name no file has yet.
std::wstring CreateBeside(const std::wstring& target) {
  static LONG counter = 0;
  for (int attempt = 0;; ++attempt) {
    wchar_t suffix[40];
    wsprintfW(suffix, L".%lx-%lx.tmp", GetCurrentProcessId(), static_cast<unsigned long>(InterlockedIncrement(&counter)));
    std::wstring name = target + suffix;
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      CloseHandle(h);
      return name;
    }
    const DWORD err = GetLastError();
    if ((err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) || attempt == 100) RaiseFileError(err);
  }
}

}  // namespace

void OutputFile::Open(const std::wstring& target) {
  Abandon();
  given_ = target;
  try {
    OpenTemporary(target);
  } catch (const vb::RuntimeError& e) {
    throw WithPath(e);
  }
}

void OutputFile::OpenTemporary(const std::wstring& target) {
  const std::wstring full = FullPath(target);
  CheckReplaceable(full);
  temp_ = CreateBeside(full);
  target_ = full;
  try {
    const short fn = vb::FreeFile();
    vb::OpenForOutput(fn, temp_, true);
    number_ = fn;
  } catch (...) {
    Abandon();
    throw;
  }
}

void OutputFile::Commit() {
  if (temp_.empty()) return;
  // A failed write of what the buffer held is raised here, before anything is renamed; the
  // caller's Abandon then removes the temporary file.
  const short fn = number_;
  number_ = 0;
  try {
    vb::Close(fn);
    if (!MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      RaiseFileError(GetLastError());
  } catch (const vb::RuntimeError& e) {
    throw WithPath(e);
  }
  temp_.clear();
}

vb::RuntimeError OutputFile::WithPath(const vb::RuntimeError& e) const {
  if (given_.empty()) return e;
  return e.Appended(L" (file " + given_ + L")");
}

void OutputFile::Abandon() noexcept {
  if (number_ != 0) {
    try {
      vb::Close(number_);  // the file is deleted: a failed write of its rest does not matter
    } catch (...) {
    }
  }
  number_ = 0;
  if (!temp_.empty()) DeleteFileW(temp_.c_str());
  temp_.clear();
}

}  // namespace claimfile::nsf
