// The file operations of the library, over Win32 file calls, with the behaviour and the error
// numbers of the Scripting Runtime's FileSystemObject and of the run time's own statements.
// Failures raise vb::RuntimeError.
//
// The FileSystemObject's numbers: 53 a missing source file, 76 a missing folder, 58 an existing
// target, 70 a file in use (sharing or lock violation) or access denied, 61 a full disk. Every
// other Win32 error keeps its own number (a read error 23, a quota 1295 ...), with the system's
// text as its description.
#pragma once
// <windows.h> maps CopyFile and DeleteFile to their wide forms; taking it in here gives the
// functions below the same names in every file, whether or not it includes <windows.h> itself.
#include <windows.h>

#include <string>
#include <vector>

namespace vista::fs {

// Attributes of Dir (the run time's values).
enum : long { vbNormal = 0, vbHidden = 2, vbSystem = 4, vbDirectory = 16 };

// The path up to its last "\" ("" when it has none), and the part after it.
std::wstring FolderOf(const std::wstring& path);
std::wstring NameOf(const std::wstring& path);
// The path with every "\\" made one "\", except the leading pair of a network path.
std::wstring CollapseBackslashes(std::wstring path);

// FileSystemObject.FolderExists: true when a folder of that path exists, false when the path names
// nothing (the call finds no such file or path). A path that cannot be examined (a share gone,
// access denied, a device error, a name that cannot be) raises its error: it is not an absent one.
bool FolderExists(const std::wstring& path);
// FileSystemObject.FileExists: true when a file (not a folder) of that path exists; false and
// errors as FolderExists.
bool FileExists(const std::wstring& path);

// The MkDir statement: makes one folder. 75 when it exists or cannot be made, 76 when the
// folder above is missing.
void MkDir(const std::wstring& path);

// Dir(pathname, attributes): the name of the first entry that matches pathname (wildcards
// allowed), "" when none does. Plain files always match; folders, hidden and system entries
// only when their attribute is asked for. A pathname ending in "\" searches that folder.
std::wstring Dir(const std::wstring& pathname, long attributes = vbNormal);

// FileSystemObject.CopyFile(source, destination, False). The source is a file or a pattern
// ("*" and "?" in its last part) of files in a folder; the destination a file, or a folder when
// it ends in "\" (and for a pattern always). Nothing is overwritten: a target that exists is
// passed over, every other file is copied, and 58 is raised once at the end. Each file is written
// under a temporary name (LeftoverOf the target) and renamed when complete, so a cut copy never
// stands under the final name; the leftover of an earlier cut copy of that same target goes.
void CopyFile(const std::wstring& source, const std::wstring& destination);
// FileSystemObject.CopyFolder(source, destination, False): the folder with its files and
// subfolders to the folder `destination`, made when missing (its parent must exist: 76).
// Existing files are passed over as by CopyFile, and 58 raised once at the end.
void CopyFolder(const std::wstring& source, const std::wstring& destination);
// FileSystemObject.DeleteFile(filespec, force): a file, or every file matching a pattern (53 when
// none does). A read-only file is removed when force is true, else 70.
void DeleteFile(const std::wstring& filespec, bool force);
// FileSystemObject.DeleteFolder(folderspec, force): the folder with everything in it (76 when
// missing). Read-only files are removed when force is true, else 70.
void DeleteFolder(const std::wstring& folderspec, bool force);
// FileSystemObject.GetFolder(folder).Files: the full paths of the folder's own files (not those
// of its subfolders); 76 when the folder is missing.
std::vector<std::wstring> Files(const std::wstring& folder);
// The folder's own subfolders, full paths; 76 when the folder is missing.
std::vector<std::wstring> SubFolders(const std::wstring& folder);
// FileSystemObject.CreateTextFile(path, True, False) with the whole text written and the file
// closed: the text in the system's 8-bit code page replaces any file of that name. It is written
// under a temporary name first, so a failure keeps the earlier file.
void CreateTextFile(const std::wstring& path, const std::wstring& text);
// The Kill statement: a file, or every file matching a pattern (53 when none does). Read-only
// files are not removed (75).
void Kill(const std::wstring& pathname);

// The files that a file name or a pattern names: none when its folder is missing.
std::vector<std::wstring> FilesMatching(const std::wstring& filespec);
// Removes the leftovers of cut copies of the file or of the files of a pattern (only those).
void RemoveCopyLeftovers(const std::wstring& filespec);
// The temporary name under which a copy to `path` is written until it is complete: in the
// "\\?\" form where the plain one would pass MAX_PATH, so that any target that fits has one.
std::wstring LeftoverOf(const std::wstring& path);
// The path as the Win32 calls take it: itself, or where it is too long for MAX_PATH, its full
// "\\?\" (or "\\?\UNC\") form.
std::wstring Win32Path(const std::wstring& path);

// True when a and b are two different files (not one file under two names) with the same size
// and the same bytes. False when either is missing or cannot be read.
bool SameFile(const std::wstring& a, const std::wstring& b);
// Whether a file name is that of a copy cut off before it was complete.
bool IsCopyLeftover(const std::wstring& name);
// Renames a file out of the way under a free name that marks it as an out-of-date copy (kept
// beside it, never removed); the new path, in the "\\?\" form where the plain one would pass
// MAX_PATH. Folder copies pass such files over.
std::wstring SetAside(const std::wstring& path);
bool IsSetAside(const std::wstring& name);

// Faults for the tests, set from C++ only. Operations are counted from the plan's setting: each
// file copied, file or folder removed, folder made and file set aside is one. Existence checks
// (FileExists, FolderExists) and folder listings are not counted, but `goneFolder` reaches them.
struct FaultPlan {
  long failOperation = 0;                 // this operation fails with `error` (0: none)
  unsigned long long failAfterBytes = 0;  // a copy fails after writing this many bytes
  std::wstring failPath;                  // every operation on this path fails (compared without case)
  unsigned long error = 0;                // the Win32 error of those failures
  // Once operation `goneAfter` has begun (0: from the start), the folder `goneFolder` and all it
  // holds stop answering, as a share taken away: every later operation, existence check and
  // listing on them fails with `error`; with `onlyListings`, only their listings do.
  std::wstring goneFolder;
  long goneAfter = 0;
  bool onlyListings = false;
  bool failSetAside = false;              // every set-aside fails with `error`
  long exitOperation = 0;                 // the process ends at this operation (0: never)
  unsigned long long exitAfterBytes = 0;  // ... inside its copy, after this many bytes
  long pauseOperation = 0;                // `pause` is called as this operation begins (0: never)
  void (*pause)() = nullptr;
};
void SetFaultPlan(const FaultPlan& plan);
// The operations counted since the plan was last set.
long OperationCount();

}  // namespace vista::fs
