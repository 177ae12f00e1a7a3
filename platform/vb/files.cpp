#include "vb/files.h"

#include <windows.h>

#include "vb/convert.h"
#include "vb/error.h"

namespace vb {

namespace {

constexpr short kMaxFileNumber = 511;
constexpr short kMaxFreeFile = 255;

enum Mode : unsigned char { Closed = 0, ForOutput, ForAppend, ForInput };

// The file numbers of one thread. Kept trivially destructible so that no destructor has to
// run at thread exit (that is fragile inside a DLL that may be unloaded first); every write
// goes straight to the file, so nothing is lost when a thread ends with files open.
struct FileTable {
  HANDLE handle[kMaxFileNumber + 1];
  Mode mode[kMaxFileNumber + 1];
};

thread_local FileTable table;

void CheckNumber(short fn) {
  if (fn < 1 || fn > kMaxFileNumber) Raise(errBadFileNameOrNumber);
}

void Open(short fn, const std::wstring& path, Mode mode) {
  CheckNumber(fn);
  if (table.mode[fn] != Closed) Raise(errFileAlreadyOpen);
  if (path.empty()) Raise(errBadFileNameOrNumber);

  DWORD access = GENERIC_WRITE, share = FILE_SHARE_READ, disposition = CREATE_ALWAYS;
  if (mode == ForAppend) disposition = OPEN_ALWAYS;
  if (mode == ForInput) {
    access = GENERIC_READ;
    share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    disposition = OPEN_EXISTING;
  }
  HANDLE h = CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) Raise(FileErrorFromWin32(GetLastError()));
  if (mode == ForAppend) {
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(h, zero, nullptr, FILE_END)) {
      DWORD err = GetLastError();
      CloseHandle(h);
      Raise(FileErrorFromWin32(err));
    }
  }
  table.handle[fn] = h;
  table.mode[fn] = mode;
}

HANDLE OpenHandle(short fn) {
  CheckNumber(fn);
  if (table.mode[fn] == Closed) Raise(errBadFileNameOrNumber);
  return table.handle[fn];
}

}  // namespace

short FreeFile() {
  for (short fn = 1; fn <= kMaxFreeFile; ++fn)
    if (table.mode[fn] == Closed) return fn;
  Raise(errTooManyFiles);
}

void OpenForOutput(short fn, const std::wstring& path) { Open(fn, path, ForOutput); }
void OpenForAppend(short fn, const std::wstring& path) { Open(fn, path, ForAppend); }
void OpenForInput(short fn, const std::wstring& path) { Open(fn, path, ForInput); }

void Print(short fn, const std::wstring& text, bool newline) {
  HANDLE h = OpenHandle(fn);
  if (table.mode[fn] == ForInput) Raise(errBadFileMode);
  std::string bytes = ToAnsi(text);
  if (newline) bytes += "\r\n";
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD wrote = 0;
    const DWORD chunk = static_cast<DWORD>(bytes.size() - done);
    if (!WriteFile(h, bytes.data() + done, chunk, &wrote, nullptr)) {
      DWORD err = GetLastError();
      Raise(err == ERROR_DISK_FULL || err == ERROR_HANDLE_DISK_FULL ? errDiskFull : errDeviceIO);
    }
    if (wrote == 0) Raise(errDiskFull);  // nothing more could be written
    done += wrote;
  }
}

std::wstring ReadAll(short fn) {
  HANDLE h = OpenHandle(fn);
  if (table.mode[fn] != ForInput) Raise(errBadFileMode);
  std::string bytes;
  char buf[8192];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(h, buf, sizeof buf, &got, nullptr)) Raise(errDeviceIO);
    if (got == 0) break;
    bytes.append(buf, got);
  }
  return FromAnsi(bytes);
}

void Close(short fn) {
  if (fn < 1 || fn > kMaxFileNumber || table.mode[fn] == Closed) return;
  CloseHandle(table.handle[fn]);
  table.handle[fn] = nullptr;
  table.mode[fn] = Closed;
}

void CloseAll() {
  for (short fn = 1; fn <= kMaxFileNumber; ++fn) Close(fn);
}

bool IsOpen(short fn) { return fn >= 1 && fn <= kMaxFileNumber && table.mode[fn] != Closed; }

}  // namespace vb
