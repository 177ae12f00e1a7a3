// The shared routines: fields of a delimited text, INI settings, folder creation, and the file
// layer under them.
#include <gtest/gtest.h>

#include "common/file_system.h"
#include "common/module1.h"
#include "test_util.h"
#include "recording_presenter.h"

namespace vista {

namespace {

bool IsFolder(const std::wstring& p) {
  DWORD a = GetFileAttributesW(p.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

using testutil::RemoveTree;

// A temporary folder whose sub-folders go with it.
struct Scratch : testutil::TempDir {
  ~Scratch() {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path() + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
      std::wstring n = fd.cFileName;
      if (n != L"." && n != L".." && (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) RemoveTree(file(n));
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
};

}  // namespace

TEST(Module1, GetFieldSplitsWithoutRegardToCaseAndTrimsLaterFields) {
  struct Case {
    const wchar_t* text;
    short index;
    const wchar_t* delimiter;
    const wchar_t* field;
  } cases[] = {
      {L"a|b|c", 1, L"|", L"a"},          {L"a|b|c", 2, L"|", L"b"},
      {L"a|b|c", 3, L"|", L"c"},          {L"a|b|c", 4, L"|", L""},
      {L"  padded  ", 1, L",", L"padded"}, {L"  padded  ", 0, L",", L"padded"},
      {L"  padded  ", 2, L",", L""},       {L" a , b ,c ", 1, L",", L" a "},
      {L" a , b ,c ", 2, L",", L"b"},      {L" a , b ,c ", 3, L",", L"c"},
      {L"oneXtwoxthree", 2, L"x", L"two"}, {L"oneXtwoxthree", 3, L"X", L"three"},
      {L"a--b--c", 2, L"--", L"b"},        {L"a||c", 2, L"|", L""},
      {L"a||c", 3, L"|", L"c"},            {L"", 1, L",", L""},
      {L" no delimiter ", 1, L"", L"no delimiter"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.field, Module1::getField(c.text, c.index, c.delimiter)) << c.text << " #" << c.index << " " << c.delimiter;
  EXPECT_EQ(L"y", Module1::getField(L"x, y", 2));  // "," when no delimiter is given
}

TEST(Module1, IniSettingsRoundTripInTheEightBitCodePage) {
  testutil::TempDir dir;
  const std::wstring ini = dir.file(L"settings.ini");
  EXPECT_EQ(L"dflt", Module1::readIniSetting(L"VistaSettings", L"showWRPWarning", L"dflt", ini));  // no file

  EXPECT_TRUE(Module1::writeIniSetting(L"VistaSettings", L"showWRPWarning", L"True", ini));
  EXPECT_TRUE(Module1::writeIniSetting(L"837Settings", L"Name", L"Caf\u00e9 \u20ac", ini));
  EXPECT_EQ(L"True", Module1::readIniSetting(L"VistaSettings", L"showWRPWarning", L"0", ini));
  EXPECT_EQ(L"Caf\u00e9 \u20ac", Module1::readIniSetting(L"837Settings", L"Name", L"", ini));
  EXPECT_EQ(L"0", Module1::readIniSetting(L"VistaSettings", L"Missing", L"0", ini));
  EXPECT_EQ(L"", Module1::readIniSetting(L"NoSection", L"showWRPWarning", L"", ini));
  // Stored as 8-bit text (code page 1252: the euro sign is byte 0x80).
  EXPECT_NE(std::string::npos, testutil::ReadBytes(ini).find("Name=Caf\xe9 \x80"));

  // A file in a missing folder cannot be written.
  EXPECT_FALSE(Module1::writeIniSetting(L"S", L"K", L"V", dir.file(L"missing\\settings.ini")));
}

TEST(Module1, SpecialFolderOfTheCallingUser) {
  EXPECT_FALSE(Module1::getSpecialFolder(nullptr, 5, 0).empty());
  EXPECT_EQ(L"", Module1::getSpecialFolder(nullptr, 0x3F, 0));  // no such folder id
}

TEST(Module1, CreatePathMakesEveryMissingFolderButNeverTheFile) {
  vb::ScopedRecordingPresenter boxes;
  Scratch dir;
  EXPECT_TRUE(Module1::createPath(dir.file(L"one\\two\\file.txt"), true));
  EXPECT_TRUE(IsFolder(dir.file(L"one\\two")));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.file(L"one\\two\\file.txt").c_str()));

  // Doubled separators count as one; the last piece is a folder when lastIsFile is false.
  EXPECT_TRUE(Module1::createPath(dir.path() + L"\\\\three\\\\\\four\\", false));
  EXPECT_TRUE(IsFolder(dir.file(L"three\\four")));
  // Everything there already.
  EXPECT_TRUE(Module1::createPath(dir.file(L"one\\two"), false));
  EXPECT_TRUE(boxes.shown().empty());
}

TEST(Module1, CreatePathReportsTheFolderThatFailedAndKeepsTheOthers) {
  vb::ScopedRecordingPresenter boxes;
  Scratch dir;
  ASSERT_NO_FATAL_FAILURE(testutil::WriteBytes(dir.file(L"blocker"), "x"));
  EXPECT_FALSE(Module1::createPath(dir.file(L"blocker\\sub"), false));
  ASSERT_EQ(1u, boxes.shown().size());
  EXPECT_EQ(L"Error Creating Directory " + dir.file(L"blocker") + L" (75) Path/File access error",
            boxes.shown()[0].prompt);
  EXPECT_EQ(vb::vbOKOnly, boxes.shown()[0].buttons);
  EXPECT_EQ(vb::AppTitle(), boxes.shown()[0].title);

  boxes.Clear();
  EXPECT_FALSE(Module1::createPath(dir.file(L"made\\bad|name\\x"), false));
  EXPECT_TRUE(IsFolder(dir.file(L"made")));
  ASSERT_EQ(1u, boxes.shown().size());
  EXPECT_EQ(0u, boxes.shown()[0].prompt.find(L"Error Creating Directory " + dir.file(L"made\\bad|name") + L" ("));
}

TEST(Module1, CreatePathKeepsTheRootOfRootedAndNetworkPaths) {
  vb::ScopedRecordingPresenter boxes;
  Scratch dir;
  wchar_t saved[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, saved);
  ASSERT_TRUE(SetCurrentDirectoryW(dir.path().c_str()));
  // "\users\...\rooted\x" on the current drive, not below the current folder.
  const std::wstring rooted = dir.file(L"rooted\\x").substr(2);
  EXPECT_TRUE(Module1::createPath(rooted, false));
  EXPECT_TRUE(IsFolder(dir.file(L"rooted\\x")));
  EXPECT_FALSE(IsFolder(dir.path() + rooted));

  // A share that does not exist: nothing is made below the current folder.
  EXPECT_FALSE(Module1::createPath(L"\\\\nosuchserver\\share\\sub\\dir", false));
  SetCurrentDirectoryW(saved);
  EXPECT_FALSE(IsFolder(dir.file(L"nosuchserver")));
  ASSERT_EQ(1u, boxes.shown().size());
  EXPECT_EQ(0u, boxes.shown()[0].prompt.find(L"Error Creating Directory \\\\nosuchserver\\share\\sub ("))
      << ::testing::PrintToString(boxes.shown()[0].prompt);
  // The same in the long form.
  EXPECT_FALSE(Module1::createPath(L"\\\\?\\UNC\\nosuchserver\\share\\sub\\dir", false));
  ASSERT_EQ(2u, boxes.shown().size());
  EXPECT_EQ(0u, boxes.shown()[1].prompt.find(L"Error Creating Directory \\\\?\\UNC\\nosuchserver\\share\\sub ("))
      << ::testing::PrintToString(boxes.shown()[1].prompt);
}

TEST(FileLayer, ExistenceDirAndFolderErrors) {
  Scratch dir;
  ASSERT_NO_FATAL_FAILURE(testutil::WriteBytes(dir.file(L"file.txt"), "x"));
  ASSERT_NO_FATAL_FAILURE(testutil::WriteBytes(dir.file(L"hidden.txt"), "x"));
  SetFileAttributesW(dir.file(L"hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(CreateDirectoryW(dir.file(L"folder").c_str(), nullptr));

  EXPECT_TRUE(fs::FileExists(dir.file(L"file.txt")));
  EXPECT_FALSE(fs::FileExists(dir.file(L"folder")));
  EXPECT_TRUE(fs::FolderExists(dir.file(L"folder")));
  EXPECT_TRUE(fs::FolderExists(dir.file(L"folder\\")));
  EXPECT_FALSE(fs::FolderExists(dir.file(L"file.txt")));
  EXPECT_FALSE(fs::FolderExists(L""));

  EXPECT_EQ(L"", fs::Dir(dir.file(L"folder")));
  EXPECT_EQ(L"folder", fs::Dir(dir.file(L"folder"), fs::vbDirectory));
  EXPECT_EQ(L"file.txt", fs::Dir(dir.file(L"file.txt"), fs::vbDirectory));
  EXPECT_EQ(L"", fs::Dir(dir.file(L"hidden.txt")));
  EXPECT_EQ(L"hidden.txt", fs::Dir(dir.file(L"hidden.txt"), fs::vbHidden));
  EXPECT_EQ(L"", fs::Dir(dir.file(L"folder\\")));                 // an empty folder
  EXPECT_FALSE(fs::Dir(dir.file(L"folder\\"), fs::vbDirectory).empty());  // "." at least
  EXPECT_EQ(L"", fs::Dir(dir.file(L"missing"), fs::vbDirectory));

  EXPECT_VB_ERROR(75, fs::MkDir(dir.file(L"folder")));
  EXPECT_VB_ERROR(76, fs::MkDir(dir.file(L"missing\\new")));
  EXPECT_VB_ERROR(0, fs::MkDir(dir.file(L"new2")));
  EXPECT_TRUE(IsFolder(dir.file(L"new2")));
  SetFileAttributesW(dir.file(L"hidden.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace vista
