// Module Edi837: the 837 writer's module state, its folders, the error log and missing-data
// report, the error handler's boxes, the text routines, and the override files and setting.
// Plain C++: the writer calls these directly; none of it is a COM class.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "vb/error.h"

struct IDispatch;

namespace claimfile {
class Batch;
class Claim;
class FileHeader;
}

namespace claimfile::Edi837 {

// ---- Module state ------------------------------------------------------------------------

// The five folders InitPaths sets.
struct Folders {
  std::wstring AppFolder;       // the library's own folder; the guide file is read from here
  std::wstring DataFolder;      // the override files
  std::wstring SettingsFolder;  // TM3.INI when a setting is read without a file name
  std::wstring UserDocFolder;   // set, not read here
  std::wstring UserTempFolder;  // set, not read here
};

// One copy per thread, kept for as long as the thread lives.
struct ModuleState : Folders {
  // The log has been opened in this export; only StartExport clears it.
  bool ErrorLogOpen = false;
  // The output file name less its last three characters, followed by "LOG".
  std::wstring ErrorLogPath;
  // The file number the log was last opened under.
  short ErrorLogFileNumber = 0;
  // Where the writer is; shown in every error box.
  std::wstring CurrentPosition;

  // Whether ErrorLogFileNumber holds the open log right now (the log may have been closed at the
  // end of an earlier file header of the same export while ErrorLogOpen stays True).
  bool errorLogFileOpen = false;
  // Folders that InitPaths takes instead of asking the version services (tests).
  std::optional<Folders> injectedFolders;
  // The time the writer reads instead of the system clock (tests).
  std::optional<SYSTEMTIME> injectedNow;
  // What DateText and IsDateText answered in this export, by pattern and text: reading a date
  // asks the locale for its month and day names every time, and a file repeats its dates.
  std::unordered_map<std::wstring, std::wstring> dateTexts;
};

// This thread's module state.
ModuleState& State();

// ---- Folders -----------------------------------------------------------------------------

// The folder part of a file path: without its closing "\", except a drive root ("C:\").
std::wstring FolderOf(const std::wstring& filePath);
// folder & "\" & name, with no doubled "\" when the folder already ends in one (a drive root).
std::wstring InFolder(const std::wstring& folder, const std::wstring& name);

// Sets the five folders. On Windows Vista and later (VistaInfo.IsOSVersionVista, created by
// class id) they come from a fileLocations for the product TM; elsewhere every one is the
// library's own folder. Failures of the version services pass to the caller.
// Folders injected with InjectFolders are taken as they are instead.
void InitPaths();
// Makes InitPaths of this thread set these folders (nullopt: ask the version services again).
void InjectFolders(std::optional<Folders> folders);

// ---- The writer ----------------------------------------------------------------------------

// Writes the file header as one 837 interchange through the EDI document (driven late-bound by
// its dispatch ids only) and saves it under outputFileName. True: nothing was logged and nothing
// failed. False: lines were logged in this export (the file is still saved), or a failure stopped
// the writing (nothing saved; its box shown), or the save failed (its box shown). Failures of
// InitPaths pass to the caller.
bool Write837(const std::wstring& outputFileName, FileHeader& header, IDispatch* document);

// The local time now: the system clock, or the time injected for this thread.
SYSTEMTIME Now();
// Makes the writer of this thread read this time (nullopt: the system clock again).
void InjectClock(std::optional<SYSTEMTIME> now);
// The interchange control number of a moment: the days since 30 December 1899 less 38000, then
// the seconds since midnight, both in decimal without padding.
std::wstring ControlNumberAt(const SYSTEMTIME& t);
// Where the guide file is read from: "837_4010.SEF" in the application folder.
std::wstring GuidePath(const std::wstring& appFolder);
// Whether the batch's pay-to provider is not its rendering provider: the pay-to name is neither
// "LAST FIRST" nor "FIRST LAST", or (id type "XX") the pay-to id differs from the primary id.
bool ProviderChanged(Batch& batch);

// ---- Error log and missing-data report ---------------------------------------------------

// The log of an output file: its name less the last three characters, followed by "LOG"
// (C:\out\claims.837 gives C:\out\claims.LOG). A name shorter than three characters raises 5.
std::wstring ErrorLogPathFor(const std::wstring& outputFileName);

// What an export does before its first file header: closes a log left open and clears
// ErrorLogOpen, so the next log write truncates the log.
void StartExport();

// When value is empty, writes the line: message, "  Find at:", the first screen's hint, then
// " or " and the hint of the second and third screen when they are not 0; message receives the
// line. A non-empty value (blanks too) does nothing. Opening or writing failures pass to the caller.
void ReportMissing(std::wstring& message, const std::wstring& value, long location1, long location2 = 0,
                   long location3 = 0);
// Writes the text as one line of the log.
void WriteErrorLine(const std::wstring& line);
// Closes the log file when it is open; ErrorLogOpen stays as it is.
void CloseErrorLog();
// The host screen of a location code (1 to 20); "" for any other code.
std::wstring ScreenLocation(long code);

// ---- Text routines -----------------------------------------------------------------------

// Keeps A-Z, a-z, 0-9 and blanks, in order; drops everything else.
std::wstring AlphaNumOnly(const std::wstring& text);
// Field fieldNumber (from 1) of a text whose fields are separated by delimiter (found without
// regard to case). Field 1 is not trimmed when a delimiter exists; every other field is.
std::wstring GetDelimitedField(const std::wstring& text, short fieldNumber, const std::wstring& delimiter);
// Piece n (from 1; 0 and below are 1) of text & delimiter, split exactly at delimiter; "" past the end.
std::wstring GetPiece(const std::wstring& text, short pieceNumber, const std::wstring& delimiter);

// ---- The writer's error handler ----------------------------------------------------------

// The error number the EDI document raises for element data holding a separator.
constexpr long errSeparatorInData = 12378;

// The text of the separator failure: "Error found in <position> for <last>, <first>." (without
// a claim: "Error found in <position>."), CR, then the request to remove the symbols, CR; then
// the component's description of the failure (the element and its value) and CR, when it has one.
std::wstring SeparatorErrorText(const std::wstring& position, const Claim* claim,
                               const std::wstring& description = L"");
// The box of any other failure: "Error found in <position> - <number>, <description>", titled
// "Error Creating File" (also the box of a failed save, at position "SAVE"); with a claim, its
// ClaimContext in parentheses after the description.
void ShowErrorFound(const vb::RuntimeError& e, const Claim* claim = nullptr);
// How a failure names the claim being written: "claim <PatControlNo> of <PatLastName>,
// <PatFirstName>" ("claim <PatControlNo>" when both names are empty, "claim of ..." without a number).
std::wstring ClaimContext(const Claim* claim);
// What the writer's handler does with a failure that stopped the writing; claim is the claim
// being written (nullptr before the first one). 12378: the separator box, and the same text
// written to the log (a failure of that write passes to the caller, the log closed). Any other:
// ShowErrorFound. Then the log is closed. Returns the writer's answer, False. The writer itself
// releases its objects and saves nothing.
bool HandleWriteError(const vb::RuntimeError& e, const Claim* claim);

// ---- Override files and setting ----------------------------------------------------------

using OverrideLines = std::vector<std::wstring>;

// "TOS" and "CLM16" (any case): when DataFolder\TOS.txt (CLM16.txt) exists as an ordinary file,
// lines receives its pieces between CR LF pairs (a closing CR LF leaves an empty last line) and
// the answer is True; otherwise False and lines is left as it was. "UHIN": True when the
// ordinary file DataFolder & "UHIN.txt" (beside the data folder) exists. Any other kind: False.
// A read failure shows the "Error Reading OverRide File" box and answers False.
bool LoadOverrideFile(OverrideLines& lines, const std::wstring& kind);
// value in upper case when a line matches it (see the .cpp), else "". A blank line matches
// nothing. A failure shows the "Error Processing Override" box and answers "".
std::wstring MatchOverride(const std::wstring& value, const OverrideLines& lines, const std::wstring& kind);
// A value of an INI file through GetPrivateProfileStringA (at most 2047 characters; default when
// missing). An empty fileName means TM3.INI: SettingsFolder\TM3.INI on Vista, else the bare name.
std::wstring ReadSetting(const std::wstring& section, const std::wstring& key, const std::wstring& defaultValue,
                         const std::wstring& fileName);

}  // namespace claimfile::Edi837
