#include "common/file_system.h"

#include <windows.h>

#include "vb/error.h"

namespace vista::fs {

namespace {

DWORD AttributesOf(const std::wstring& path) {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(path.c_str());
}

}  // namespace

bool FolderExists(const std::wstring& path) {
  DWORD a = AttributesOf(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::wstring& path) {
  DWORD a = AttributesOf(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void MkDir(const std::wstring& path) {
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

}  // namespace vista::fs
