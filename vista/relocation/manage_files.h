// The relocation of a product's protected settings files, data files and data folders into its
// data folders: the move lists, the copying, the clean-up of the old places, the rollback, the
// status kept in Status.ini, the progress events, the move log and the progress window.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "com/events.h"
#include "com/object.h"
#include "common/file_locations.h"
#include "common/mby_app_name.h"
#include "gorsewick.h"
#include "vb/collection.h"

namespace vista {

// The interface id that hosts built against the first version of the class ask for.
extern const IID IID__ManageFiles___v0;

class frmMoveFiles;

// One move item split into its pieces.
struct moveItem {
  std::wstring source;
  std::wstring destination;
  std::wstring message;
};

class ManageFiles : public com::Object<ManageFiles, _ManageFiles> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__ManageFiles || iid == IID__ManageFiles___v0; }
  static com::Ptr<ManageFiles> New();
  ManageFiles();
  ~ManageFiles() override;

  // Dispatch ids of the events.
  enum : DISPID { eventProgressUpdate = 1, eventUIExited = 2 };

  // Test mode: the clean-up removes nothing.
  bool INTESTMODE = false;
  // The product's folders; Nothing makes the folder calls raise 91.
  com::Ptr<fileLocations> fileLocs = fileLocations::New();
  // Whether status reports show the progress window.
  bool showProgressDialog = true;

  // The product, shared with fileLocs (made when unset; 91 when fileLocs is Nothing).
  com::Ptr<MBYAppName> appName();
  void appName(com::Ptr<MBYAppName> product);

  // Records `cancelled` and undoes the move. Inside a run, the run stops after the step in
  // progress; inside a rollback, no second rollback starts.
  void cancelMove();
  // The status stored in Status.ini, read once (13 for text that is no number, 6 beyond 16 bits).
  long moveStatus();
  // Writes the move log to the file (8-bit code page); false when it cannot be written.
  bool saveMoveLog(const std::wstring& logpath);
  // Runs, resumes or redoes the relocation; true when the move is complete.
  bool moveProtectedFiles(const std::wstring& appSourcePath, const std::wstring& iniSourcePath,
                          const std::wstring& iniFileName);

  // The move log, newest line first.
  const std::wstring& moveLog() const { return log_; }
  // The click of the window's exit button.
  void mCmdExit_Click();
  // The connection point of the events.
  com::EventSource& events() { return events_; }

 protected:
  void* OtherInterface(REFIID riid) noexcept override { return events_.Interface(riid); }

 private:
  // The tests call the private routines one by one through it.
  friend struct ManageFilesProbe;
  class Hold;
  struct RunStopped {};
  using MoveList = vb::Collection<std::wstring>;

  // Status reports.
  void setStatus(long status, const std::wstring& msg);
  void AddLogLine(const std::wstring& msg);
  // The product's move lock, and the report of a call that another mover's lock refuses.
  class ProductLock;
  std::wstring LockName();
  void Refuse(const std::wstring& what);
  // A report of the run: none when the run was cancelled, and the run stops after it when a
  // cancel came while it was made.
  void Step(long status, const std::wstring& msg);
  bool StopNow() const { return cancelRequested_ && !rollingBack_; }
  void RaiseProgressUpdate(long status, const std::wstring& msg);
  std::wstring StatusFile();

  // The run and its copy phase.
  void RunMove(bool& result);
  // The clean-up and the run's last report; true when the move completed.
  bool Finish(const wchar_t* completedText);
  bool moveAllItems();

  // Move lists.
  void buildMoveLists();
  void addMoveItem(MoveList& list, const std::wstring& source, const std::wstring& destination,
                   const std::wstring& message);
  moveItem getMoveItem(MoveList& list, short index);

  // Copying items.
  bool copyFileItem(std::wstring source, std::wstring destination, const std::wstring& message, bool ignoreErrors);
  bool copyFolderItem(const std::wstring& source, const std::wstring& destination, const std::wstring& message,
                      bool ignoreErrors);
  bool pathExists(const std::wstring& path);
  // Whether an item's source is absent: neither it nor a file of its pattern is found while the
  // folder that holds it (the program or settings folder) answers. Raises the error of a source
  // that cannot be examined: 76 when that folder does not answer.
  bool SourceAbsent(const std::wstring& source);
  void SourceFolderAnswers(const std::wstring& source);
  struct CopyKind;
  static const CopyKind kFileCopy, kFolderCopy;
  // Makes the folders of the destination; false (after the Failed report) when they cannot be
  // made and errors are not ignored.
  bool DestinationMade(const std::wstring& path, bool lastIsFile, const std::wstring& destination, bool ignoreErrors);
  // Steps 5 to 7 of a copy routine: the copy unless the source is absent, and its report.
  bool FinishCopy(const CopyKind& kind, const std::wstring& source, const std::wstring& destination,
                  const std::wstring& message, bool ignoreErrors);

  // Clean-up and rollback.
  enum class Cleanup { removed, oldCopiesLeft, itemNotMoved };
  struct ItemNotMoved;
  // Removes the old copies: all, or some kept though moved (reported as a failed clean-up), or
  // stopped at an item that has no identical copy at the new place (reported as Failed).
  Cleanup cleanupOldFiles();
  bool rollbackMove();
  void RestoreFileItem(const moveItem& item, bool& result);
  void RestoreFolderItem(const moveItem& item, bool& result);
  // Removes each file of `folder` whose twin (same relative path under `twin`) is an identical
  // file, and the folder once nothing is left in it; reports each file kept. True when all went.
  bool RemoveWhereIdentical(const std::wstring& folder, const std::wstring& twin, long status);
  // Removes `file` when `twin` is an identical file. Otherwise, in the clean-up (status
  // cleaningUp), reports Failed and throws ItemNotMoved; in a rollback, sets the file aside when
  // `twin` is a different file (a set-aside that fails is reported and counted in
  // setAsideFailures_), else reports it kept. True when removed.
  bool RemoveIfIdentical(const std::wstring& file, const std::wstring& twin, long status, bool force);

  // The progress window.
  void ShowFinished();
  void ExitWindow();

  com::EventSource events_;
  long mStatus = -1;
  com::Ptr<MBYAppName> mAppName = MBYAppName::New();
  std::wstring appSourcePath, iniSourcePath, iniFileName;
  std::unique_ptr<frmMoveFiles> mProgressForm;
  HWND mCmdExit = nullptr;
  std::optional<MoveList> fileList, folderList;
  std::wstring log_;

  long calls_ = 0;              // public calls in progress, nested ones included
  bool running_ = false;        // a moveProtectedFiles is in progress
  bool rollingBack_ = false;    // a rollback is in progress
  bool cancelRequested_ = false;
  long cancels_ = 0;            // cancels so far, to tell whether one came during a report
  bool exitPending_ = false;    // "Exit" was clicked during a call: acted on when it returns
  bool windowExited_ = false;   // the window was left through "Exit": no new one is made
  HANDLE lock_ = nullptr;       // the product's move lock while held
  std::wstring lockName_;
  long lockDepth_ = 0;          // calls holding it, nested ones included
  long setAsideFailures_ = 0;   // set-asides that failed, so far
};

}  // namespace vista
