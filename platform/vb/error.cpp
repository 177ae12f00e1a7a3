#include "vb/error.h"

#include <windows.h>

namespace vb {

namespace {

std::string Utf8(const std::wstring& s) {
  if (s.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string WhatText(long number, const std::wstring& description) {
  std::string w = "error " + std::to_string(number);
  if (!description.empty()) w += ": " + Utf8(description);
  return w;
}

}  // namespace

std::wstring StandardDescription(long number) {
  switch (number) {
    case errReturnWithoutGoSub: return L"Return without GoSub";
    case errInvalidCall: return L"Invalid procedure call or argument";
    case errOverflow: return L"Overflow";
    case errOutOfMemory: return L"Out of memory";
    case errSubscript: return L"Subscript out of range";
    case errTypeMismatch: return L"Type mismatch";
    case errInternal: return L"Internal error";
    case errBadFileNameOrNumber: return L"Bad file name or number";
    case errFileNotFound: return L"File not found";
    case errBadFileMode: return L"Bad file mode";
    case errFileAlreadyOpen: return L"File already open";
    case errDeviceIO: return L"Device I/O error";
    case errFileAlreadyExists: return L"File already exists";
    case errDiskFull: return L"Disk full";
    case errInputPastEnd: return L"Input past end of file";
    case errTooManyFiles: return L"Too many files";
    case errPermissionDenied: return L"Permission denied";
    case errPathFileAccess: return L"Path/File access error";
    case errPathNotFound: return L"Path not found";
    case errObjectNotSet: return L"Object variable or With block variable not set";
    case errInvalidUseOfNull: return L"Invalid use of Null";
    case errObjectRequired: return L"Object required";
    case errCantCreateObject: return L"ActiveX component can't create object";
    case errNotSupported: return L"Object doesn't support this property or method";
    case errWrongArguments: return L"Wrong number of arguments or invalid property assignment";
    case errDuplicateKey: return L"This key is already associated with an element of this collection";
    default: return L"";
  }
}

RuntimeError::RuntimeError(long number) : RuntimeError(number, StandardDescription(number)) {}

RuntimeError::RuntimeError(long number, std::wstring description, std::wstring source)
    : number_(number),
      description_(std::move(description)),
      source_(std::move(source)),
      what_(WhatText(number_, description_)) {}

RuntimeError RuntimeError::Appended(const std::wstring& text) const {
  return RuntimeError(number_, description_ + text, source_);
}

void Raise(long number) { throw RuntimeError(number); }

std::wstring Win32ErrorText(unsigned long win32Error) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, win32Error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::wstring out = text ? text : L"";
  LocalFree(text);
  while (!out.empty() && (out.back() == L'\n' || out.back() == L'\r' || out.back() == L' ')) out.pop_back();
  return out;
}

long FileErrorFromWin32(unsigned long win32Error) {
  switch (win32Error) {
    case ERROR_FILE_NOT_FOUND:
      return errFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return errPathNotFound;
    case ERROR_ACCESS_DENIED:
      return errPathFileAccess;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return errPermissionDenied;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return errFileAlreadyExists;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return errDiskFull;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return errBadFileNameOrNumber;
    case ERROR_TOO_MANY_OPEN_FILES:
      return errTooManyFiles;
    default:
      return errPathFileAccess;
  }
}

}  // namespace vb
