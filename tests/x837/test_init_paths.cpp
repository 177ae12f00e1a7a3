// InitPaths and the settings file without a name, under Windows XP and under Windows Vista
// (this source is built into two programs; ctest makes Wine report a different version to each).
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <string>

#include <gtest/gtest.h>

#include "test_util.h"
#include "x837/edi837.h"

#ifndef RUNS_AS_VISTA
#error "RUNS_AS_VISTA must be 0 or 1"
#endif

namespace claimfile::Edi837 {
namespace {

constexpr bool kRunsAsVista = RUNS_AS_VISTA != 0;

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR p = nullptr;
  std::wstring out;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &p))) out = p;
  CoTaskMemFree(p);
  return out;
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s = path;
  return s.substr(0, s.find_last_of(L'\\'));
}

TEST(InitPaths, FoldersOfTheVersion) {
  InjectFolders(std::nullopt);
  InitPaths();
  const ModuleState& s = State();
  const std::wstring here = ProgramFolder();
  EXPECT_EQ(here, s.AppFolder);
  if (kRunsAsVista) {
    wchar_t temp[MAX_PATH] = {};
    std::wstring tempFolder(temp, GetTempPathW(MAX_PATH, temp));
    tempFolder.pop_back();  // its closing "\"
    EXPECT_EQ(KnownFolder(FOLDERID_PublicDocuments) + L"\\Marlowby\\Tallowmere", s.DataFolder);
    EXPECT_EQ(KnownFolder(FOLDERID_ProgramData) + L"\\Marlowby\\Tallowmere", s.SettingsFolder);
    EXPECT_EQ(KnownFolder(FOLDERID_Documents), s.UserDocFolder);
    EXPECT_EQ(tempFolder, s.UserTempFolder);
  } else {
    for (const std::wstring* f : {&s.DataFolder, &s.SettingsFolder, &s.UserDocFolder, &s.UserTempFolder})
      EXPECT_EQ(here, *f);
  }
}

TEST(InitPaths, SettingsFileWithoutANameIsInTheSettingsFolderOnVistaOnly) {
  testutil::TempDir dir;
  const std::wstring ini = dir.file(L"TM3.INI");
  ASSERT_TRUE(WritePrivateProfileStringW(L"837Settings", L"SbrDMGAlways", L"Y", ini.c_str()));
  InjectFolders(Folders{dir.path(), dir.path(), dir.path(), dir.path(), dir.path()});
  InitPaths();
  EXPECT_EQ(kRunsAsVista ? L"Y" : L"none", ReadSetting(L"837Settings", L"SbrDMGAlways", L"none", L""));
  InjectFolders(std::nullopt);
}

}  // namespace
}  // namespace claimfile::Edi837
