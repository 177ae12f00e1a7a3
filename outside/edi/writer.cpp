// The interchange as written, and the file it is written to.
#include <windows.h>

#include <algorithm>

#include "document.h"
#include "vb/error.h"

namespace edi {

namespace {

// Text converted to the ANSI code page and written to the file a buffer at a time. Whole
// segments are converted together, so no character is split between two conversions.
class AnsiBuffer {
 public:
  explicit AnsiBuffer(ReplacingFile& file) : file_(file) { text_.reserve(kFlushAt + 1024); }
  std::wstring& text() { return text_; }
  // Writes what has gathered once there is enough of it (or always, at the end).
  void Flush(bool always) {
    if (text_.empty() || (!always && text_.size() < kFlushAt)) return;
    // No best-fit mapping: a character the code page does not hold becomes '?' rather than a
    // look-alike.
    const int len = static_cast<int>(text_.size());
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text_.data(), len, nullptr, 0, "?", nullptr);
    if (n <= 0) vb::Raise(vb::errOutOfMemory);
    bytes_.resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text_.data(), len, bytes_.data(), n, "?", nullptr);
    file_.Write(bytes_.data(), bytes_.size());
    text_.clear();
  }

 private:
  static constexpr size_t kFlushAt = 32 * 1024;
  ReplacingFile& file_;
  std::wstring text_;
  std::string bytes_;
};

}  // namespace

void WriteInterchange(const Interchange& interchange, const std::vector<SegmentStore::Index>& body,
                      const SegmentStore& store, const Separators& sep, ReplacingFile& file) {
  const Group& group = *interchange.group();
  const TransactionSet& set = *group.set();
  AnsiBuffer buffer(file);
  std::wstring& out = buffer.text();
  auto end = [&] {
    out += sep.segment;
    buffer.Flush(false);
  };
  auto element = [&](const wchar_t* id, const std::wstring& a, const std::wstring& b) {
    out += id;
    out += sep.element;
    out += a;
    out += sep.element;
    out += b;
    end();
  };
  out += interchange.isa()->Render(sep);
  end();
  out += group.gs()->Render(sep);
  end();
  out += set.st()->Render(sep);
  end();
  for (SegmentStore::Index s : body) {
    store.Render(s, sep, out);
    end();
  }
  const long inSet = static_cast<long>(body.size()) + 2;  // ST to SE
  element(L"SE", std::to_wstring(inSet), set.st()->Element(2));
  element(L"GE", L"1", group.gs()->Element(6));
  // ISA13 as written: right-aligned in zeros to its width.
  std::wstring control = interchange.isa()->Element(13);
  const size_t width = static_cast<size_t>(interchange.isa()->def().widths[12]);
  control.insert(0, width - control.size(), L'0');
  element(L"IEA", L"1", control);
  buffer.Flush(true);
}

// ---- ReplacingFile -------------------------------------------------------------------------

void ReplacingFile::Fail(const wchar_t* what, unsigned long code) {
  throw vb::RuntimeError(errSave, L"The file " + path_ + L" could not be saved (" + what + L"): " +
                                      vb::Win32ErrorText(code));
}

ReplacingFile::ReplacingFile(const std::wstring& path) : path_(path), temp_{}, handle_(INVALID_HANDLE_VALUE) {
  // The folder of the target, where the temporary file goes so that renaming it is one step.
  wchar_t full[MAX_PATH * 2];
  wchar_t* name = nullptr;
  const DWORD len = GetFullPathNameW(path.c_str(), static_cast<DWORD>(sizeof full / sizeof full[0]), full, &name);
  if (len == 0 || len >= sizeof full / sizeof full[0] || !name) Fail(L"bad file name", GetLastError());
  full_ = full;
  const std::wstring folder(full, static_cast<size_t>(name - full));
  if (!GetTempFileNameW(folder.c_str(), L"edi", 0, temp_)) {
    temp_[0] = L'\0';
    Fail(L"temporary file", GetLastError());
  }
  handle_ = CreateFileW(temp_, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    DeleteFileW(temp_);
    temp_[0] = L'\0';
    Fail(L"temporary file", code);
  }
}

ReplacingFile::~ReplacingFile() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  if (temp_[0]) DeleteFileW(temp_);
}

void ReplacingFile::Write(const char* bytes, size_t count) {
  size_t done = 0;
  while (done < count) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - done, 1u << 20));
    DWORD wrote = 0;
    if (!WriteFile(handle_, bytes + done, chunk, &wrote, nullptr) || wrote == 0)
      Fail(L"writing", GetLastError());  // the destructor removes the temporary file
    done += wrote;
  }
}

void ReplacingFile::Commit() {
  const HANDLE h = handle_;
  handle_ = INVALID_HANDLE_VALUE;
  if (!CloseHandle(h)) Fail(L"writing", GetLastError());
  if (!MoveFileExW(temp_, full_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    Fail(L"replacing", GetLastError());
  temp_[0] = L'\0';
}

}  // namespace edi
