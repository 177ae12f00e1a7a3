// The relocation run on real product files: its reports and events in order, the status kept in
// Status.ini, the move lists and the copying of single items.
#include <gtest/gtest.h>

#include "common/file_system.h"
#include "recording_presenter.h"
#include "relocation_fixture.h"
#include "test_util.h"
#include "vb/convert.h"

namespace vista {

using testhelp::Event;
using testhelp::ProductTree;
using testhelp::Sink;
using Reports = std::vector<std::pair<long, std::wstring>>;

namespace {

const wchar_t kMoveFailed[] =
    L"Move Failed because some files or Directories could not be moved. Make sure you are not running Tallowmere.  "
    L"Contact Marlowby Technical Support if this continues.";

// The reports of a whole move of Tallowmere that nothing stops, from the Parts' tables.
Reports TMFullMove(const ProductTree& t) {
  const std::wstring& p = t.program;
  Reports r = {
      {started, L""},
      {preparing, L"Creating New Folders"},
      {moving, L"Beginning Move of Files and Settings"},
      {moving, L"Moving INI file"},
      {moving, L"Moving lf file"},
      {moving, L"Moving custom dictionary"},
      {moving, L"Moving custom dictionary"},
      {moving, L"Moving statement form"},
      {moving, L"Moving any Tallowmere Databases in " + p},
      {moving, L"Moving Data Dir"},
      {moving, L"Moving Docs Dir"},
      {moving, L"Moving Ovrenna Reports Dir"},
      {moving, L"Moving template Dir"},
      {cleaningUp, L"Cleaning up old files"},
      {cleaningUp, L"Cleaning Up Move of Files"},
  };
  for (const wchar_t* source : {L"\\tm3.lf", L"\\custom.dic", L"\\medical.dic", L"\\statement.rtf", L"\\*.mdb",
                                L"\\Data", L"\\Docs", L"\\Reports", L"\\Templates"}) {
    if (r.size() == 15) r.push_back({cleaningUp, L"Removing " + t.settings + L"\\tm3.ini"});
    r.push_back({cleaningUp, L"Removing " + p + source});
  }
  r.push_back({completed, L"Move completed successfully. Press Exit."});
  return r;
}

// The rollback's reports when no copy exists: one line for each item.
Reports TMRollbackOfNothing(const std::wstring& settings, const std::wstring& program) {
  Reports r = {{rollingback, L"Restoring " + settings + L"\\tm3.ini"}};
  for (const wchar_t* source : {L"\\tm3.lf", L"\\custom.dic", L"\\medical.dic", L"\\statement.rtf", L"\\*.mdb",
                                L"\\Data", L"\\Docs", L"\\Reports", L"\\Templates"})
    r.push_back({rollingback, L"Restoring " + program + source});
  return r;
}
Reports TMRollbackOfNothing(const ProductTree& t) { return TMRollbackOfNothing(t.settings, t.program); }

Reports Concat(std::initializer_list<Reports> parts) {
  Reports all;
  for (const Reports& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

void WriteStatus(const ProductTree& t, const wchar_t* value) {
  CreateDirectoryW(t.hidden.substr(0, t.hidden.find_last_of(L'\\')).c_str(), nullptr);
  CreateDirectoryW(t.hidden.c_str(), nullptr);
  WritePrivateProfileStringW(L"VistaSettings", L"MoveProtected", value, (t.hidden + L"\\Status.ini").c_str());
}

class Relocation : public ::testing::Test {
 protected:
  vb::ScopedRecordingPresenter boxes;
};

}  // namespace

TEST_F(Relocation, AFullMoveOfTallowmere) {
  ProductTree t(TM);
  auto mover = t.NewMover();
  Sink sink(*mover);
  EXPECT_TRUE(t.Move(*mover));
  EXPECT_EQ(TMFullMove(t), sink.Reports());
  EXPECT_EQ("", t.ProblemsAtNewPlaces());
  EXPECT_EQ(L"7", t.StoredStatus());
  EXPECT_EQ(completed, mover->moveStatus());
  EXPECT_TRUE(boxes.shown().empty());
  // The mover's log holds every report, newest first, each after the time and " -- ".
  const std::wstring& log = mover->moveLog();
  EXPECT_EQ(0u, log.find_first_of(L"0123456789"));
  EXPECT_NE(std::wstring::npos, log.find(L" -- Move completed successfully. Press Exit.\r\n"));
  EXPECT_LT(log.find(L" -- Move completed successfully."), log.find(L" -- Creating New Folders\r\n"));

  // A second call only reports that the move is done, and touches nothing.
  auto again = t.NewMover();
  Sink sink2(*again);
  EXPECT_TRUE(t.Move(*again));
  EXPECT_EQ((Reports{{completed, L"Move Already Competed"}}), sink2.Reports());
  EXPECT_EQ("", t.ProblemsAtNewPlaces());
}

TEST_F(Relocation, AMoveFromANetworkProgramFolder) {
  // \\\\server\\share is the prefix's dosdevices/unc/server/share: the program folder is moved there.
  wchar_t prefix[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH)) GTEST_SKIP() << "no Wine prefix to map a share in";
  std::wstring unc = L"Z:" + std::wstring(prefix) + L"/dosdevices/unc";
  for (wchar_t& c : unc)
    if (c == L'/') c = L'\\';
  const std::wstring server = unc + L"\\gorsewick-test", share = server + L"\\share";
  for (const std::wstring& folder : {unc, server, share}) CreateDirectoryW(folder.c_str(), nullptr);
  ProductTree t(TM);
  const std::wstring name = fs::NameOf(t.program), local = share + L"\\" + name;
  ASSERT_TRUE(MoveFileW(t.program.c_str(), local.c_str()));
  for (testhelp::ProductFile& f : t.files)
    if (f.oldPath.rfind(t.program + L"\\", 0) == 0) f.oldPath = local + f.oldPath.substr(t.program.size());
  t.program = local;
  {
    // The share's folder is taken away once the run is moving: the move fails and is not stored as
    // completed; with the share back, the next run moves every file.
    auto first = t.NewMover();
    Sink sink(*first);
    const std::wstring away = share + L"-away";
    sink.onEvent = [&](const testhelp::Event& e) {
      if (e.msg == L"Moving Data Dir") EXPECT_TRUE(MoveFileW(share.c_str(), away.c_str()));
    };
    EXPECT_FALSE(first->moveProtectedFiles(L"\\\\gorsewick-test\\share\\" + name, t.settings, L"tm3.ini"));
    ASSERT_TRUE(MoveFileW(away.c_str(), share.c_str()));
    EXPECT_NE(L"7", t.StoredStatus());
  }
  auto mover = t.NewMover();
  EXPECT_TRUE(mover->moveProtectedFiles(L"\\\\gorsewick-test\\share\\" + name, t.settings, L"tm3.ini"));
  EXPECT_EQ(L"7", t.StoredStatus());
  EXPECT_EQ("", t.ProblemsAtNewPlaces());
  t.Clean();
  testutil::RemoveTree(server);
}

TEST_F(Relocation, AMoveLeftInItsCleanUpIsFinished) {
  ProductTree t(TM);
  auto first = t.NewMover();
  first->INTESTMODE = true;  // copies everything and removes nothing
  EXPECT_TRUE(t.Move(*first));
  EXPECT_EQ("", t.ProblemsNothingLost());
  WriteStatus(t, L"6");
  auto mover = t.NewMover();
  Sink sink(*mover);
  EXPECT_TRUE(t.Move(*mover));
  Reports expected = TMFullMove(t);
  expected.erase(expected.begin(), expected.begin() + 13);  // from "Cleaning up old files"
  expected.back().second = L"Move completed successfully. Click Exit.";
  EXPECT_EQ(expected, sink.Reports());
  EXPECT_EQ("", t.ProblemsAtNewPlaces());
}

TEST_F(Relocation, TestModeCopiesAndKeepsTheOldPlaces) {
  ProductTree t(TM);
  auto mover = t.NewMover();
  mover->INTESTMODE = true;
  Sink sink(*mover);
  EXPECT_TRUE(t.Move(*mover));
  Reports expected = TMFullMove(t);
  expected.erase(expected.begin() + 15, expected.end() - 1);  // no "Removing" lines
  EXPECT_EQ(expected, sink.Reports());
  EXPECT_EQ("", t.ProblemsNothingLost());
  auto again = t.NewMover();
  again->INTESTMODE = true;
  Sink sink2(*again);
  EXPECT_TRUE(t.Move(*again));
  EXPECT_EQ((Reports{{completed, L"Move Already Competed"}}), sink2.Reports());
}

TEST_F(Relocation, EmptyListsProductNotSetAndAMissingProgramFolder) {
  {
    ProductTree t(VNE);
    CreateDirectoryW(t.program.c_str(), nullptr);
    auto mover = t.NewMover();
    Sink sink(*mover);
    EXPECT_TRUE(t.Move(*mover));
    EXPECT_EQ((Reports{{started, L""},
                       {preparing, L"Creating New Folders"},
                       {moving, L"Beginning Move of Files and Settings"},
                       {cleaningUp, L"Cleaning up old files"},
                       {cleaningUp, L"Cleaning Up Move of Files"},
                       {completed, L"Move completed successfully. Press Exit."}}),
              sink.Reports());
    EXPECT_TRUE(fs::FolderExists(t.hidden) && fs::FolderExists(t.publicData));
  }
  {
    ProductTree t(appNameNotSet);
    CreateDirectoryW(t.program.c_str(), nullptr);  // Program Files itself
    auto mover = t.NewMover();
    Sink sink(*mover);
    EXPECT_FALSE(t.Move(*mover));
    EXPECT_EQ((Reports{{started, L""},
                       {Failed, L"Product Name Not Set. Contact Marlowby Technical Support with this message"}}),
              sink.Reports());
  }
  // A missing program folder is found before any rollback of an earlier move.
  ProductTree t(TM);
  WriteStatus(t, L"5");
  for (const std::wstring& program : {t.program + L"\\Missing", std::wstring(L"Tallowmere"), std::wstring()}) {
    auto mover = t.NewMover();
    Sink sink(*mover);
    EXPECT_FALSE(mover->moveProtectedFiles(program, t.settings, L""));
    EXPECT_EQ(Concat({TMRollbackOfNothing(t.settings, program), {{Failed, L"Source Folders Not Found (" + program + L") "}}}),
              sink.Reports());
    EXPECT_EQ(rollingback, mover->moveStatus());  // the failure's own rollback (of nothing)
  }
  EXPECT_EQ("", t.ProblemsAtOldPlaces());
}

TEST_F(Relocation, ACopyFailureRollsBackBeforeItsEvent) {
  ProductTree t(TM);
  // The second file item is in use: its copy fails with 70.
  HANDLE lock = CreateFileW((t.program + L"\\tm3.lf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, lock);
  auto mover = t.NewMover();
  Sink sink(*mover);
  EXPECT_FALSE(t.Move(*mover));
  CloseHandle(lock);
  const Reports nothing = TMRollbackOfNothing(t), full = TMFullMove(t);
  const Reports firstRollback = Concat({{{rollingback, L"Restoring " + t.settings + L"\\tm3.ini"},
                                         {moving, L"Moving INI file"},
                                         {moving, L"Move of " + t.hidden + L"\\tm3.ini caused error (58) File already exists"}},
                                        Reports(nothing.begin() + 1, nothing.end())});
  EXPECT_EQ(Concat({Reports(full.begin(), full.begin() + 5), firstRollback,
                    {{Failed, L"Copy File Error while Moving lf file (70) Permission denied"}},
                    TMRollbackOfNothing(t), {{Failed, kMoveFailed}}}),
            sink.Reports());
  EXPECT_EQ(rollingback, mover->moveStatus());
  EXPECT_EQ(L"8", t.StoredStatus());
  EXPECT_EQ("", t.ProblemsAtOldPlaces());
  // The log saved at the failure names the item with its error and holds the rollback's lines.
  const std::string saved = testutil::ReadBytes(t.publicData + L"\\VistaMoveLog.txt");
  EXPECT_NE(std::string::npos, saved.find(" -- Copy File Error while Moving lf file (70) Permission denied\r\n"));
  EXPECT_NE(std::string::npos, saved.find(" -- Restoring " + vb::ToAnsi(t.program) + "\\Templates\r\n"));

  // The next run rolls back (nothing is left to restore) and moves everything.
  auto next = t.NewMover();
  Sink sink2(*next);
  EXPECT_TRUE(t.Move(*next));
  EXPECT_EQ(Concat({TMRollbackOfNothing(t), TMFullMove(t)}), sink2.Reports());
  EXPECT_EQ("", t.ProblemsAtNewPlaces());
}

TEST_F(Relocation, ACancelDuringARollbackStartsNoSecondOneAndStopsTheRun) {
  ProductTree t(TM);
  HANDLE lock = CreateFileW((t.program + L"\\tm3.lf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  auto mover = t.NewMover();
  Sink sink(*mover);
  bool nestedRun = true;
  sink.onEvent = [&](const Event& e) {
    if (e.status != rollingback || sink.events.size() != 6) return;  // the rollback's first report
    // A run started from a handler of this run's events returns at once, reporting nothing.
    nestedRun = mover->moveProtectedFiles(t.program, t.settings, L"");
    mover->cancelMove();
  };
  EXPECT_FALSE(t.Move(*mover));
  CloseHandle(lock);
  EXPECT_FALSE(nestedRun);
  const Reports nothing = TMRollbackOfNothing(t), full = TMFullMove(t);
  // The failure's rollback goes on; the cancel only records itself; the run reports nothing more.
  EXPECT_EQ(Concat({Reports(full.begin(), full.begin() + 5),
                    {nothing[0], {cancelled, L"Move Cancelled"}, {moving, L"Moving INI file"},
                     {moving, L"Move of " + t.hidden + L"\\tm3.ini caused error (58) File already exists"}},
                    Reports(nothing.begin() + 1, nothing.end()),
                    {{Failed, L"Copy File Error while Moving lf file (70) Permission denied"}}}),
            sink.Reports());
  EXPECT_EQ("", t.ProblemsAtOldPlaces());
  EXPECT_EQ(rollingback, mover->moveStatus());
}

TEST_F(Relocation, AStatusFileThatCannotBeWrittenIsReportedAndTheRunGoesOn) {
  ProductTree t(VNE);
  CreateDirectoryW(t.program.c_str(), nullptr);
  CreateDirectoryW(t.hidden.substr(0, t.hidden.find_last_of(L'\\')).c_str(), nullptr);
  CreateDirectoryW(t.hidden.c_str(), nullptr);
  CreateDirectoryW((t.hidden + L"\\Status.ini").c_str(), nullptr);  // a folder in the file's place
  auto mover = t.NewMover();
  Sink sink(*mover);
  EXPECT_TRUE(t.Move(*mover));
  const std::wstring failed = L"Write INI Failed - " + t.hidden + L"\\Status.ini";
  EXPECT_EQ((Reports{{started, failed},
                     {preparing, failed},
                     {moving, failed},
                     {cleaningUp, failed},
                     {cleaningUp, failed},
                     {completed, failed}}),
            sink.Reports());
  EXPECT_EQ(Failed, mover->moveStatus());
  RemoveDirectoryW((t.hidden + L"\\Status.ini").c_str());
}

TEST_F(Relocation, StatusFileReadOnceAndWrittenOnlyOnAChange) {
  ProductTree t(VNE);
  struct Case {
    const wchar_t* stored;  // nullptr: no file
    long status;            // -1: an error
    long error;
  } const cases[] = {
      {nullptr, notStarted, 0}, {L"7", completed, 0}, {L"abc", -1, 13}, {L"99999", -1, 6},
      {L"2.5", Failed, 0},      {L"3.5", 4, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? vb::ToAnsi(c.stored) : "no file");
    DeleteFileW((t.hidden + L"\\Status.ini").c_str());
    if (c.stored) WriteStatus(t, c.stored);
    auto mover = t.NewMover();
    if (c.status < 0) {
      EXPECT_VB_ERROR(c.error, mover->moveStatus());
      EXPECT_VB_ERROR(c.error, mover->moveStatus());  // still unread
    } else {
      EXPECT_EQ(c.status, mover->moveStatus());
    }
  }
  // Read once: a later change of the file is not seen.
  WriteStatus(t, L"3");
  auto mover = t.NewMover();
  EXPECT_EQ(cancelled, mover->moveStatus());
  WriteStatus(t, L"5");
  EXPECT_EQ(cancelled, mover->moveStatus());
  // A report with the cached status writes nothing; another writes its status.
  Sink sink(*mover);
  mover->cancelMove();
  EXPECT_EQ(L"5", t.StoredStatus());
  EXPECT_EQ((Reports{{cancelled, L"Move Cancelled"}}), sink.Reports());
  ManageFilesProbe::setStatus(*mover, preparing, L"x");
  EXPECT_EQ(L"4", t.StoredStatus());
  // A report before any read always writes.
  WriteStatus(t, L"4");
  auto fresh = t.NewMover();
  ManageFilesProbe::setStatus(*fresh, preparing, L"x");
  WriteStatus(t, L"1");
  EXPECT_EQ(preparing, fresh->moveStatus());
}

TEST_F(Relocation, MoveListsOfEachProduct) {
  ProductTree t(VNS);
  auto mover = t.NewMover();
  ManageFilesProbe::SetSources(*mover, L"P:", L"S:");
  const std::wstring h = t.hidden, d = t.publicData;
  struct Item {
    bool folder;
    std::wstring source, destination, message;
  };
  const std::vector<std::pair<long, std::vector<Item>>> products = {
      {TM,
       {{false, L"S:\\tm3.ini", h, L"Moving INI file"},
        {false, L"P:\\tm3.lf", h, L"Moving lf file"},
        {false, L"P:\\custom.dic", h, L"Moving custom dictionary"},
        {false, L"P:\\medical.dic", h, L"Moving custom dictionary"},
        {false, L"P:\\statement.rtf", L"", L"Moving statement form"},
        {false, L"P:\\*.mdb", L"", L"Moving any Tallowmere Databases in P:"},
        {true, L"P:\\Data", L"\\Data", L"Moving Data Dir"},
        {true, L"P:\\Docs", L"\\Docs", L"Moving Docs Dir"},
        {true, L"P:\\Reports", L"\\Reports", L"Moving Ovrenna Reports Dir"},
        {true, L"P:\\Templates", L"\\Templates", L"Moving template Dir"}}},
      {VNS,
       {{false, L"S:\\vendral.ini", h, L"Moving Vendral INI File"},
        {false, L"S:\\sorrefold.ini", h, L"Moving Sorrefold INI File"},
        {false, L"S:\\vnsched.ini", h, L"Moving VN Sched INI File"},
        {false, L"S:\\nimbrel.ini", h, L"Moving Nimbrel INI File"},
        {false, L"P:\\custom.dic", h, L"Moving Custom Dictionary"},
        {false, L"P:\\fees.dat", h, L"Moving Fee Schedule"},
        {false, L"P:\\vendral.lf", L"", L"Moving LF file"},
        {false, L"P:\\review.dat", L"", L"Moving Review file"},
        {false, L"P:\\ros.dat", L"", L"Moving ROS file"},
        {false, L"P:\\*.sff", h, L"Moving All SFF files"},
        {true, L"P:\\Reports", L"\\Reports", L"Moving Reports Dir"},
        {true, L"P:\\Documents", L"\\Documents", L"Moving Documents Dir"},
        {true, L"P:\\Data", L"\\Data", L"Moving Data Dir"}}},
      {VNE, {}},
      {appNameNotSet, {}},
  };
  for (const auto& [product, items] : products) {
    SCOPED_TRACE(product);
    mover->appName()->appName = product;
    // Built twice: each list holds each item once.
    ManageFilesProbe::buildMoveLists(*mover);
    ManageFilesProbe::buildMoveLists(*mover);
    const std::wstring hidden = mover->fileLocs->hiddenDataPath(), publicData = mover->fileLocs->publicDataPath();
    short index[2] = {0, 0};
    for (const Item& i : items) {
      const moveItem got = ManageFilesProbe::getMoveItem(*mover, i.folder, ++index[i.folder]);
      EXPECT_EQ(i.source, got.source);
      // An empty destination in the table is the public folder; one starting with "\" is below it.
      std::wstring destination = i.destination.empty() ? publicData
                                 : i.destination[0] == L'\\' ? publicData + i.destination
                                                             : (i.destination == h ? hidden : i.destination);
      EXPECT_EQ(destination, got.destination);
      EXPECT_EQ(i.message, got.message);
    }
    EXPECT_EQ(index[0], ManageFilesProbe::Count(*mover, false));
    EXPECT_EQ(index[1], ManageFilesProbe::Count(*mover, true));
    for (short outside : {short(0), short(index[0] + 1), short(-1)}) {
      const moveItem none = ManageFilesProbe::getMoveItem(*mover, false, outside);
      EXPECT_EQ(L"", none.source + none.destination + none.message);
    }
  }
  // An empty program folder: the pattern item's message loses its last blank.
  ManageFilesProbe::SetSources(*mover, L"", L"S:");
  mover->appName()->appName = TM;
  ManageFilesProbe::buildMoveLists(*mover);
  EXPECT_EQ(L"Moving any Tallowmere Databases in", ManageFilesProbe::getMoveItem(*mover, false, 6).message);
}

TEST_F(Relocation, CopyingSingleItems) {
  testutil::TempDir dir;
  const std::wstring src = dir.file(L"src"), dst = dir.file(L"dst");
  CreateDirectoryW(src.c_str(), nullptr);
  testutil::WriteBytes(src + L"\\a.mdb", "new a");
  testutil::WriteBytes(src + L"\\b.mdb", "b");
  testutil::WriteBytes(src + L"\\c.MDB", "c");
  auto mover = ManageFiles::New();
  mover->showProgressDialog = false;
  Sink sink(*mover);
  struct Case {
    std::wstring source, destination;
    std::vector<std::wstring> present;  // files present afterwards (relative to dir)
    Reports reports;
  } const cases[] = {
      // A missing destination folder is made only when the destination ends in "\".
      {src + L"\\a.mdb", dst + L"\\one\\", {L"dst\\one\\a.mdb"}, {{moving, L"Copying"}}},
      {src + L"\\a.mdb", dst + L"\\two", {}, {{moving, L"Copying"}, {moving, L"Move of " + src + L"\\a.mdb caused error (76) Path not found"}}},
      // A last part with "." names the target file; doubled backslashes are collapsed.
      {src + L"\\\\a.mdb", dst + L"\\one\\\\renamed.txt", {L"dst\\one\\renamed.txt"}, {{moving, L"Copying"}}},
      // An existing target is kept: 58 counts as done.
      {src + L"\\a.mdb", dst + L"\\one", {L"dst\\one\\a.mdb"},
       {{moving, L"Copying"}, {moving, L"Move of " + src + L"\\a.mdb caused error (58) File already exists"}}},
      // A pattern copies every file it matches that is not there yet, then reports 58 once.
      {src + L"\\*.mdb", dst + L"\\one\\", {L"dst\\one\\b.mdb", L"dst\\one\\c.MDB"},
       {{moving, L"Copying"}, {moving, L"Move of " + src + L"\\*.mdb caused error (58) File already exists"}}},
      // Absent sources count as done: a missing file, a pattern matching only in another case, "".
      {src + L"\\none.mdb", dst + L"\\one", {}, {{moving, L"Copying"}}},
      {src + L"\\*.MDx", dst + L"\\one", {}, {{moving, L"Copying"}}},
      {L"", dst + L"\\one", {}, {{moving, L"Copying"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(vb::ToAnsi(c.source + L" -> " + c.destination));
    sink.events.clear();
    EXPECT_TRUE(ManageFilesProbe::copyFileItem(*mover, c.source, c.destination));
    EXPECT_EQ(c.reports, sink.Reports());
    for (const std::wstring& p : c.present) EXPECT_TRUE(fs::FileExists(dir.file(p))) << vb::ToAnsi(p);
  }
  EXPECT_EQ("new a", testutil::ReadBytes(dst + L"\\one\\a.mdb"));

  // A folder copied over an existing copy: the missing files are added, the existing kept.
  CreateDirectoryW((src + L"\\sub").c_str(), nullptr);
  testutil::WriteBytes(src + L"\\sub\\x.dat", "x");
  testutil::WriteBytes(dst + L"\\one\\a.mdb", "old a");
  sink.events.clear();
  EXPECT_TRUE(ManageFilesProbe::copyFolderItem(*mover, src, dst + L"\\one"));
  EXPECT_EQ((Reports{{moving, L"Copying"},
                     {moving, L"Attempted copy of " + src + L" caused error (58) File already exists"}}),
            sink.Reports());
  EXPECT_EQ("old a", testutil::ReadBytes(dst + L"\\one\\a.mdb"));
  EXPECT_EQ("x", testutil::ReadBytes(dst + L"\\one\\sub\\x.dat"));
  EXPECT_EQ("new a", testutil::ReadBytes(dst + L"\\one\\renamed.txt"));
  testutil::RemoveTree(src);
  testutil::RemoveTree(dst);
}

}  // namespace vista
