// The file layer under the relocation: the FileSystemObject's copy, delete and listing calls with
// its error numbers, the run time's Kill, the comparison of two files, and the fault plan.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "common/file_system.h"
#include "test_util.h"

namespace vista {

namespace {

using testutil::ReadBytes;
using testutil::WriteBytes;

class FileLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW(dir.file(L"src").c_str(), nullptr);
    CreateDirectoryW(dir.file(L"src\\sub").c_str(), nullptr);
    CreateDirectoryW(dir.file(L"dst").c_str(), nullptr);
    WriteBytes(dir.file(L"src\\a.dat"), "alpha");
    WriteBytes(dir.file(L"src\\b.dat"), std::string(200000, 'b'));
    WriteBytes(dir.file(L"src\\sub\\c.dat"), "gamma");
  }
  void TearDown() override {
    fs::SetFaultPlan({});
    testutil::RemoveTree(dir.file(L"src"));
    testutil::RemoveTree(dir.file(L"dst"));
  }
  std::wstring F(const wchar_t* p) const { return dir.file(p); }
  testutil::TempDir dir;
};

}  // namespace

// The next operation of the layer fails with this Win32 error.
static void FailNextWith(DWORD error) {
  fs::FaultPlan plan;
  plan.failOperation = 1;
  plan.error = error;
  fs::SetFaultPlan(plan);
}

TEST_F(FileLayer, ErrorNumbersOfTheCalls) {
  HANDLE inUse = CreateFileW(F(L"src\\a.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, inUse);
  struct Case {
    const char* what;
    long number;
    std::function<void()> call;
  } const cases[] = {
      {"missing source file", 53, [&] { fs::CopyFile(F(L"src\\none.dat"), F(L"dst\\")); }},
      {"pattern matching nothing", 53, [&] { fs::CopyFile(F(L"src\\*.txt"), F(L"dst\\")); }},
      {"missing source folder", 76, [&] { fs::CopyFile(F(L"nowhere\\a.dat"), F(L"dst\\")); }},
      {"missing target folder", 76, [&] { fs::CopyFile(F(L"src\\b.dat"), F(L"dst\\none\\")); }},
      {"source in use", 70, [&] { fs::CopyFile(F(L"src\\a.dat"), F(L"dst\\")); }},
      {"missing folder to copy", 76, [&] { fs::CopyFolder(F(L"none"), F(L"dst\\x")); }},
      {"folder copy under a missing parent", 76, [&] { fs::CopyFolder(F(L"src\\sub"), F(L"none\\x")); }},
      {"delete of a missing file", 53, [&] { fs::DeleteFile(F(L"src\\none.dat"), true); }},
      {"delete of a file in use", 70, [&] { fs::DeleteFile(F(L"src\\a.dat"), true); }},
      {"delete of a missing folder", 76, [&] { fs::DeleteFolder(F(L"none"), true); }},
      {"files of a missing folder", 76, [&] { fs::Files(F(L"none")); }},
      {"text file in a missing folder", 76, [&] { fs::CreateTextFile(F(L"none\\log.txt"), L"x"); }},
      {"Kill of nothing", 53, [&] { fs::Kill(F(L"src\\*.txt")); }},
      // Errors the layer does not name keep their own number, never one that a copy tolerates.
      {"read error of a damaged source", ERROR_CRC, [&] { FailNextWith(ERROR_CRC), fs::CopyFile(F(L"src\\b.dat"), F(L"dst\\")); }},
      {"device I/O error", ERROR_IO_DEVICE,
       [&] { FailNextWith(ERROR_IO_DEVICE), fs::CopyFolder(F(L"src"), F(L"dst\\q")); }},
      {"share gone (Win32 53)", static_cast<long>(HRESULT_FROM_WIN32(ERROR_BAD_NETPATH)),
       [&] { FailNextWith(ERROR_BAD_NETPATH), fs::CopyFile(F(L"src\\b.dat"), F(L"dst\\")); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_VB_ERROR(c.number, c.call());
  }
  CloseHandle(inUse);
  // A locked range reads as a file in use too.
  HANDLE locked = CreateFileW(F(L"src\\b.dat").c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(LockFile(locked, 0, 0, 1000, 0));
  EXPECT_VB_ERROR(70, fs::CopyFile(F(L"src\\b.dat"), F(L"dst\\")));
  CloseHandle(locked);
  EXPECT_FALSE(fs::FileExists(F(L"dst\\b.dat")));
  EXPECT_TRUE(fs::Files(F(L"dst")).empty());  // no partial copy left
}

TEST_F(FileLayer, CopiesNeverOverwriteAndGoOnPastExistingFiles) {
  WriteBytes(F(L"dst\\a.dat"), "older");
  EXPECT_VB_ERROR(58, fs::CopyFile(F(L"src\\a.dat"), F(L"dst\\")));
  EXPECT_VB_ERROR(58, fs::CopyFile(F(L"src\\*.dat"), F(L"dst")));  // b.dat is copied all the same
  EXPECT_EQ("older", ReadBytes(F(L"dst\\a.dat")));
  EXPECT_EQ(std::string(200000, 'b'), ReadBytes(F(L"dst\\b.dat")));
  // A folder copied into one that holds part of it: every missing file comes, then 58.
  CreateDirectoryW(F(L"dst\\copy").c_str(), nullptr);
  WriteBytes(F(L"dst\\copy\\a.dat"), "older");
  EXPECT_VB_ERROR(58, fs::CopyFolder(F(L"src"), F(L"dst\\copy")));
  EXPECT_EQ("older", ReadBytes(F(L"dst\\copy\\a.dat")));
  EXPECT_EQ("gamma", ReadBytes(F(L"dst\\copy\\sub\\c.dat")));
  EXPECT_EQ(std::string(200000, 'b'), ReadBytes(F(L"dst\\copy\\b.dat")));
  fs::CopyFolder(F(L"src"), F(L"dst\\fresh"));
  fs::CopyFile(F(L"src\\a.dat"), F(L"dst\\named.txt"));
  EXPECT_EQ("alpha", ReadBytes(F(L"dst\\named.txt")));
  EXPECT_VB_ERROR(70, fs::CopyFile(F(L"src\\a.dat"), F(L"dst\\fresh")));  // a folder in the target's place
}

TEST_F(FileLayer, ACutCopyLeavesNothingUnderTheFinalNameAndIsClearedLater) {
  // The second operation (b.dat) fails with a full disk after 70000 bytes.
  fs::FaultPlan plan;
  plan.failOperation = 2;
  plan.failAfterBytes = 70000;
  plan.error = ERROR_DISK_FULL;
  fs::SetFaultPlan(plan);
  EXPECT_VB_ERROR(61, fs::CopyFile(F(L"src\\*.dat"), F(L"dst\\")));
  EXPECT_EQ(2, fs::OperationCount());
  EXPECT_EQ("alpha", ReadBytes(F(L"dst\\a.dat")));
  EXPECT_FALSE(fs::FileExists(F(L"dst\\b.dat")));
  EXPECT_EQ(1u, fs::Files(F(L"dst")).size());
  // A leftover of a process that ended inside a copy is removed by the next copy of that file; a
  // user's own file of a like name is no leftover and stays.
  const std::wstring leftover = fs::LeftoverOf(F(L"dst\\b.dat"));
  WriteBytes(leftover, "cut");
  WriteBytes(F(L"dst\\b.dat.partial~"), "mine");
  EXPECT_TRUE(fs::IsCopyLeftover(fs::NameOf(leftover)));
  EXPECT_FALSE(fs::IsCopyLeftover(L"b.dat.partial~"));
  EXPECT_FALSE(fs::IsCopyLeftover(L"b.dat"));
  fs::SetFaultPlan({});
  EXPECT_VB_ERROR(58, fs::CopyFile(F(L"src\\*.dat"), F(L"dst\\")));
  std::vector<std::wstring> files = fs::Files(F(L"dst"));
  std::sort(files.begin(), files.end());
  EXPECT_EQ((std::vector<std::wstring>{F(L"dst\\a.dat"), F(L"dst\\b.dat"), F(L"dst\\b.dat.partial~")}), files);
  EXPECT_EQ("mine", ReadBytes(F(L"dst\\b.dat.partial~")));
  // A failure named by path, and one at the start of an operation.
  plan = {};
  plan.failPath = F(L"SRC\\SUB\\C.DAT");
  plan.error = ERROR_ACCESS_DENIED;
  fs::SetFaultPlan(plan);
  EXPECT_VB_ERROR(70, fs::CopyFolder(F(L"src"), F(L"dst\\copy")));
  plan = {};
  plan.failOperation = 1;
  plan.error = ERROR_WRITE_PROTECT;
  fs::SetFaultPlan(plan);
  EXPECT_VB_ERROR(70, fs::DeleteFile(F(L"dst\\a.dat"), true));
  EXPECT_TRUE(fs::FileExists(F(L"dst\\a.dat")));
  // The longest target that Windows takes in its plain form (MAX_PATH - 1 characters, in a folder
  // short enough to be made) still has a temporary and a set-aside name that the calls take.
  fs::SetFaultPlan({});
  const std::wstring folder = F(L"dst\\") + std::wstring(200 - F(L"dst\\").size(), L'f');
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring target = folder + L"\\" + std::wstring(MAX_PATH - 1 - folder.size() - 5, L't') + L".dat";
  ASSERT_EQ(size_t{MAX_PATH - 1}, target.size());
  auto takenByTheCalls = [](const std::wstring& name) { return name.size() < MAX_PATH || name.rfind(L"\\\\?\\", 0) == 0; };
  EXPECT_TRUE(takenByTheCalls(fs::LeftoverOf(target)));
  fs::CopyFile(F(L"src\\a.dat"), target);
  EXPECT_EQ("alpha", ReadBytes(target));
  const std::wstring aside = fs::SetAside(target);
  EXPECT_TRUE(takenByTheCalls(aside));
  EXPECT_TRUE(fs::IsSetAside(fs::NameOf(aside)));
  EXPECT_EQ("alpha", ReadBytes(aside));
  EXPECT_FALSE(fs::FileExists(target));
}

TEST_F(FileLayer, DeletingForcedOrNotAndTextFiles) {
  WriteBytes(F(L"src\\ro.dat"), "r", FILE_ATTRIBUTE_READONLY);
  EXPECT_VB_ERROR(75, fs::Kill(F(L"src\\ro.dat")));
  EXPECT_VB_ERROR(70, fs::DeleteFile(F(L"src\\ro.dat"), false));
  EXPECT_TRUE(fs::FileExists(F(L"src\\ro.dat")));
  fs::DeleteFile(F(L"src\\ro.dat"), true);
  EXPECT_FALSE(fs::FileExists(F(L"src\\ro.dat")));
  WriteBytes(F(L"src\\sub\\ro.dat"), "r", FILE_ATTRIBUTE_READONLY);
  fs::DeleteFolder(F(L"src\\sub"), true);
  EXPECT_FALSE(fs::FolderExists(F(L"src\\sub")));
  fs::Kill(F(L"src\\*.dat"));
  EXPECT_TRUE(fs::Files(F(L"src")).empty());

  fs::CreateTextFile(F(L"dst\\log.txt"), L"first");
  fs::CreateTextFile(F(L"dst\\log.txt"), L"caf\u00e9\r\n");
  EXPECT_EQ("caf\xE9\r\n", ReadBytes(F(L"dst\\log.txt")));
  EXPECT_EQ(1u, fs::Files(F(L"dst")).size());
}

TEST_F(FileLayer, SameFileMeansTwoFilesOfTheSameBytes) {
  WriteBytes(F(L"dst\\a.dat"), "alpha");
  WriteBytes(F(L"dst\\b.dat"), "alphA");
  WriteBytes(F(L"dst\\c.dat"), "alpha and more");
  EXPECT_TRUE(fs::SameFile(F(L"src\\a.dat"), F(L"dst\\a.dat")));
  EXPECT_FALSE(fs::SameFile(F(L"src\\a.dat"), F(L"dst\\b.dat")));
  EXPECT_FALSE(fs::SameFile(F(L"src\\a.dat"), F(L"dst\\c.dat")));
  EXPECT_FALSE(fs::SameFile(F(L"src\\a.dat"), F(L"dst\\none.dat")));
  EXPECT_FALSE(fs::SameFile(F(L"src\\a.dat"), F(L"src\\a.dat")));
  EXPECT_FALSE(fs::SameFile(F(L"src\\a.dat"), F(L"src\\sub\\..\\A.DAT")));
  EXPECT_FALSE(fs::SameFile(F(L"src\\sub"), F(L"src\\sub")));
}

}  // namespace vista
