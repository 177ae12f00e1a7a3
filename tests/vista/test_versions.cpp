// The version answers and the protected-folder test, under the Windows version that Wine
// reports to this program (XP or Vista, set by ctest).
#include <gtest/gtest.h>

#include "common/vista_info.h"
#include "vista_test_util.h"

namespace vista {

using testhelp::kRunsAsVista;

TEST(Versions, TheReportedVersionIsTheOneThisProgramRunsAs) {
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof v;
  ASSERT_TRUE(GetVersionExW(&v));
  EXPECT_EQ(kRunsAsVista ? 6u : 5u, v.dwMajorVersion);
  EXPECT_EQ(kRunsAsVista ? 0u : 1u, v.dwMinorVersion);

  auto info = VistaInfo::New();
  EXPECT_TRUE(info->isOSVersionXPOrGreater());
  EXPECT_TRUE(info->IsOSVersionNTOrGreater());
  EXPECT_EQ(kRunsAsVista, info->IsOSVersionVista());

  // Test mode answers as Vista on any version, and touches nothing else.
  info->INTESTMODE = true;
  EXPECT_TRUE(info->IsOSVersionVista());
  EXPECT_TRUE(info->isOSVersionXPOrGreater());
  EXPECT_TRUE(info->IsOSVersionNTOrGreater());
}

TEST(Versions, ProtectedFolders) {
  struct Case {
    const wchar_t* path;
    bool isProtected;
  } cases[] = {
      {L"C:\\claims.txt", true},
      {L"c:\\claims.txt", true},
      {L"C:\\", true},
      {L"C:", true},
      {L"C:claims.txt", true},
      {L"C:\\Data\\claims.txt", false},
      {L"C:\\Users\\Public\\Documents\\Marlowby\\Tallowmere\\TM3.ini", false},
      {L"c:\\program files\\Marlowby\\Tallowmere\\TM3.ini", true},
      {L"C:\\PROGRAM FILES\\x", true},
      {L"C:\\Program Files (x86)\\x", false},
      {L"c:\\windows\\tm3.ini", true},
      {L"C:\\Windows\\System32\\drivers\\etc\\hosts", true},
      {L"C:\\WindowsApps\\x", false},
      {L"\\\\C\\Program Files\\x", true},
      {L"\\\\c\\windows\\x", true},
      {L"\\\\server\\c\\windows\\x", false},
      {L"D:\\claims.txt", false},
      {L"D:\\Program Files\\x", false},
      {L"d:\\windows\\x", false},
      {L"", false},
  };
  auto info = VistaInfo::New();
  for (const Case& c : cases) {
    EXPECT_EQ(c.isProtected, info->fileInProctectedArea(c.path)) << c.path;
    // Only for Vista: on XP nothing is protected, unless in test mode.
    EXPECT_EQ(c.isProtected && kRunsAsVista, info->fileInProctectedArea(c.path, true)) << c.path;
    info->INTESTMODE = true;
    EXPECT_EQ(c.isProtected, info->fileInProctectedArea(c.path, true)) << c.path;
    info->INTESTMODE = false;
  }
}

}  // namespace vista
