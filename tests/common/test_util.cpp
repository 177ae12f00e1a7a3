#include "test_util.h"

#include <fstream>
#include <iterator>
#include <string>

namespace testutil {

TempDir::TempDir() {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static unsigned counter = 0;
  for (;;) {
    path_ = std::wstring(base) + L"mct" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(++counter);
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

TempDir::~TempDir() {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((path_ + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring n = fd.cFileName;
      if (n != L"." && n != L"..") DeleteFileW((path_ + L"\\" + n).c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(path_.c_str());
}

std::string ReadBytes(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::string out;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got) out.append(buf, got);
  CloseHandle(h);
  return out;
}

void WriteBytes(const std::wstring& path, const std::string& bytes, DWORD attributes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h) << "cannot create the file";
  DWORD wrote = 0;
  const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(h);
  ASSERT_TRUE(ok && wrote == bytes.size()) << "cannot write the file";
}

void RemoveTree(const std::wstring& p) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((p + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring n = fd.cFileName;
      if (n == L"." || n == L"..") continue;
      const std::wstring child = p + L"\\" + n;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
      else DeleteFileW(child.c_str());
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(p.c_str());
}

long ErrorNumberOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const vb::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

UserLocaleSetting::UserLocaleSetting(LCTYPE type, const wchar_t* value) : type_(type), saved_(16, L'\0') {
  saved_.resize(static_cast<size_t>(GetLocaleInfoW(LOCALE_USER_DEFAULT, type, saved_.data(), 16)) - 1);
  EXPECT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, type, value));
}

UserLocaleSetting::~UserLocaleSetting() { SetLocaleInfoW(LOCALE_USER_DEFAULT, type_, saved_.c_str()); }

}  // namespace testutil
