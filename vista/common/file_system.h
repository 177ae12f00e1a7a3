// The file operations of the library, over Win32 file calls, with the behaviour and the error
// numbers of the Scripting Runtime's FileSystemObject and of the run time's own statements.
// Failures raise vb::RuntimeError.
#pragma once
#include <string>

namespace vista::fs {

// Attributes of Dir (the run time's values).
enum : long { vbNormal = 0, vbHidden = 2, vbSystem = 4, vbDirectory = 16 };

// FileSystemObject.FolderExists: true when a folder of that path exists.
bool FolderExists(const std::wstring& path);
// FileSystemObject.FileExists: true when a file (not a folder) of that path exists.
bool FileExists(const std::wstring& path);

// The MkDir statement: makes one folder. 75 when it exists or cannot be made, 76 when the
// folder above is missing.
void MkDir(const std::wstring& path);

// Dir(pathname, attributes): the name of the first entry that matches pathname (wildcards
// allowed), "" when none does. Plain files always match; folders, hidden and system entries
// only when their attribute is asked for. A pathname ending in "\" searches that folder.
std::wstring Dir(const std::wstring& pathname, long attributes = vbNormal);

}  // namespace vista::fs
