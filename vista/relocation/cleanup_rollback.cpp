// Finishing a move (removing the old places) and undoing one (copying the items back and
// removing the copies). A file is removed only where an identical file stands at the other
// place, so neither ever loses the only good copy. An old copy without an identical new one
// fails the move; a new copy that differs from the old place is out of date and set aside.
#include "common/file_system.h"
#include "relocation/manage_files.h"
#include "vb/convert.h"
#include "vb/error.h"

namespace vista {

using fs::CollapseBackslashes;
using fs::FolderOf;
using fs::NameOf;

namespace {

bool IsPattern(const std::wstring& path) { return NameOf(path).find_first_of(L"*?") != std::wstring::npos; }

// Where the copy of `file` stands for a file item's destination: the destination itself when its
// last part names a file (holds a "."), else the file's name in that folder.
std::wstring CopyOf(const std::wstring& file, const std::wstring& destination) {
  return NameOf(destination).find(L'.') != std::wstring::npos ? destination : destination + L"\\" + NameOf(file);
}

// Keeps rollingBack_ set for the rollback's lifetime.
class Flag {
 public:
  explicit Flag(bool& f) : f_(f), was_(f) { f_ = true; }
  ~Flag() { f_ = was_; }
  Flag(const Flag&) = delete;
  Flag& operator=(const Flag&) = delete;

 private:
  bool& f_;
  bool was_;
};

}  // namespace

// The clean-up found an old copy without an identical copy at the new place: the move of its item
// failed (the Failed report rolls it back), and the clean-up stops.
struct ManageFiles::ItemNotMoved {};

bool ManageFiles::RemoveIfIdentical(const std::wstring& file, const std::wstring& twin, long status, bool force) {
  if (fs::SameFile(file, twin)) {
    force ? fs::DeleteFile(file, true) : fs::Kill(file);
    return true;
  }
  if (status == cleaningUp) {
    // Until the move completes the old place is what the host reads: without an identical copy
    // at the new place, the item has not moved.
    Step(Failed, L"Move of " + file + L" failed: no identical copy at " + twin);
    throw ItemNotMoved{};
  }
  if (fs::FileExists(twin)) {
    // The old place, which a rollback restores, holds a different file: the copy is out of date.
    // Set aside, it no longer stands in the way of a fresh copy. One that cannot be set aside
    // would stand in the way of every later move: the item is not undone.
    std::wstring asideAs;
    try {
      asideAs = fs::SetAside(file);
    } catch (const vb::RuntimeError& e) {
      ++setAsideFailures_;
      Step(status, L"Kept " + file + L": it differs from " + twin + L" and could not set aside (" +
                       vb::LongToText(e.number()) + L") " + e.description());
      return false;
    }
    Step(status, L"Set aside " + file + L" as " + asideAs + L": it differs from " + twin);
    return false;
  }
  Step(status, L"Kept " + file + L": no identical file at " + twin);
  return false;
}

bool ManageFiles::RemoveWhereIdentical(const std::wstring& folder, const std::wstring& twin, long status) {
  bool all = true;
  for (const std::wstring& file : fs::Files(folder)) {
    const std::wstring name = NameOf(file);
    if (fs::IsSetAside(name)) {
      all = false;  // set aside by an earlier rollback: kept
    } else if (fs::IsCopyLeftover(name)) {
      // A cut copy: in the data folder, one of this item's own (removed with the copy it was to
      // become); at the old place it is kept.
      if (status == cleaningUp)
        all = false;
      else
        fs::DeleteFile(file, true);
    } else {
      all = RemoveIfIdentical(file, twin + L"\\" + name, status, true) && all;
    }
  }
  for (const std::wstring& sub : fs::SubFolders(folder))
    all = RemoveWhereIdentical(sub, twin + L"\\" + NameOf(sub), status) && all;
  if (all) fs::DeleteFolder(folder, true);  // nothing is left in it
  return all;
}

ManageFiles::Cleanup ManageFiles::cleanupOldFiles() {
  try {
    Step(cleaningUp, L"Cleaning Up Move of Files");
    if (INTESTMODE) return Cleanup::removed;
    bool allRemoved = true;
    for (long index = 1; index <= fileList->Count(); ++index) {
      const moveItem item = getMoveItem(*fileList, static_cast<short>(index));
      Step(cleaningUp, L"Removing " + item.source);
      if (SourceAbsent(item.source)) continue;
      const std::wstring destination = CollapseBackslashes(item.destination);
      for (const std::wstring& file : fs::FilesMatching(CollapseBackslashes(item.source)))
        allRemoved = RemoveIfIdentical(file, CopyOf(file, destination), cleaningUp, false) && allRemoved;
    }
    for (long index = 1; index <= folderList->Count(); ++index) {
      const moveItem item = getMoveItem(*folderList, static_cast<short>(index));
      Step(cleaningUp, L"Removing " + item.source);
      if (!SourceAbsent(item.source))
        allRemoved = RemoveWhereIdentical(CollapseBackslashes(item.source), CollapseBackslashes(item.destination),
                                          cleaningUp) && allRemoved;
    }
    if (allRemoved) return Cleanup::removed;
  } catch (const ItemNotMoved&) {
    return Cleanup::itemNotMoved;
  } catch (const vb::RuntimeError&) {
    // what was removed stays removed; the items after the failing one are not attempted
  }
  Step(cleaningUp, L"Cleanup of Files Failed.  Contact Marlowby to remove obsolete files. ");
  return Cleanup::oldCopiesLeft;
}

bool ManageFiles::rollbackMove() {
  if (!fileList || !folderList) return true;  // no lists were ever built: nothing to undo
  Flag rolling(rollingBack_);
  bool result = true;
  // An item whose restoring raised an error, or left a file that could not be set aside, is not
  // undone; the rollback goes on with the next.
  for (MoveList* list : {&*fileList, &*folderList}) {
    for (long index = 1; index <= list->Count(); ++index) {
      const long setAsideFailures = setAsideFailures_;
      try {
        const moveItem item = getMoveItem(*list, static_cast<short>(index));
        setStatus(rollingback, L"Restoring " + item.source);
        if (list == &*fileList)
          RestoreFileItem(item, result);
        else if (!fs::Dir(item.destination, fs::vbDirectory).empty())
          RestoreFolderItem(item, result);
      } catch (const vb::RuntimeError&) {
        result = false;
      }
      if (setAsideFailures_ != setAsideFailures) result = false;
    }
  }
  if (!result) {
    try {
      setStatus(contactMarlowby,
                L"The rollback of a previous move has failed, Contact Marlowby Technical Support for assistance.");
    } catch (const vb::RuntimeError&) {
    }
  }
  return result;
}

void ManageFiles::RestoreFileItem(const moveItem& item, bool& result) {
  const std::wstring source = CollapseBackslashes(item.source);
  const std::wstring destination = CollapseBackslashes(item.destination);
  const bool pattern = IsPattern(source);
  const std::wstring copies = pattern ? destination + L"\\" + NameOf(source) : CopyOf(source, destination);
  fs::RemoveCopyLeftovers(copies);  // this item's own cut copies
  const std::vector<std::wstring> found = fs::FilesMatching(copies);
  if (found.empty()) return;
  const std::wstring oldFolder = FolderOf(source);
  if (!fs::FolderExists(oldFolder)) {
    // The program or settings folder is not made again: the copies stay where they are.
    for (const std::wstring& copy : found)
      setStatus(rollingback, L"Kept " + copy + L": the folder " + oldFolder + L" does not exist");
    return;
  }
  if (!copyFileItem(copies, pattern ? oldFolder + L"\\" : source, item.message, true)) {
    result = false;
    return;
  }
  for (const std::wstring& copy : found)
    RemoveIfIdentical(copy, pattern ? oldFolder + L"\\" + NameOf(copy) : source, rollingback, true);
}

void ManageFiles::RestoreFolderItem(const moveItem& item, bool& result) {
  const std::wstring parent = FolderOf(CollapseBackslashes(item.source));
  if (!fs::FolderExists(parent)) {
    setStatus(rollingback, L"Kept " + item.destination + L": the folder " + parent + L" does not exist");
    return;
  }
  if (!copyFolderItem(item.destination, item.source, item.message, true)) {
    result = false;
    return;
  }
  RemoveWhereIdentical(CollapseBackslashes(item.destination), CollapseBackslashes(item.source), rollingback);
}

}  // namespace vista
