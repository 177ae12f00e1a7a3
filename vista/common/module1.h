// The library's shared routines: INI settings, fields of a delimited text, the shell's
// special folders, and making every missing folder of a path.
#pragma once
#include <windows.h>

#include <string>

namespace vista::Module1 {

// GetPrivateProfileStringA into a 2048-character buffer: the stored value, or the default when
// the file, section or key is missing. A file name without a folder is looked for in the
// Windows folder.
std::wstring readIniSetting(std::wstring section, std::wstring key, std::wstring defaultValue,
                            const std::wstring& iniFile);

// WritePrivateProfileStringA, which makes the file and the section when they are missing;
// true when Windows reports success.
bool writeIniSetting(std::wstring section, std::wstring key, std::wstring value, const std::wstring& iniFile);

// Field number `index` (from 1) of `text` split at `delimiter`, which is found without regard
// to case. The first field comes untrimmed; later ones without blanks at either end; a field
// past the last one is "". A text without the delimiter gives itself trimmed for an index of 1
// or less and "" otherwise. An empty delimiter is never found.
std::wstring getField(const std::wstring& text, short index, const std::wstring& delimiter = L",");

// SHGetFolderPathA for the special folder `folderId` (a CSIDL) of the calling user, with
// CSIDL_FLAG_DONT_VERIFY added: the path whether or not the folder exists, "" on failure.
std::wstring getSpecialFolder(HWND window, long folderId, long flags);

// Makes every missing folder of `path` (the last segment is a file name when lastIsFile is
// true, and is skipped). Empty segments are skipped, so a doubled "\" counts as one; a drive
// ("C:") is never made; a path starting with "\\server\share" or "\" keeps that start as its
// root. True when every folder exists or was made. On a failure a message box names the
// folder, the error number and its description, and the result is false; folders made before
// the failure stay.
bool createPath(std::wstring path, bool lastIsFile);

}  // namespace vista::Module1
