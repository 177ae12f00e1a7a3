#include <string>

#include "model/claim.h"
#include "model/output_fields.h"
#include "vb/convert.h"
#include "vb/files.h"
#include "vb/present.h"
#include "x837/edi837.h"

namespace claimfile::Edi837 {

namespace {

const wchar_t kErrorTitle[] = L"Error Creating File";

// Opens the log when this thread's log file is not open: the first write of an export creates
// or empties it; a write after the log was closed in the same export appends to it, so the
// lines already written stay.
void EnsureLogOpen() {
  ModuleState& s = State();
  if (s.errorLogFileOpen) return;
  const short fn = vb::FreeFile();
  try {
    if (s.ErrorLogOpen)
      vb::OpenForAppend(fn, s.ErrorLogPath);
    else
      vb::OpenForOutput(fn, s.ErrorLogPath);
  } catch (const vb::RuntimeError& e) {  // the box names the log that could not be opened
    throw e.Appended(L" (log " + s.ErrorLogPath + L")");
  }
  s.ErrorLogFileNumber = fn;
  s.errorLogFileOpen = true;
  s.ErrorLogOpen = true;
}

}  // namespace

std::wstring ErrorLogPathFor(const std::wstring& outputFileName) {
  if (outputFileName.size() < 3) vb::Raise(vb::errInvalidCall);
  return outputFileName.substr(0, outputFileName.size() - 3) + L"LOG";
}

void StartExport() {
  CloseErrorLog();
  State().ErrorLogOpen = false;
}

void CloseErrorLog() {
  ModuleState& s = State();
  if (!s.errorLogFileOpen) return;
  vb::Close(s.ErrorLogFileNumber);
  s.errorLogFileOpen = false;
}

void WriteErrorLine(const std::wstring& line) {
  EnsureLogOpen();
  vb::Print(State().ErrorLogFileNumber, line);
}

void ReportMissing(std::wstring& message, const std::wstring& value, long location1, long location2,
                   long location3) {
  if (!value.empty()) return;
  std::wstring line = message + L"  Find at:" + ScreenLocation(location1);
  if (location2 != 0) line += L" or " + ScreenLocation(location2);
  if (location3 != 0) line += L" or " + ScreenLocation(location3);
  WriteErrorLine(line);
  message = line;
}

std::wstring ScreenLocation(long code) {
  static const wchar_t* const kScreens[] = {
      L"Client Setup/General Tab",
      L"Client Setup/Parties Tab",
      L"Client Setup/Insurance Tab",
      L"Client Setup/Insurance Tab/Claim Filing Ind. (BL, MB, MC, CI)",
      L"Client Setup/Insurance Tab/Additional Ins. Info",
      L"Client Setup/Insurance Tab/HCFA Details",
      L"Client Setup/EFile Tab",
      L"Client Setup/Insurance Tab/Managed Care Contract Info",
      L"Insurance Comp/General Tab",
      L"Insurance Comp/HCFA Details Tab",
      L"Insurance Comp/EFile Tab",
      L"Insurance Company Setup/Efile Tab (5 digit code supplied by Gateway)",
      L"Provider/Demographics Tab",
      L"Provider/HCFA Details Tab",
      L"Provider/EFile Tab",
      L"Company Information",
      L"Billing Service Information",
      L"Electronic Filing Information",
      L"Client Ledger",
      L"Client Setup/Diagnosis Tab",
  };
  constexpr long count = static_cast<long>(sizeof kScreens / sizeof kScreens[0]);
  return code >= 1 && code <= count ? kScreens[code - 1] : L"";
}

std::wstring AlphaNumOnly(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text)
    if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') || c == L' ') out += c;
  return out;
}

std::wstring GetDelimitedField(const std::wstring& text, short fieldNumber, const std::wstring& delimiter) {
  if (delimiter.empty()) return fieldNumber <= 1 ? vb::Trim(text) : L"";
  // Positions of the delimiters, found without regard to case.
  const std::wstring upperText = vb::UCase(text), upperDelimiter = vb::UCase(delimiter);
  auto find = [&](size_t from) { return upperText.find(upperDelimiter, from); };
  const size_t first = find(0);
  if (first == std::wstring::npos) return fieldNumber <= 1 ? vb::Trim(text) : L"";
  if (fieldNumber <= 1) return text.substr(0, first);
  size_t before = first;  // delimiter fieldNumber - 1
  for (short n = 2; n < fieldNumber; ++n) {
    before = find(before + delimiter.size());
    if (before == std::wstring::npos) return L"";
  }
  const size_t start = before + delimiter.size();
  const size_t after = find(start);
  return vb::Trim(after == std::wstring::npos ? text.substr(start) : text.substr(start, after - start));
}

std::wstring GetPiece(const std::wstring& text, short pieceNumber, const std::wstring& delimiter) {
  if (delimiter.empty()) return L"";
  std::wstring rest = text + delimiter;
  for (short n = 1; n < pieceNumber; ++n) {
    const size_t at = rest.find(delimiter);
    if (at == std::wstring::npos) return L"";
    rest.erase(0, at + delimiter.size());
  }
  const size_t at = rest.find(delimiter);
  return at == std::wstring::npos ? L"" : rest.substr(0, at);
}

std::wstring ClaimContext(const Claim* claim) {
  OutputFields& fields = *claim->OutFields;
  const std::wstring number = fields.ValueOf(L"PatControlNo");
  std::wstring text = number.empty() ? L"claim" : L"claim " + number;
  const std::wstring last = fields.ValueOf(L"PatLastName"), first = fields.ValueOf(L"PatFirstName");
  if (!last.empty() || !first.empty()) text += L" of " + last + L", " + first;
  return text;
}

std::wstring SeparatorErrorText(const std::wstring& position, const Claim* claim, const std::wstring& description) {
  std::wstring text = L"Error found in " + position;
  if (claim) {
    OutputFields& fields = *claim->OutFields;
    text += L" for " + fields.ValueOf(L"PatLastName") + L", " + fields.ValueOf(L"PatFirstName");
  }
  return text + L".\r" +
         L"Electronic files use symbols as internal delimiters.  Symbols that are "
         L"reserved for the 837 include: *, :, ~.  Please remove these symbols "
         L"from this client's data.\r" + (description.empty() ? L"" : description + L"\r");
}

void ShowErrorFound(const vb::RuntimeError& e, const Claim* claim) {
  vb::MsgBox(L"Error found in " + State().CurrentPosition + L" - " + std::to_wstring(e.number()) + L", " +
                 e.description() + (claim ? L" (" + ClaimContext(claim) + L")" : L""),
             vb::vbExclamation | vb::vbOKOnly, kErrorTitle);
}

bool HandleWriteError(const vb::RuntimeError& e, const Claim* claim) {
  if (e.number() == errSeparatorInData) {
    const std::wstring text = SeparatorErrorText(State().CurrentPosition, claim, e.description());
    vb::MsgBox(text, vb::vbExclamation | vb::vbOKOnly, kErrorTitle);
    try {
      WriteErrorLine(text);
    } catch (...) {
      CloseErrorLog();
      throw;
    }
  } else {
    ShowErrorFound(e, claim);
  }
  CloseErrorLog();
  return false;
}

}  // namespace claimfile::Edi837
