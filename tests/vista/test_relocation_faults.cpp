// Faults at every file operation of a move of Tallowmere and of Vendral Standard: a source that
// cannot be read, a full or read-only destination, a locked source, and the end of the process
// (in a child process) at each operation and inside a copy. After each, a new mover resumes the
// move or rolls it back, and every file must stand exactly once, byte for byte.
#include <gtest/gtest.h>

#include <sstream>

#include "common/file_system.h"
#include "recording_presenter.h"
#include "relocation_fixture.h"
#include "test_util.h"
#include "typelib_dump.h"
#include "vb/convert.h"

namespace vista {

using testhelp::ProductTree;
using testhelp::Sink;

namespace {

// Operations of a whole move: all of them, and those of its copy phase (before the clean-up).
struct OperationCounts {
  long all = 0, copyPhase = 0;
};

OperationCounts CountOperations(long product) {
  ProductTree t(product);
  // The data folders' parents, which no tree removes: the first move in a prefix would count their making.
  for (const std::wstring& folder : {t.hidden, t.publicData}) CreateDirectoryW(fs::FolderOf(folder).c_str(), nullptr);
  auto mover = t.NewMover();
  Sink sink(*mover);
  OperationCounts n;
  sink.onEvent = [&](const testhelp::Event& e) {
    if (e.msg == L"Cleaning up old files") n.copyPhase = fs::OperationCount();
  };
  fs::SetFaultPlan({});
  EXPECT_TRUE(t.Move(*mover));
  n.all = fs::OperationCount();
  return n;
}

// What the status file says must hold of the tree; "" when it does.
std::string StatusTellsTheTruth(const ProductTree& t) {
  const std::wstring status = t.StoredStatus();
  if (status == L"7" || status == L"6") return t.ProblemsNothingLost();
  if (status.empty() || status == L"0") return t.ProblemsAtOldPlaces();  // nothing may have moved
  return "";  // any other value makes the next run roll back first
}

// A new mover finishes the move (resume) or undoes it (rollback); the tree must then be whole.
std::string AfterRecovery(const ProductTree& t, bool resume) {
  auto mover = t.NewMover();
  if (!resume) {
    // A rollback of its own: the lists for the product's folders, then a cancel.
    ManageFilesProbe::SetSources(*mover, t.program, t.settings);
    ManageFilesProbe::buildMoveLists(*mover);
    mover->cancelMove();
    return t.ProblemsAtOldPlaces();
  }
  const std::wstring before = t.StoredStatus();
  if (!t.Move(*mover)) return "the resumed move failed\n";
  // A clean-up that failed leaves old copies, which a completed move keeps.
  return before == L"7" ? t.ProblemsNothingLost() : t.ProblemsAtNewPlaces();
}

// Where a fault strikes: operation k; or from operation k on, every call on the program folder and
// all it holds (a share taken away), or only its listings; or operation k of a move given the
// program folder in the long-path form with a trailing backslash.
enum class Reach { operation, programFolderGone, programListings, longPathProgramFolder };

struct ErrorFault {
  const char* name;
  unsigned long error;
  long number;  // what a copy reports
  Reach reach = Reach::operation;
};

class FaultAtEveryOperation : public ::testing::TestWithParam<std::tuple<long, ErrorFault>> {
 protected:
  vb::ScopedRecordingPresenter boxes;
  void TearDown() override { fs::SetFaultPlan({}); }
};

}  // namespace

TEST_P(FaultAtEveryOperation, NothingIsLostAndTheStatusTellsTheTruth) {
  const auto [product, fault] = GetParam();
  std::string number = std::to_string(fault.number);  // as the reports write it: "(70)"
  number.insert(0, 1, '(').push_back(')');
  const OperationCounts n = CountOperations(product);
  ASSERT_GT(n.copyPhase, 10);
  ASSERT_GT(n.all, n.copyPhase);
  long failed = 0;
  for (long k = 1; k <= n.all; ++k) {
    SCOPED_TRACE("operation " + std::to_string(k) + " of " + std::to_string(n.all));
    ProductTree t(product);
    auto mover = t.NewMover();
    fs::FaultPlan plan;
    plan.error = fault.error;
    const bool programFolderFails = fault.reach == Reach::programFolderGone || fault.reach == Reach::programListings;
    if (programFolderFails) {
      plan.goneFolder = t.program;
      plan.goneAfter = k;
      plan.onlyListings = fault.reach == Reach::programListings;
    } else {
      plan.failOperation = k;
    }
    fs::SetFaultPlan(plan);
    const bool moved = fault.reach == Reach::longPathProgramFolder
                           ? mover->moveProtectedFiles(L"\\\\?\\" + t.program + L"\\", t.settings, L"tm3.ini")
                           : t.Move(*mover);
    fs::SetFaultPlan({});
    EXPECT_EQ("", StatusTellsTheTruth(t));
    const std::string log = vb::ToAnsi(mover->moveLog());
    if (!moved) {
      // The failure is reported with its number, rolled back, and saved with the rollback's lines.
      ++failed;
      EXPECT_LE(k, n.copyPhase);
      // A rollback cannot reach a program folder that does not answer: the recovery shows that nothing was lost.
      if (!programFolderFails) {
        EXPECT_EQ("", t.ProblemsAtOldPlaces());
      }
      const std::string saved = testutil::ReadBytes(t.publicData + L"\\VistaMoveLog.txt");
      if (log.find(" Error while ") != std::string::npos) {
        EXPECT_NE(std::string::npos, saved.find(number)) << log;
        EXPECT_NE(std::string::npos, saved.find(" -- Restoring ")) << log;
      } else if (log.find(" failed: no identical copy at ") != std::string::npos) {
        // A tolerated copy error left no copy: the clean-up kept that source and failed the move.
        EXPECT_EQ(58, fault.number) << log;
        EXPECT_NE(std::string::npos, saved.find(" -- Restoring ")) << log;
      } else {  // a data folder that could not be made: no log is saved there
        EXPECT_NE(std::string::npos, log.find("Error Creating Folder(")) << log;
        EXPECT_NE(std::string::npos, log.find(" -- Restoring ")) << log;
      }
    } else {
      // A fault while a report made the status folder is reported and passed; one in the clean-up
      // still completes the move and keeps what the clean-up could not remove.
      EXPECT_EQ(L"7", t.StoredStatus());
      EXPECT_EQ("", t.ProblemsNothingLost());
      if (k > n.copyPhase && (k < n.all || !programFolderFails)) {
        EXPECT_NE(std::string::npos, log.find("Cleanup of Files Failed.")) << log;
      }
    }
    EXPECT_EQ("", AfterRecovery(t, k % 2 == 0 || fault.reach != Reach::operation));
  }
  EXPECT_GE(failed, n.copyPhase - 2);  // all but the faults in making the status folder
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultAtEveryOperation,
    ::testing::Combine(::testing::Values(TM, VNS),
                       ::testing::Values(ErrorFault{"UnreadableSource", ERROR_ACCESS_DENIED, 70},
                                         ErrorFault{"FullDestination", ERROR_DISK_FULL, 61},
                                         ErrorFault{"ReadOnlyDestination", ERROR_WRITE_PROTECT, 70},
                                         ErrorFault{"TargetAlreadyThere", ERROR_FILE_EXISTS, 58},
                                         ErrorFault{"DamagedSource", ERROR_CRC, ERROR_CRC})),
    [](const auto& info) {
      return std::string(std::get<0>(info.param) == TM ? "TM_" : "VNS_") + std::get<1>(info.param).name;
    });
INSTANTIATE_TEST_SUITE_P(
    ProgramFolderFaults, FaultAtEveryOperation,
    ::testing::Combine(::testing::Values(TM),
                       ::testing::Values(ErrorFault{"ShareTakenAway", ERROR_PATH_NOT_FOUND, 76, Reach::programFolderGone},
                                         ErrorFault{"ListingsFail", ERROR_NETNAME_DELETED, ERROR_NETNAME_DELETED,
                                                    Reach::programListings},
                                         ErrorFault{"LongPathFormWithTrailingBackslash", ERROR_ACCESS_DENIED, 70,
                                                    Reach::longPathProgramFolder})),
    [](const auto& info) { return std::string("TM_") + std::get<1>(info.param).name; });

namespace {

// Starts the move in a child process that ends at operation k (after `bytes` bytes of its copy),
// or pauses at operation -k; the process, nullptr when it could not start.
HANDLE StartChild(const ProductTree& t, long k, unsigned long long bytes) {
  std::wstring command = L"\"" + testutil::BesideTestProgram(L"reloc_child.exe") + L"\" " + std::to_wstring(t.product) +
                         L" \"" + t.program + L"\" \"" + t.settings + L"\" " + std::to_wstring(k) + L" " +
                         std::to_wstring(bytes);
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return nullptr;
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

// The child's exit status; a child still running after 60 s is ended first (status ~0), so that
// it moves no file of the next case.
DWORD EndOfChild(HANDLE child) {
  if (!child) return ~0u;
  if (WaitForSingleObject(child, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(child, ~0u);
    WaitForSingleObject(child, 10000);
  }
  DWORD code = ~0u;
  GetExitCodeProcess(child, &code);
  CloseHandle(child);
  return code;
}

DWORD MoveInChild(const ProductTree& t, long k, unsigned long long bytes) { return EndOfChild(StartChild(t, k, bytes)); }

// The host goes on writing the old places while a move is half done: each file that the move
// has copied gets new bytes there. How many did.
long ChangeOldPlacesOfCopiedFiles(ProductTree& t) {
  long changed = 0;
  for (testhelp::ProductFile& f : t.files) {
    if (f.newPath.empty() || !fs::FileExists(f.oldPath) || !fs::FileExists(f.newPath)) continue;
    if (GetFileAttributesW(f.oldPath.c_str()) & FILE_ATTRIBUTE_READONLY) continue;
    f.bytes += "written since the move began\r\n";
    testutil::WriteBytes(f.oldPath, f.bytes);
    ++changed;
  }
  return changed;
}

// What the old places do between the ended run and the next.
enum class Since { unchanged, changed, changedAndSetAsideFails };

// The next run finds `changed` copies out of date that it cannot set aside: it says so for each,
// reports the rollback failed and stores that, and moves nothing. "" when it does.
std::string CopiesThatCannotBeSetAside(const ProductTree& t, long changed) {
  fs::FaultPlan plan;
  plan.failSetAside = true;
  plan.error = ERROR_SHARING_VIOLATION;
  fs::SetFaultPlan(plan);
  auto mover = t.NewMover();
  const bool moved = t.Move(*mover);
  fs::SetFaultPlan({});
  const std::wstring log = mover->moveLog();
  long told = 0;
  for (size_t at = 0; (at = log.find(L" could not set aside (70) Permission denied\r\n", at)) != std::wstring::npos; ++at)
    ++told;
  std::string problems;
  if (moved) problems += "the run moved\n";
  if (t.StoredStatus() != L"9") problems += "status " + vb::ToAnsi(t.StoredStatus()) + "\n";
  if (told != changed) problems += std::to_string(told) + " of " + std::to_string(changed) + " told\n";
  return problems.empty() ? "" : problems + vb::ToAnsi(log);
}

// The product, whether the process ends inside a copy, and where it ends: at every operation of
// one third of them (k = 1 + part, 4 + part ...), or inside each copy of the copy phase; and
// whether the old places change before the next run (then only ends in the copy phase count).
class ProcessEnds : public ::testing::TestWithParam<std::tuple<long, bool, long, Since>> {
 protected:
  vb::ScopedRecordingPresenter boxes;
};

}  // namespace

TEST_P(ProcessEnds, AtEveryOperationAndTheNextRunRecovers) {
  const auto [product, insideFiles, third, changedSince] = GetParam();
  const OperationCounts n = CountOperations(product);
  // Inside a file: 70000 bytes into each copy (only the large files are longer).
  const unsigned long long bytes = insideFiles ? 70000 : 0;
  int endedInside = 0;
  const long step = insideFiles ? 1 : 3;
  for (long k = 1 + third; k <= (insideFiles || changedSince != Since::unchanged ? n.copyPhase : n.all); k += step) {
    SCOPED_TRACE("operation " + std::to_string(k) + " of " + std::to_string(n.all));
    ProductTree t(product);
    const DWORD code = MoveInChild(t, k, bytes);
    if (insideFiles && code == 0) continue;  // that operation copied no large file
    ASSERT_EQ(3u, code);
    endedInside += insideFiles;
    EXPECT_EQ("", StatusTellsTheTruth(t));
    if (changedSince != Since::unchanged) {
      // Until the move completes the old places are the truth: the next run keeps their bytes.
      const long changed = ChangeOldPlacesOfCopiedFiles(t);
      const bool asideFails = changedSince == Since::changedAndSetAsideFails;
      if (asideFails && changed > 0) {
        EXPECT_EQ("", CopiesThatCannotBeSetAside(t, changed));
      }
      EXPECT_EQ("", AfterRecovery(t, k % 2 == 1 || asideFails));
      continue;
    }
    // Between the last copy and the first removal every copy is complete.
    if (k == n.copyPhase + 1 && !insideFiles) {
      EXPECT_EQ(L"6", t.StoredStatus());
    }
    EXPECT_EQ("", AfterRecovery(t, k % 2 == 1));
  }
  if (insideFiles) {
    EXPECT_GE(endedInside, 1);
  }
}

std::string ProcessEndsName(const ::testing::TestParamInfo<std::tuple<long, bool, long, Since>>& info) {
  const Since since = std::get<3>(info.param);
  return std::string(std::get<0>(info.param) == TM ? "TM" : "VNS") +
         (std::get<1>(info.param) ? "_InsideACopy" : "_AtTheStartOfAnOperation_Part" +
                                                         std::to_string(std::get<2>(info.param) + 1)) +
         (since == Since::changed                   ? "_OldPlacesChangedSince"
          : since == Since::changedAndSetAsideFails ? "_OldPlacesChangedSinceAndSetAsidesFail"
                                                    : "");
}
INSTANTIATE_TEST_SUITE_P(Faults, ProcessEnds,
                         ::testing::Combine(::testing::Values(TM, VNS), ::testing::Values(false),
                                            ::testing::Values(0, 1, 2), ::testing::Values(Since::unchanged)),
                         ProcessEndsName);
INSTANTIATE_TEST_SUITE_P(FaultsInside, ProcessEnds,
                         ::testing::Combine(::testing::Values(TM, VNS), ::testing::Values(true), ::testing::Values(0),
                                            ::testing::Values(Since::unchanged)),
                         ProcessEndsName);
INSTANTIATE_TEST_SUITE_P(FaultsChangedSince, ProcessEnds,
                         ::testing::Combine(::testing::Values(TM, VNS), ::testing::Values(false), ::testing::Values(0),
                                            ::testing::Values(Since::changed)),
                         ProcessEndsName);
INSTANTIATE_TEST_SUITE_P(FaultsSetAside, ProcessEnds,
                         ::testing::Combine(::testing::Values(TM), ::testing::Values(false), ::testing::Values(0),
                                            ::testing::Values(Since::changedAndSetAsideFails)),
                         ProcessEndsName);

TEST(TwoMovers, OfOneProductAtOnceOneMovesTheOtherReturnsFalseTouchingNothing) {
  vb::ScopedRecordingPresenter boxes;
  ProductTree t(TM);
  HANDLE paused = CreateEventW(nullptr, TRUE, FALSE, L"reloc_child.paused");
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, L"reloc_child.go");
  HANDLE child = StartChild(t, -8, 0);  // a mover in another process, held inside its copy phase
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(paused, 60000));
  const std::string before = t.ProblemsEachOnce();
  // This process's mover neither runs nor cancels: it says why, and stores and touches nothing.
  auto mover = t.NewMover();
  Sink sink(*mover);
  EXPECT_FALSE(t.Move(*mover));
  mover->cancelMove();
  const std::wstring why = L": another move of this product is under way (" + t.hidden + L")";
  EXPECT_EQ((std::vector<std::pair<long, std::wstring>>{{cancelled, L"Move not started" + why},
                                                         {cancelled, L"Cancel refused" + why}}),
            sink.Reports());
  EXPECT_NE(std::wstring::npos, mover->moveLog().find(L" -- Move not started" + why));
  EXPECT_EQ(L"5", t.StoredStatus());
  EXPECT_EQ(before, t.ProblemsEachOnce());
  SetEvent(go);
  EXPECT_EQ(0u, EndOfChild(child));
  EXPECT_EQ(L"7", t.StoredStatus());
  EXPECT_EQ("", t.ProblemsAtNewPlaces());
  CloseHandle(paused);
  CloseHandle(go);
}

TEST(LockedSource, OfEachItemFailsTheMoveWhichRollsBackAndResumesWhenFree) {
  vb::ScopedRecordingPresenter boxes;
  // A file of each item of Tallowmere, in list order, and the item's report.
  const struct {
    const wchar_t* file;
    const wchar_t* failure;
  } items[] = {
      {L"S:tm3.ini", L"Copy File Error while Moving INI file (70) Permission denied"},
      {L"P:tm3.lf", L"Copy File Error while Moving lf file (70) Permission denied"},
      {L"P:custom.dic", L"Copy File Error while Moving custom dictionary (70) Permission denied"},
      {L"P:medical.dic", L"Copy File Error while Moving custom dictionary (70) Permission denied"},
      {L"P:statement.rtf", L"Copy File Error while Moving statement form (70) Permission denied"},
      {L"P:claims.mdb", nullptr},
      {L"P:Data\\Archive\\2006.dat", L"Copy Directory Error while Moving Data Dir (70) Permission denied"},
      {L"P:Docs\\guide.doc", L"Copy Directory Error while Moving Docs Dir (70) Permission denied"},
      {L"P:Reports\\daily.rpt", L"Copy Directory Error while Moving Ovrenna Reports Dir (70) Permission denied"},
      {L"P:Templates\\letter.tpl", L"Copy Directory Error while Moving template Dir (70) Permission denied"},
  };
  for (const auto& item : items) {
    SCOPED_TRACE(vb::ToAnsi(item.file));
    ProductTree t(TM);
    const std::wstring path = (item.file[0] == L'S' ? t.settings : t.program) + L"\\" + (item.file + 2);
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    auto mover = t.NewMover();
    Sink sink(*mover);
    EXPECT_FALSE(t.Move(*mover));
    CloseHandle(lock);
    const std::wstring failure =
        item.failure ? item.failure
                     : L"Copy File Error while Moving any Tallowmere Databases in " + t.program + L" (70) Permission denied";
    const auto reports = sink.Reports();
    EXPECT_NE(reports.end(), std::find(reports.begin(), reports.end(), std::make_pair(long(Failed), failure)));
    EXPECT_EQ("", t.ProblemsAtOldPlaces());
    const std::wstring saved = vb::FromAnsi(testutil::ReadBytes(t.publicData + L"\\VistaMoveLog.txt"));
    EXPECT_NE(std::wstring::npos, saved.find(L" -- " + failure + L"\r\n"));
    EXPECT_NE(std::wstring::npos, saved.find(L" -- Restoring " + t.program + L"\\Templates\r\n"));
    auto next = t.NewMover();
    EXPECT_TRUE(t.Move(*next));
    EXPECT_EQ("", t.ProblemsAtNewPlaces());
  }
}

}  // namespace vista
