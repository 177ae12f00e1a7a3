// File numbers of the run time: FreeFile, Open ... For Output/Append/Input, Print #, Close.
// Every failure raises the run time's error (52, 53, 55, 61, 67, 70, 75, 76 ...).
// The table is per thread, as the run time keeps it.
#pragma once
#include <string>
#include <string_view>

namespace vb {

// The lowest file number from 1 to 255 that is not open; 67 when all are.
short FreeFile();

// Open path For Output As #fn: creates or empties the file. 55 when fn is already open,
// 52 when fn is outside 1..511, the file errors of the platform otherwise. A buffered number
// keeps what Print gives in memory until the buffer is full or the number is closed: a failed
// write (61 on a full disk) is raised by the Print or the Close that writes.
void OpenForOutput(short fn, const std::wstring& path, bool buffered = false);
// Open path For Append As #fn: creates the file or writes after its end.
void OpenForAppend(short fn, const std::wstring& path);
// Open path For Input As #fn: 53 when the file does not exist.
void OpenForInput(short fn, const std::wstring& path);

// Print #fn, text   (newline true: ended by CR LF)
// Print #fn, text;  (newline false: no line end)
// The text is written in the system's 8-bit code page. 52 when fn is not open, 54 when it is
// open for input.
void Print(short fn, std::wstring_view text, bool newline = true);
// Print of a text of ASCII characters (below 128) given as its bytes, which every 8-bit code
// page holds as they are: the same bytes Print writes for it, without the conversion.
void PrintAscii(short fn, std::string_view text, bool newline = true);

// Input$(LOF(fn), #fn): the rest of a file open for input, from the 8-bit code page.
std::wstring ReadAll(short fn);

// Close #fn. Closing a number that is not open does nothing. A buffered number writes what
// it holds first; when that fails, the number is closed all the same and the error raised.
void Close(short fn);
// Close (all files of this thread); the first failure of a buffered number is raised.
void CloseAll();
// Whether fn is open.
bool IsOpen(short fn);

}  // namespace vb
