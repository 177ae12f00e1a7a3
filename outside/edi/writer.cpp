// The interchange as written, and the file it is written to.
#include <windows.h>

#include <algorithm>

#include "document.h"
#include "vb/error.h"

namespace edi {

std::wstring RenderInterchange(const Interchange& interchange, const Separators& sep, long* segmentCount) {
  const Group& group = *interchange.group();
  const TransactionSet& set = *group.set();
  const std::vector<const Segment*> body = set.BodySegments();
  std::wstring out;
  out.reserve(64 * (body.size() + 6));
  auto put = [&](const std::wstring& segment) {
    out += segment;
    out += sep.segment;
  };
  auto element = [&](const std::wstring& id, const std::wstring& a, const std::wstring& b) {
    return id + sep.element + a + sep.element + b;
  };
  put(interchange.isa()->Render(sep));
  put(group.gs()->Render(sep));
  put(set.st()->Render(sep));
  for (const Segment* s : body) put(s->Render(sep));
  const long inSet = static_cast<long>(body.size()) + 2;  // ST to SE
  put(element(L"SE", std::to_wstring(inSet), set.st()->Element(2)));
  put(element(L"GE", L"1", group.gs()->Element(6)));
  // ISA13 as written: right-aligned in zeros to its width.
  std::wstring control = interchange.isa()->Element(13);
  const size_t width = static_cast<size_t>(interchange.isa()->def().widths[12]);
  control.insert(0, width - control.size(), L'0');
  put(element(L"IEA", L"1", control));
  if (segmentCount) *segmentCount = inSet + 4;
  return out;
}

void WriteFileReplacing(const std::wstring& path, const std::string& bytes) {
  auto fail = [&](const wchar_t* what, DWORD code) {
    throw vb::RuntimeError(errSave, L"The file " + path + L" could not be saved (" + what + L"): " +
                                        vb::Win32ErrorText(code));
  };
  // The folder of the target, where the temporary file goes so that renaming it is one step.
  wchar_t full[MAX_PATH * 2];
  wchar_t* name = nullptr;
  const DWORD len = GetFullPathNameW(path.c_str(), static_cast<DWORD>(sizeof full / sizeof full[0]), full, &name);
  if (len == 0 || len >= sizeof full / sizeof full[0] || !name) fail(L"bad file name", GetLastError());
  const std::wstring folder(full, static_cast<size_t>(name - full));
  wchar_t temp[MAX_PATH * 2];
  if (!GetTempFileNameW(folder.c_str(), L"edi", 0, temp)) fail(L"temporary file", GetLastError());

  HANDLE h = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    DeleteFileW(temp);
    fail(L"temporary file", code);
  }
  size_t done = 0;
  DWORD code = ERROR_SUCCESS;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD wrote = 0;
    if (!WriteFile(h, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
      code = GetLastError();
      break;
    }
    done += wrote;
  }
  if (!CloseHandle(h) && code == ERROR_SUCCESS) code = GetLastError();
  if (code != ERROR_SUCCESS) {
    DeleteFileW(temp);
    fail(L"writing", code);
  }
  if (!MoveFileExW(temp, full, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    code = GetLastError();
    DeleteFileW(temp);
    fail(L"replacing", code);
  }
}

}  // namespace edi
