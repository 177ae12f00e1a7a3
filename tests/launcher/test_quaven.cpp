// quaven.exe itself, started as the host starts it.
#include <gtest/gtest.h>

#include "frm_start_update_ids.h"
#include "launcher_driver.h"
#include "relocation_fixture.h"
#include "test_util.h"
#include "typelib_dump.h"

namespace launcher {

using launchtest::Click;
using launchtest::Driver;
using vista::testhelp::ProductTree;

namespace {

// A started quaven.exe; its exit code once it has ended within the time given, else STILL_ACTIVE
// (and it is ended).
class Quaven {
 public:
  explicit Quaven(const std::wstring& args) {
    std::wstring cmd = L"\"" + testutil::BesideTestProgram(L"quaven.exe") + L"\" " + args;
    STARTUPINFOW si{sizeof si};
    EXPECT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_));
  }
  ~Quaven() {
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi_.hProcess, 99);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  DWORD pid() const { return pi_.dwProcessId; }
  DWORD ExitCode(DWORD ms) const {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION pi_{};
};

}  // namespace

TEST(Quaven, MovesTheProductsFilesFromItsCommandLine) {
  ProductTree t(TM);
  ASSERT_EQ(L"C:\\Program Files\\Tallowmere", t.program);
  Quaven q(L"-C:\\Program Files\\Tallowmere");
  Driver driver(
      [](Driver& d) {
        if (HWND start = d.WaitForStart()) Click(start, IDC_SU_cmdOK);
        if (HWND progress = d.WaitForProgress()) Click(progress, IDC_MF_cmdExit);
      },
      q.pid());
  EXPECT_EQ(0u, q.ExitCode(30000));
  driver.Stop();
  for (const std::string& p : driver.problems) ADD_FAILURE() << p;
  EXPECT_EQ("", t.ProblemsAtNewPlaces());
  EXPECT_EQ(L"7", t.StoredStatus());
}

TEST(Quaven, AfterACompletedMoveItEndsAtOnceWithoutAWindow) {
  ProductTree t(TM);
  CreateDirectoryW(t.hidden.substr(0, t.hidden.find_last_of(L'\\')).c_str(), nullptr);
  CreateDirectoryW(t.hidden.c_str(), nullptr);
  ASSERT_TRUE(WritePrivateProfileStringW(L"VistaSettings", L"MoveProtected", L"7", (t.hidden + L"\\Status.ini").c_str()));
  Quaven q(L"-C:\\Program Files\\Tallowmere");
  bool shown = false;
  Driver driver(
      [&](Driver& d) {
        shown = d.WaitFor([&](HWND w) { return launchtest::OfProcess(w, d.pid) && IsWindowVisible(w); }, "") != nullptr;
      },
      q.pid());
  EXPECT_EQ(0u, q.ExitCode(10000));
  driver.Stop();
  EXPECT_FALSE(shown);
  EXPECT_EQ("", t.ProblemsAtOldPlaces());
}

}  // namespace launcher
