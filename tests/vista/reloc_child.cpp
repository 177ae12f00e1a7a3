// Runs one relocation in a process of its own, for the tests that end a process in the middle of
// a move:
//   reloc_child <product> <program folder> <settings folder> <operation> <bytes>
// The process ends (status 3) at that file operation of the move, after that many bytes of its
// copy; a move that never reaches it ends with status 0 when it succeeded, 1 when not. A
// negative operation -k instead pauses the move at operation k: the child sets the event
// "reloc_child.paused" and goes on once "reloc_child.go" is set.
#include <windows.h>

#include <cwchar>

#include "common/file_system.h"
#include "relocation/manage_files.h"
#include "vb/present.h"

namespace {

// No one is there to answer a box: each is answered with its first button.
class Unattended : public vb::Presenter {
 public:
  long MessageBox(const std::wstring&, long, const std::wstring&) override { return vb::vbOK; }
  std::wstring InputBox(const std::wstring&, const std::wstring&, const std::wstring& d) override { return d; }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 6) return 2;
  CoInitialize(nullptr);
  int rc = 1;
  Unattended presenter;
  vb::SetPresenter(&presenter);
  {
    vista::fs::FaultPlan plan;
    const long operation = std::wcstol(argv[4], nullptr, 10);
    if (operation < 0) {
      plan.pauseOperation = -operation;
      plan.pause = [] {
        HANDLE paused = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"reloc_child.paused");
        HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, L"reloc_child.go");
        if (paused) SetEvent(paused);
        if (go) WaitForSingleObject(go, 60000);
        if (paused) CloseHandle(paused);
        if (go) CloseHandle(go);
      };
    } else {
      plan.exitOperation = operation;
    }
    plan.exitAfterBytes = std::wcstoull(argv[5], nullptr, 10);
    vista::fs::SetFaultPlan(plan);
    auto mover = vista::ManageFiles::New();
    mover->showProgressDialog = false;
    mover->appName()->appName = std::wcstol(argv[1], nullptr, 10);
    if (mover->moveProtectedFiles(argv[2], argv[3], L"")) rc = 0;
  }
  CoUninitialize();
  return rc;
}
