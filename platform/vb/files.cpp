#include "vb/files.h"

#include <windows.h>

#include <algorithm>
#include <new>

#include "vb/convert.h"
#include "vb/error.h"

namespace vb {

namespace {

constexpr short kMaxFileNumber = 511;
constexpr short kMaxFreeFile = 255;

enum Mode : unsigned char { Closed = 0, ForOutput, ForAppend, ForInput };

// Bytes a buffered file number holds before they go to the file.
constexpr DWORD kBufferSize = 64 * 1024;

// The file numbers of one thread. Kept trivially destructible so that no destructor has to
// run at thread exit (that is fragile inside a DLL that may be unloaded first); a file opened
// without a buffer has every write go straight to the file, so nothing of it is lost when a
// thread ends with it open.
struct FileTable {
  HANDLE handle[kMaxFileNumber + 1];
  Mode mode[kMaxFileNumber + 1];
  char* buffer[kMaxFileNumber + 1];  // nullptr: unbuffered
  DWORD used[kMaxFileNumber + 1];
};

thread_local FileTable table;

// Writes all the bytes; 61 on a full disk, 57 on any other failure.
void WriteAll(HANDLE h, const char* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    DWORD wrote = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 30));
    if (!WriteFile(h, data + done, chunk, &wrote, nullptr)) {
      DWORD err = GetLastError();
      Raise(err == ERROR_DISK_FULL || err == ERROR_HANDLE_DISK_FULL ? errDiskFull : errDeviceIO);
    }
    if (wrote == 0) Raise(errDiskFull);  // nothing more could be written
    done += wrote;
  }
}

// Writes what the buffer of fn holds. The buffer is emptied first, so that after a failure
// nothing of it is written again.
void Flush(short fn) {
  const DWORD n = table.used[fn];
  table.used[fn] = 0;
  if (n) WriteAll(table.handle[fn], table.buffer[fn], n);
}

void CheckNumber(short fn) {
  if (fn < 1 || fn > kMaxFileNumber) Raise(errBadFileNameOrNumber);
}

void Open(short fn, const std::wstring& path, Mode mode, bool buffered = false) {
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
  if (buffered) {
    table.buffer[fn] = new (std::nothrow) char[kBufferSize];
    if (!table.buffer[fn]) {
      CloseHandle(h);
      Raise(errOutOfMemory);
    }
  }
  table.used[fn] = 0;
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

void OpenForOutput(short fn, const std::wstring& path, bool buffered) { Open(fn, path, ForOutput, buffered); }
void OpenForAppend(short fn, const std::wstring& path) { Open(fn, path, ForAppend); }
void OpenForInput(short fn, const std::wstring& path) { Open(fn, path, ForInput); }

namespace {

// Copies the text into out as long as it is ASCII, which every 8-bit code page holds as it is;
// the number of characters copied.
size_t CopyAscii(std::wstring_view text, char* out) {
  size_t i = 0;
  for (; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c >= 0x80) break;
    out[i] = static_cast<char>(c);
  }
  return i;
}

// Where Print puts at most `most` more bytes of fn (a line end included): the end of its buffer,
// written out first when the bytes would not fit; nullptr when fn is unbuffered or they would
// never fit. 52 when fn is not open, 54 when it is open for input.
char* BufferRoom(short fn, size_t most) {
  OpenHandle(fn);
  if (table.mode[fn] == ForInput) Raise(errBadFileMode);
  if (!table.buffer[fn] || most > kBufferSize) return nullptr;
  if (table.used[fn] + most > kBufferSize) Flush(fn);
  return table.buffer[fn] + table.used[fn];
}

// Ends the bytes put at `end` in the buffer of fn (from BufferRoom) with the line end if asked.
void EndInBuffer(short fn, char* end, bool newline) {
  if (newline) {
    *end++ = '\r';
    *end++ = '\n';
  }
  table.used[fn] = static_cast<DWORD>(end - table.buffer[fn]);
}

// Writes the bytes, and the line end if asked, around the buffer of fn (written out first).
void WriteAround(short fn, std::string bytes, bool newline) {
  if (newline) bytes += "\r\n";
  if (table.buffer[fn]) Flush(fn);
  WriteAll(table.handle[fn], bytes.data(), bytes.size());
}

}  // namespace

void Print(short fn, std::wstring_view text, bool newline) {
  // A character of the code page takes at most three bytes; the line end two more.
  char* out = BufferRoom(fn, 3 * text.size() + 2);
  if (!out) return WriteAround(fn, ToAnsi(std::wstring(text)), newline);
  const size_t ascii = CopyAscii(text, out);
  out += ascii;
  if (ascii < text.size()) {
    // No best-fit mapping, as ToAnsi.
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data() + ascii,
                                      static_cast<int>(text.size() - ascii), out,
                                      static_cast<int>(table.buffer[fn] + kBufferSize - out), "?", nullptr);
    if (n <= 0) Raise(errOutOfMemory);
    out += n;
  }
  EndInBuffer(fn, out, newline);
}

void PrintAscii(short fn, std::string_view text, bool newline) {
  char* out = BufferRoom(fn, text.size() + 2);
  if (!out) return WriteAround(fn, std::string(text), newline);
  EndInBuffer(fn, std::copy(text.begin(), text.end(), out), newline);
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
  // The number is closed whatever the flush does; its failure is raised after.
  long failed = 0;
  if (table.buffer[fn]) {
    try {
      Flush(fn);
    } catch (const RuntimeError& e) {
      failed = e.number();
    }
    delete[] table.buffer[fn];
    table.buffer[fn] = nullptr;
  }
  CloseHandle(table.handle[fn]);
  table.handle[fn] = nullptr;
  table.mode[fn] = Closed;
  if (failed) Raise(failed);
}

void CloseAll() {
  long failed = 0;
  for (short fn = 1; fn <= kMaxFileNumber; ++fn) {
    try {
      Close(fn);
    } catch (const RuntimeError& e) {
      if (!failed) failed = e.number();
    }
  }
  if (failed) Raise(failed);
}

bool IsOpen(short fn) { return fn >= 1 && fn <= kMaxFileNumber && table.mode[fn] != Closed; }

}  // namespace vb
