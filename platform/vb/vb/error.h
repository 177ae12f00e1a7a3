// Run-time errors as the Visual Basic run time numbers and describes them.
#pragma once
#include <exception>
#include <string>

namespace vb {

// Error numbers used across the libraries.
enum : long {
  errReturnWithoutGoSub = 3,
  errInvalidCall = 5,        // Invalid procedure call or argument
  errOverflow = 6,
  errOutOfMemory = 7,
  errSubscript = 9,          // Subscript out of range
  errTypeMismatch = 13,
  errInternal = 51,          // Internal error
  errBadFileNameOrNumber = 52,
  errFileNotFound = 53,
  errBadFileMode = 54,
  errFileAlreadyOpen = 55,
  errDeviceIO = 57,
  errFileAlreadyExists = 58,
  errDiskFull = 61,
  errInputPastEnd = 62,
  errTooManyFiles = 67,
  errPermissionDenied = 70,
  errPathFileAccess = 75,
  errPathNotFound = 76,
  errObjectNotSet = 91,      // Object variable or With block variable not set
  errInvalidUseOfNull = 94,
  errObjectRequired = 424,
  errCantCreateObject = 429,  // ActiveX component can't create object
  errNotSupported = 438,     // Object doesn't support this property or method
  errWrongArguments = 450,   // Wrong number of arguments or invalid property assignment
  errDuplicateKey = 457,
};

// The run time's own description of a standard error number ("" for numbers it does not know).
std::wstring StandardDescription(long number);

// A numbered run-time error with its description and source, as a host sees it in Err.
class RuntimeError : public std::exception {
 public:
  // The description defaults to the standard one of the number.
  explicit RuntimeError(long number);
  RuntimeError(long number, std::wstring description, std::wstring source = L"");

  long number() const noexcept { return number_; }
  const std::wstring& description() const noexcept { return description_; }
  const std::wstring& source() const noexcept { return source_; }
  const char* what() const noexcept override { return what_.c_str(); }

  // The same error (number and source) with `text` appended to its description: what the caller
  // knows of where it happened.
  RuntimeError Appended(const std::wstring& text) const;

 private:
  long number_;
  std::wstring description_;
  std::wstring source_;
  std::string what_;
};

// Raises the standard error of that number.
[[noreturn]] void Raise(long number);

// The system's text of a Win32 error code (GetLastError), without its line end; "" when it has none.
std::wstring Win32ErrorText(unsigned long win32Error);

// Translates a Win32 error code (GetLastError) from a file operation into the run time's number.
long FileErrorFromWin32(unsigned long win32Error);

}  // namespace vb
