// Small helpers shared by the test programs.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "vb/error.h"

namespace testutil {

// A fresh, empty folder under the temporary folder, removed with its files at the end of the scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// The bytes of a file (empty when it cannot be read).
std::string ReadBytes(const std::wstring& path);
// Creates or replaces the file with these bytes; a file that cannot be written fails the test.
void WriteBytes(const std::wstring& path, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL);

// A setting of the user locale (LOCALE_SDECIMAL, ...) changed for the scope and then put back.
// The prefix's user locale is shared by every program running in it: a test that uses this runs
// in a prefix of its own (run_in_private_prefix).
class UserLocaleSetting {
 public:
  UserLocaleSetting(LCTYPE type, const wchar_t* value);
  ~UserLocaleSetting();
  UserLocaleSetting(const UserLocaleSetting&) = delete;
  UserLocaleSetting& operator=(const UserLocaleSetting&) = delete;

 private:
  LCTYPE type_;
  std::wstring saved_;
};

// Removes a folder with everything in it, read-only files included (nothing when it is missing).
void RemoveTree(const std::wstring& path);

// Runs f and returns the run-time error number it raised (0 when it raised none).
long ErrorNumberOf(const std::function<void()>& f);

}  // namespace testutil

// EXPECT_VB_ERROR(number, statement): the statement raises vb::RuntimeError with that number.
#define EXPECT_VB_ERROR(number, statement) \
  EXPECT_EQ(static_cast<long>(number), ::testutil::ErrorNumberOf([&] { statement; }))
