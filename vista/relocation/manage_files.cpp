// The mover object: its product, its status, its reports and events, the run, cancel and exit.
#include "relocation/manage_files.h"

#include <set>

#include "common/file_system.h"
#include "common/module1.h"
#include "relocation/frm_move_files.h"
#include "vb/automation.h"
#include "vb/convert.h"
#include "vb/error.h"
#include "vb/interaction.h"

namespace vista {

// {E5E788EB-3FAA-4ADA-9304-D06456E14355}
const IID IID__ManageFiles___v0 = {0xE5E788EB, 0x3FAA, 0x4ADA, {0x93, 0x04, 0xD0, 0x64, 0x56, 0xE1, 0x43, 0x55}};

namespace {

const wchar_t kSection[] = L"VistaSettings";
const wchar_t kKey[] = L"MoveProtected";
const wchar_t kCleanupFailed[] =
    L"Move completed successfully but the cleanup of old files failed. Obsolete data may still exist.  "
    L"Contact Marlowby Technical Support with any questions.";
const wchar_t kMoveFailed[] =
    L"Move Failed because some files or Directories could not be moved. Make sure you are not running "
    L"Tallowmere.  Contact Marlowby Technical Support if this continues.";

// A path that names its drive or share: "X:\..." or "\\...". Anything else would be looked for
// in the current folder or on the current drive.
bool IsAbsolute(const std::wstring& path) {
  return path.rfind(L"\\\\", 0) == 0 || (path.size() >= 3 && path[1] == L':' && path[2] == L'\\');
}

// The folder without trailing backslashes, but for a drive's root (C:\ stays).
std::wstring WithoutTrailingBackslashes(std::wstring folder) {
  while (folder.size() > 1 && folder.back() == L'\\' && !(folder.size() == 3 && folder[1] == L':')) folder.pop_back();
  return folder;
}

}  // namespace

// Holds the mover for one public call or window event: the object stays alive however the host
// or a handler releases it meanwhile, and an "Exit" clicked inside the call takes effect when the
// outermost call returns.
class ManageFiles::Hold {
 public:
  explicit Hold(ManageFiles& m) : m_(m) {
    m_.AddRef();
    ++m_.calls_;
  }
  ~Hold() {
    if (m_.calls_ == 1 && m_.exitPending_) {
      m_.exitPending_ = false;
      try {
        m_.ExitWindow();
      } catch (...) {
        // the exit's report failed; the window is gone all the same
      }
    }
    --m_.calls_;
    m_.Release();
  }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;

 private:
  ManageFiles& m_;
};

// The product's move lock: a named mutex, one per hidden data folder, that each mover holds for
// the length of a run and of a cancel with its rollback, so that two movers of one product (two
// launchers, or the host and the launcher, or two objects of one process) never work at once.
// A mover that holds it already (a cancel inside its own run) passes.
class ManageFiles::ProductLock {
 public:
  explicit ProductLock(ManageFiles& m) : m_(m) {
    if (m_.lockDepth_ > 0) {
      ++m_.lockDepth_;
      held_ = true;
      return;
    }
    std::wstring name;
    try {
      name = m_.LockName();
    } catch (const vb::RuntimeError&) {
      held_ = true;  // no folder to name it by: the run reports that error itself
      return;
    }
    if (HeldHere().count(name)) return;
    HANDLE h = CreateMutexW(nullptr, FALSE, name.c_str());
    if (!h) return;  // one of another user, which this one may not even open
    const DWORD got = WaitForSingleObject(h, 0);
    if (got != WAIT_OBJECT_0 && got != WAIT_ABANDONED) {
      CloseHandle(h);
      return;
    }
    m_.lock_ = h;
    m_.lockName_ = name;
    m_.lockDepth_ = 1;
    HeldHere().insert(name);
    held_ = true;
  }
  ~ProductLock() {
    if (!held_ || m_.lockDepth_ == 0 || --m_.lockDepth_ > 0) return;
    HeldHere().erase(m_.lockName_);
    ReleaseMutex(m_.lock_);
    CloseHandle(m_.lock_);
    m_.lock_ = nullptr;
  }
  ProductLock(const ProductLock&) = delete;
  ProductLock& operator=(const ProductLock&) = delete;
  bool held() const { return held_; }

 private:
  // The names this process holds: a mutex is its owning thread's to take again, so a second
  // mover on the same thread is told apart here.
  static std::set<std::wstring>& HeldHere() {
    static std::set<std::wstring> names;
    return names;
  }
  ManageFiles& m_;
  bool held_ = false;
};

std::wstring ManageFiles::LockName() {
  if (!fileLocs) vb::Raise(vb::errObjectNotSet);
  std::wstring name = vb::UCase(fileLocs->hiddenDataPath());
  for (wchar_t& c : name)
    if (c == L'\\') c = L'/';
  return L"Global\\Gorsewick.ManageFiles:" + name;
}

void ManageFiles::Refuse(const std::wstring& what) {
  // Reported, but neither stored nor rolled back: the status and the files are the other mover's.
  std::wstring hidden;
  try {
    if (fileLocs) hidden = fileLocs->hiddenDataPath();
  } catch (const vb::RuntimeError&) {
  }
  const std::wstring msg = what + L": another move of this product is under way (" + hidden + L")";
  AddLogLine(msg);
  vb::DoEvents();
  RaiseProgressUpdate(cancelled, msg);
  ShowFinished();
}

ManageFiles::ManageFiles() : events_(static_cast<_ManageFiles*>(this), DIID___ManageFiles, &CLSID_ManageFiles) {}

ManageFiles::~ManageFiles() = default;

com::Ptr<MBYAppName> ManageFiles::appName() {
  if (!mAppName) mAppName = MBYAppName::New();
  if (!fileLocs) vb::Raise(vb::errObjectNotSet);
  fileLocs->appName = mAppName;
  return mAppName;
}

void ManageFiles::appName(com::Ptr<MBYAppName> product) {
  mAppName = std::move(product);
  if (!fileLocs) fileLocs = fileLocations::New();
  fileLocs->appName = mAppName;
}

std::wstring ManageFiles::StatusFile() {
  if (!fileLocs) vb::Raise(vb::errObjectNotSet);
  return fileLocs->hiddenDataPath() + L"\\Status.ini";
}

long ManageFiles::moveStatus() {
  if (mStatus == -1) {
    const std::wstring text = Module1::readIniSetting(kSection, kKey, L"0", StatusFile());
    mStatus = vb::ToInteger(vb::ToLong(vb::ToDouble(text)));
  }
  return mStatus;
}

void ManageFiles::RaiseProgressUpdate(long status, const std::wstring& msg) {
  long byRefStatus = status;
  vb::Bstr byRefMsg;
  byRefMsg.b = vb::ToBstr(msg);
  VARIANT s, m;
  s.vt = VT_BYREF | VT_I4;
  s.plVal = &byRefStatus;
  m.vt = VT_BYREF | VT_BSTR;
  m.pbstrVal = &byRefMsg.b;
  events_.Fire(eventProgressUpdate, {s, m});
  if (mProgressForm) mProgressForm->mngFiles_progressUpdate(status, msg);
}

void ManageFiles::AddLogLine(const std::wstring& msg) {
  log_ = vb::TimeText() + L" -- " + msg + L"\r\n" + log_;
  if (showProgressDialog && !windowExited_) {
    if (!mProgressForm) {
      mProgressForm = std::make_unique<frmMoveFiles>(this);
      mCmdExit = mProgressForm->cmdExit();
    }
    mProgressForm->SetLog(log_);
  }
}

void ManageFiles::setStatus(long status, const std::wstring& msg) {
  AddLogLine(msg);
  // A cancel made while this report lets messages through has rolled the move back: what this
  // report would store and announce no longer holds.
  const long cancelsBefore = cancels_;
  vb::DoEvents();
  if (cancels_ != cancelsBefore && status != cancelled) return;
  if (status != mStatus) {
    const std::wstring hidden = fileLocs ? fileLocs->hiddenDataPath() : L"";
    // A data folder that is no absolute path would be made in the current folder.
    bool written = false;
    if (IsAbsolute(hidden)) {
      if (!fileLocs->hiddenDataPathExists()) Module1::createPath(hidden, false);
      written = Module1::writeIniSetting(kSection, kKey, vb::LongToText(status), StatusFile());
    } else if (!fileLocs) {
      vb::Raise(vb::errObjectNotSet);
    }
    if (!written) {
      mStatus = Failed;
      RaiseProgressUpdate(status, L"Write INI Failed - " + hidden + L"\\Status.ini");
      return;
    }
  }
  mStatus = status;
  if (status == Failed) {
    rollbackMove();
    const std::wstring publicData = fileLocs->publicDataPath();
    if (IsAbsolute(publicData)) saveMoveLog(publicData + L"\\VistaMoveLog.txt");
  }
  RaiseProgressUpdate(status, msg);
}

void ManageFiles::Step(long status, const std::wstring& msg) {
  if (StopNow()) throw RunStopped{};
  setStatus(status, msg);
  if (StopNow()) throw RunStopped{};
}

bool ManageFiles::saveMoveLog(const std::wstring& logpath) {
  Hold hold(*this);
  try {
    fs::CreateTextFile(logpath, log_);
    return true;
  } catch (const vb::RuntimeError&) {
    return false;
  }
}

void ManageFiles::cancelMove() {
  Hold hold(*this);
  ProductLock lock(*this);
  if (!lock.held()) {
    Refuse(L"Cancel refused");
    return;
  }
  const bool rollbackRunning = rollingBack_;
  ++cancels_;
  if (running_) cancelRequested_ = true;
  setStatus(cancelled, L"Move Cancelled");
  if (!rollbackRunning && !rollingBack_) rollbackMove();
  ShowFinished();
}

bool ManageFiles::moveProtectedFiles(const std::wstring& appSourcePath, const std::wstring& iniSourcePath,
                                     const std::wstring& iniFileName) {
  if (running_) return false;  // called from a handler of this run's events
  Hold hold(*this);
  running_ = true;
  cancelRequested_ = false;
  bool result = false;
  ProductLock lock(*this);
  try {
    // Items are built as the folder, a backslash and the name: a folder given with trailing
    // backslashes is taken without them, so that every item names the path that the copy and the
    // existence checks use (a long-path form such as \\?\C:\... collapses nothing itself).
    this->appSourcePath = WithoutTrailingBackslashes(appSourcePath);
    this->iniSourcePath = WithoutTrailingBackslashes(iniSourcePath);
    this->iniFileName = iniFileName;
    if (lock.held())
      RunMove(result);
    else
      Refuse(L"Move not started");
  } catch (const RunStopped&) {
    result = false;
  } catch (const vb::RuntimeError& e) {
    try {
      if (!StopNow())
        setStatus(Failed, L"Error Moving Files(" + vb::LongToText(e.number()) + L") " + e.description());
    } catch (const vb::RuntimeError&) {
      // the report itself failed: the run ends as it stood
    }
  }
  if (cancelRequested_) result = false;
  running_ = false;
  cancelRequested_ = false;
  ShowFinished();
  return result;
}

void ManageFiles::RunMove(bool& result) {
  buildMoveLists();
  if (moveStatus() == completed) {
    Step(completed, L"Move Already Competed");
    result = true;
    return;
  }
  if (moveStatus() == cleaningUp) {
    Step(cleaningUp, L"Cleaning up old files");
    result = Finish(L"Move completed successfully. Click Exit.");
    return;
  }
  if (!IsAbsolute(appSourcePath) || fs::Dir(appSourcePath, fs::vbDirectory).empty()) {
    Step(Failed, L"Source Folders Not Found (" + appSourcePath + L") ");
    return;
  }
  if (moveStatus() != notStarted) {
    if (!rollbackMove()) return;
    if (StopNow()) throw RunStopped{};
  }
  Step(started, L"");
  if (appName()->appName == appNameNotSet) {
    Step(Failed, L"Product Name Not Set. Contact Marlowby Technical Support with this message");
    return;
  }
  Step(preparing, L"Creating New Folders");
  for (const std::wstring& folder : {fileLocs->hiddenDataPath(), fileLocs->publicDataPath()}) {
    if (!IsAbsolute(folder) || !Module1::createPath(folder, false)) {
      Step(Failed, L"Error Creating Folder(" + folder + L")");
      return;
    }
  }
  Step(moving, L"Beginning Move of Files and Settings");
  if (moveAllItems()) {
    Step(cleaningUp, L"Cleaning up old files");
    result = Finish(L"Move completed successfully. Press Exit.");
  } else {
    Step(Failed, kMoveFailed);
  }
}

bool ManageFiles::Finish(const wchar_t* completedText) {
  const Cleanup cleaned = cleanupOldFiles();
  if (StopNow()) throw RunStopped{};
  if (cleaned == Cleanup::itemNotMoved) {
    Step(Failed, kMoveFailed);  // the item's own Failed report has rolled the move back
    return false;
  }
  Step(completed, cleaned == Cleanup::removed ? completedText : kCleanupFailed);
  return true;
}

bool ManageFiles::moveAllItems() {
  bool result = true;
  for (MoveList* list : {&*fileList, &*folderList}) {
    const long count = list->Count();
    for (long index = 1; index <= count && result; ++index) {
      try {
        moveItem item = getMoveItem(*list, static_cast<short>(index));
        result = list == &*fileList ? copyFileItem(item.source, item.destination, item.message, false)
                                    : copyFolderItem(item.source, item.destination, item.message, false);
      } catch (const vb::RuntimeError&) {
        // the step is passed over
      }
    }
    if (!result) break;
  }
  return result;
}

void ManageFiles::mCmdExit_Click() {
  Hold hold(*this);
  if (mCmdExit && frmMoveFiles::TextOf(mCmdExit) == L"Cancel") {
    cancelMove();
    return;
  }
  exitPending_ = true;  // acted on as the outermost call ends: now, or when the run returns
}

void ManageFiles::ExitWindow() {
  mProgressForm.reset();
  mCmdExit = nullptr;
  windowExited_ = true;
  if (moveStatus() == cleaningUp) setStatus(completed, L"Cleanup Incomplete");
  long status = moveStatus();
  VARIANT s;
  s.vt = VT_BYREF | VT_I4;
  s.plVal = &status;
  events_.Fire(eventUIExited, {s});
}

void ManageFiles::ShowFinished() {
  if (mProgressForm) mProgressForm->ShowFinished();
}

}  // namespace vista
