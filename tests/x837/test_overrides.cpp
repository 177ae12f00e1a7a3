// The override files, their matching, and the INI setting of the 837 writer.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "recording_presenter.h"
#include "test_util.h"
#include "x837/edi837.h"

namespace claimfile::Edi837 {
namespace {

using testutil::WriteBytes;

// A data folder "Claims" inside a temporary folder, so that the UHIN marker can lie beside it.
class Overrides : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateDirectoryW(data.c_str(), nullptr));
    InjectFolders(Folders{dir.path(), data, dir.path(), dir.path(), dir.path()});
    InitPaths();
  }
  void TearDown() override {
    for (const wchar_t* f : {L"TOS.txt", L"CLM16.txt", L"UHIN.txt"}) {
      SetFileAttributesW((data + L"\\" + f).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW((data + L"\\" + f).c_str());
      RemoveDirectoryW((data + L"\\" + f).c_str());
    }
    RemoveDirectoryW(data.c_str());
    InjectFolders(std::nullopt);
  }
  std::wstring InData(const wchar_t* name) const { return data + L"\\" + name; }

  testutil::TempDir dir;
  const std::wstring data = dir.file(L"Claims");
  vb::ScopedRecordingPresenter boxes;
};

TEST_F(Overrides, LoadSplitsAtCrLfOnly) {
  struct Case {
    const char* content;
    OverrideLines lines;
  } cases[] = {
      {"60054\r\n", {L"60054", L""}},
      {"ALL,60054\r\n123,60054", {L"ALL,60054", L"123,60054"}},
      {"a\nb\rc\r\n\r\nd", {L"a\nb\rc", L"", L"d"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    WriteBytes(InData(L"TOS.txt"), c.content);
    OverrideLines lines{L"before"};
    EXPECT_TRUE(LoadOverrideFile(lines, L"tos")) << c.content;
    EXPECT_EQ(c.lines, lines) << c.content;
  }
  EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(Overrides, WhatIsNotSeen) {
  OverrideLines lines{L"kept"};
  EXPECT_FALSE(LoadOverrideFile(lines, L"TOS")) << "no file";
  WriteBytes(InData(L"CLM16.txt"), "123,60054\r\n", FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(LoadOverrideFile(lines, L"CLM16")) << "a hidden file";
  ASSERT_TRUE(CreateDirectoryW(InData(L"TOS.txt").c_str(), nullptr));
  EXPECT_FALSE(LoadOverrideFile(lines, L"TOS")) << "a folder";
  WriteBytes(InData(L"UHIN.txt"), "");
  EXPECT_FALSE(LoadOverrideFile(lines, L"UHIN")) << "the marker inside the data folder";
  EXPECT_FALSE(LoadOverrideFile(lines, L"XYZ"));
  EXPECT_EQ(OverrideLines{L"kept"}, lines);
  EXPECT_TRUE(boxes.shown().empty());

  WriteBytes(data + L"UHIN.txt", "");  // beside it: <data folder's name>UHIN.txt
  EXPECT_TRUE(LoadOverrideFile(lines, L"uhin"));
  EXPECT_EQ(OverrideLines{L"kept"}, lines);
  DeleteFileW((data + L"UHIN.txt").c_str());
}

TEST_F(Overrides, ALockedFileGivesTheReadingBoxAndTheOtherKindsGoOn) {
  WriteBytes(InData(L"TOS.txt"), "60054\r\n");
  WriteBytes(InData(L"CLM16.txt"), "ALL,60054");
  HANDLE lock = CreateFileW(InData(L"TOS.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, lock);
  OverrideLines tos, clm16;
  EXPECT_FALSE(LoadOverrideFile(tos, L"Tos"));
  EXPECT_TRUE(LoadOverrideFile(clm16, L"CLM16"));
  CloseHandle(lock);
  EXPECT_TRUE(tos.empty());
  EXPECT_EQ(OverrideLines{L"ALL,60054"}, clm16);
  ASSERT_EQ(1u, boxes.shown().size());
  EXPECT_EQ(L"An error occurred reading override file Tos. 70 - Permission denied", boxes.shown()[0].prompt);
  EXPECT_EQ(vb::vbCritical | vb::vbOKOnly, boxes.shown()[0].buttons);
  EXPECT_EQ(L"Error Reading OverRide File", boxes.shown()[0].title);
}

TEST(MatchOverride, Cases) {
  const OverrideLines tos{L" 60054 ", L"abc12", L""};
  const OverrideLines clm16{L"ALL,60054", L"123,70000", L"123, 80000", L"ALL, 80000", L"all,90000", L"  "};
  struct Case {
    const wchar_t* value;
    const OverrideLines& lines;
    const wchar_t* kind;
    const wchar_t* result;
  } cases[] = {
      {L"60054", tos, L"TOS", L"60054"},
      {L" 60054  ", tos, L"tos", L" 60054  "},
      {L"Abc12", tos, L"TOS", L"ABC12"},
      {L"   ", tos, L"TOS", L""},  // a blank line matches nothing
      {L"60055", tos, L"TOS", L""},
      {L"60054", tos, L"CLM", L""},
      {L"999,60054", clm16, L"CLM16", L"999,60054"},
      {L"x,60054", clm16, L"clm16", L"X,60054"},
      {L"123,70000", clm16, L"CLM16", L"123,70000"},
      {L"123,80000", clm16, L"CLM16", L""},  // neither "123, 80000" nor "ALL, 80000"
      {L"5,90000", clm16, L"CLM16", L"5,90000"},
  };
  vb::ScopedRecordingPresenter boxes;
  for (const Case& c : cases) {
    std::wstring v = c.value;
    EXPECT_EQ(c.result, MatchOverride(c.value, c.lines, c.kind)) << std::string(v.begin(), v.end());
  }
  EXPECT_TRUE(boxes.shown().empty());
}

TEST(MatchOverride, MoreLinesThanASixteenBitCountGivesTheProcessingBox) {
  vb::ScopedRecordingPresenter boxes;
  OverrideLines lines(40000, L"1");
  lines[10] = L"60054";
  EXPECT_EQ(L"", MatchOverride(L"60054", lines, L"TOS"));
  ASSERT_EQ(1u, boxes.shown().size());
  EXPECT_EQ(L"An error occurred while processing an Override for TOS. 6 - Overflow", boxes.shown()[0].prompt);
  EXPECT_EQ(vb::vbCritical | vb::vbOKOnly, boxes.shown()[0].buttons);
  EXPECT_EQ(L"Error Processing Override", boxes.shown()[0].title);
}

TEST(ReadSetting, ValueDefaultAndCut) {
  testutil::TempDir dir;
  std::string longValue;
  for (int i = 0; i < 3000; ++i) longValue += static_cast<char>('0' + i % 10);
  const std::wstring ini = dir.file(L"TM3.ini");
  WriteBytes(ini, "[837Settings]\r\nSbrDMGAlways=Y\r\nLong=" + longValue + "\r\n");
  const std::wstring expectedLong(longValue.begin(), longValue.begin() + 2047);
  struct Case {
    const wchar_t* section;
    const wchar_t* key;
    std::wstring file;
    std::wstring result;
  } cases[] = {
      {L"837Settings", L"SbrDMGAlways", ini, L"Y"},
      {L"837Settings", L"Missing", ini, L"dflt"},
      {L"837Settings", L"SbrDMGAlways", dir.file(L"none.ini"), L"dflt"},
      {L"837Settings", L"Long", ini, expectedLong},
  };
  for (const Case& c : cases) EXPECT_EQ(c.result, ReadSetting(c.section, c.key, L"dflt", c.file)) << c.result.size();
}

}  // namespace
}  // namespace claimfile::Edi837
