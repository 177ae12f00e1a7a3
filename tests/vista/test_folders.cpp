// The product's identity and its folders, against the shell's known folders, for every product.
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/file_locations.h"
#include "common/mby_app_name.h"
#include "test_util.h"
#include "vb/convert.h"
#include "vista_test_util.h"

namespace vista {

using testhelp::KnownFolder;

namespace {

struct Product {
  long value;
  const wchar_t* dirName;
  const wchar_t* label;
};
const Product kProducts[] = {
    {appNameNotSet, L"", L""},
    {VNS, L"Vendral Std", L"Vendral Standard"},
    {VNE, L"Vendral Ent", L"Vendral Enterprise"},
    {TM, L"Tallowmere", L"Tallowmere"},
    {4, L"", L""},
    {-1, L"", L""},
};

com::Ptr<MBYAppName> NewProduct(long value) {
  auto p = MBYAppName::New();
  p->appName = value;
  return p;
}

// Removes, at the end of the scope (or at Now()), what a test made, last made first, so a failed
// assertion leaves nothing behind in the prefix.
class Undo {
 public:
  ~Undo() { Now(); }
  void File(const std::wstring& p) { made_.push_back({p, false}); }
  void Folder(const std::wstring& p) { made_.push_back({p, true}); }
  void Now() {
    for (; !made_.empty(); made_.pop_back()) {
      const auto& [path, folder] = made_.back();
      folder ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str());
    }
  }

 private:
  std::vector<std::pair<std::wstring, bool>> made_;
};

}  // namespace

TEST(Folders, ProductNamesAndLabels) {
  auto app = MBYAppName::New();
  EXPECT_EQ(appNameNotSet, app->appName);
  for (const Product& p : kProducts) {
    app->appName = p.value;
    EXPECT_EQ(p.dirName, app->appDirName()) << p.value;
    EXPECT_EQ(p.label, app->appLabel()) << p.value;
  }
}

TEST(Folders, ProductFoldersUnderTheSharedFoldersForEveryProduct) {
  const std::wstring programs = KnownFolder(FOLDERID_ProgramFiles);
  const std::wstring publicDocs = KnownFolder(FOLDERID_PublicDocuments);
  const std::wstring programData = KnownFolder(FOLDERID_ProgramData);
  ASSERT_FALSE(programs.empty() || publicDocs.empty() || programData.empty());

  auto locations = fileLocations::New();
  ASSERT_TRUE(locations->appName);
  EXPECT_EQ(appNameNotSet, locations->appName->appName);
  auto vne = NewProduct(VNE);
  for (const Product& p : kProducts) {
    locations->appName->appName = p.value;
    const std::wstring tail = std::wstring(L"\\Marlowby\\") + p.dirName;
    EXPECT_EQ(programs + tail, locations->preferredAppPath()) << p.value;
    EXPECT_EQ(publicDocs + tail, locations->publicDataPath()) << p.value;
    EXPECT_EQ(programData + tail, locations->hiddenDataPath()) << p.value;
    // A product passed in wins over the object's own.
    EXPECT_EQ(publicDocs + L"\\Marlowby\\Vendral Ent", locations->publicDataPath(vne.get())) << p.value;
    EXPECT_EQ(programData + L"\\Marlowby\\Vendral Ent", locations->hiddenDataPath(vne.get())) << p.value;
    EXPECT_EQ(programs + L"\\Marlowby\\Vendral Ent", locations->preferredAppPath(vne.get())) << p.value;
    // Setting the member replaces the product object; every call reads the one it holds.
    auto own = NewProduct(p.value);
    locations->appName = own;
    EXPECT_EQ(publicDocs + tail, locations->publicDataPath());
  }

  // Without a product object the product calls fail; with one passed in they work.
  locations->appName = nullptr;
  EXPECT_VB_ERROR(91, locations->publicDataPath());
  EXPECT_VB_ERROR(91, locations->hiddenDataPathExists());
  EXPECT_EQ(programData + L"\\Marlowby\\Vendral Ent", locations->hiddenDataPath(vne.get()));
}

TEST(Folders, UserFolders) {
  auto locations = fileLocations::New();
  EXPECT_EQ(KnownFolder(FOLDERID_Documents), locations->userDocPath());
  EXPECT_EQ(KnownFolder(FOLDERID_LocalAppData) + L"\\VirtualStore", locations->userVirtualDataPath());

  wchar_t temp[MAX_PATH];
  std::wstring expected(temp, GetTempPathW(MAX_PATH, temp));
  ASSERT_EQ(L'\\', expected.back());
  expected.pop_back();
  EXPECT_EQ(expected, locations->userTempPath());

  // The temporary folder follows TMP, and never ends with "\".
  wchar_t savedTmp[MAX_PATH] = {};
  DWORD hadTmp = GetEnvironmentVariableW(L"TMP", savedTmp, MAX_PATH);
  testutil::TempDir dir;
  SetEnvironmentVariableW(L"TMP", dir.path().c_str());
  EXPECT_EQ(dir.path(), locations->userTempPath());
  SetEnvironmentVariableW(L"TMP", (dir.path() + L"\\").c_str());
  EXPECT_EQ(dir.path(), locations->userTempPath());
  SetEnvironmentVariableW(L"TMP", hadTmp ? savedTmp : nullptr);
}

TEST(Folders, ExistenceOfTheProductFolders) {
  auto locations = fileLocations::New();
  auto vns = NewProduct(VNS);
  locations->appName->appName = VNS;
  const std::wstring hidden = locations->hiddenDataPath();
  const std::wstring shared = locations->publicDataPath();
  const std::wstring program = locations->preferredAppPath();
  // The test prefix holds no product folder: one found here was left behind, and fails the test.
  for (const std::wstring& p : {hidden, shared, program})
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(p.c_str())) << vb::ToAnsi(p) << " exists";

  EXPECT_FALSE(locations->hiddenDataPathExists());
  EXPECT_FALSE(locations->publicDataPathExists(vns.get()));
  EXPECT_FALSE(locations->preferredAppPathExists());

  Undo undo;
  const std::wstring hiddenMaker = hidden.substr(0, hidden.find_last_of(L'\\'));
  const std::wstring sharedMaker = shared.substr(0, shared.find_last_of(L'\\'));
  if (CreateDirectoryW(hiddenMaker.c_str(), nullptr)) undo.Folder(hiddenMaker);
  if (CreateDirectoryW(sharedMaker.c_str(), nullptr)) undo.Folder(sharedMaker);
  ASSERT_TRUE(CreateDirectoryW(hidden.c_str(), nullptr));
  undo.Folder(hidden);
  ASSERT_NO_FATAL_FAILURE(testutil::WriteBytes(shared, ""));  // a file of that name counts too
  undo.File(shared);
  EXPECT_TRUE(locations->hiddenDataPathExists());
  EXPECT_TRUE(locations->hiddenDataPathExists(vns.get()));
  EXPECT_TRUE(locations->publicDataPathExists());
  EXPECT_FALSE(locations->preferredAppPathExists());
  locations->appName->appName = TM;
  EXPECT_TRUE(locations->hiddenDataPathExists(vns.get()));
  // Without a product the path ends in "\Marlowby\": that folder is searched, and holds one.
  locations->appName->appName = appNameNotSet;
  EXPECT_TRUE(locations->hiddenDataPathExists());

  undo.Now();
  EXPECT_FALSE(locations->hiddenDataPathExists(vns.get()));
  EXPECT_FALSE(locations->publicDataPathExists(vns.get()));
}

TEST(Folders, VirtualStoreCopyWinsOverTheFileItself) {
  auto locations = fileLocations::New();
  const std::wstring folder = L"gwvirt" + std::to_wstring(GetCurrentProcessId());
  const std::wstring given = L"c:\\program files\\" + folder + L"\\settings.ini";
  const std::wstring programFolder = KnownFolder(FOLDERID_ProgramFiles) + L"\\" + folder;
  const std::wstring virtualRoot = locations->userVirtualDataPath();
  const std::wstring storeFolder = virtualRoot + L"\\PROGRAM FILES\\" + vb::UCase(folder);
  const std::wstring virtualCopy = storeFolder + L"\\SETTINGS.INI";
  ASSERT_EQ(L"C:\\Program Files", KnownFolder(FOLDERID_ProgramFiles));

  EXPECT_EQ(L"", locations->getVirtualPath(given));  // neither file
  EXPECT_EQ(L"", locations->getVirtualPath(L"C:\\no|such.ini"));  // a name no file can have

  Undo undo;
  ASSERT_TRUE(CreateDirectoryW(programFolder.c_str(), nullptr));
  undo.Folder(programFolder);
  ASSERT_NO_FATAL_FAILURE(testutil::WriteBytes(programFolder + L"\\settings.ini", ""));
  undo.File(programFolder + L"\\settings.ini");
  EXPECT_EQ(given, locations->getVirtualPath(given));  // the file itself, as given

  for (const std::wstring& f : {virtualRoot, virtualRoot + L"\\PROGRAM FILES"})
    if (CreateDirectoryW(f.c_str(), nullptr)) undo.Folder(f);
  ASSERT_TRUE(CreateDirectoryW(storeFolder.c_str(), nullptr));
  undo.Folder(storeFolder);
  ASSERT_NO_FATAL_FAILURE(testutil::WriteBytes(virtualCopy, ""));
  undo.File(virtualCopy);
  EXPECT_EQ(virtualCopy, locations->getVirtualPath(given));

  DeleteFileW((programFolder + L"\\settings.ini").c_str());
  EXPECT_EQ(virtualCopy, locations->getVirtualPath(given));  // the copy alone
}

}  // namespace vista
