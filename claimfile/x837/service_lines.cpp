// The service lines of each claim (2400): LX, SV1 and the service date DTP*472 of every line,
// with the type-of-service override and the two warnings on a line's data (a zero charge, an
// accident or symptom date after the service date).
#include <string>

#include "model/model_support.h"
#include "vb/convert.h"
#include "x837/conversions.h"
#include "x837/writer837.h"

namespace claimfile::Edi837 {

namespace {


// Modifier k (from 1) of the modifiers written one after the other: characters 2k-1 and 2k.
std::wstring Modifier(const std::wstring& modifiers, size_t k) {
  const size_t at = 2 * (k - 1);
  return at < modifiers.size() ? modifiers.substr(at, 2) : std::wstring();
}

// An indicator that is set: not empty and not "N" in any case.
bool Indicated(const std::wstring& indicator) { return !indicator.empty() && vb::UCase(indicator) != L"N"; }

}  // namespace

void Writer837::WriteServiceLine(Batch&, Claim& claim, ServiceLine& line) {
  if (linesHL_ != HLCount) {  // the first line of the claim
    linesHL_ = HLCount;
    State().CurrentPosition = L"2400-" + DecimalText(ParentHL);
    LXCounter = 1;
  }
  auto field = [&](const wchar_t* name) -> const std::wstring& { return Field(line.OutFields, name); };
  const std::wstring patient =
      FieldText(claim.OutFields, L"PatFirstName") + L" " + FieldText(claim.OutFields, L"PatLastName");
  const std::wstring& from = field(L"SvcFromDate");
  const std::wstring loop = HLPath + L"\\CLM\\LX(" + DecimalText(LXCounter) + L")";

  WriteSegment(loop, L"\\LX", {{1, DecimalText(LXCounter)}});

  // SV1. The charge is the stored text with a full stop for the locale's decimal separator.
  const std::wstring& modifiers = field(L"HCPCSModifier1");
  const std::wstring charges = WithFullStop(field(L"LineCharges"));
  Segment(loop, L"\\SV1");
  PutPieces(segment_, {{1, 1, L"HC"},
                       {1, 2, field(L"HCPCSProcedureCode")},
                       {1, 3, Modifier(modifiers, 1)},
                       {1, 4, Modifier(modifiers, 2), !Modifier(modifiers, 2).empty()},
                       {1, 5, Modifier(modifiers, 3), !Modifier(modifiers, 3).empty()},
                       {1, 6, Modifier(modifiers, 4), !Modifier(modifiers, 4).empty()},
                       {2, 0, charges}});
  if (Val(charges) == 0) {
    std::wstring message = L"A zero charge amount was entered for " + patient + L" on " + DateText(from, L"MM/DD/YYYY");
    ReportMissing(message, L"", 19);
  }
  // The type of service goes out only for a primary payer listed in TOS.txt.
  bool typeOfService = false;
  if (TOSLoaded) {
    const std::wstring& payer = FieldText(Held(Held(claim.InsurancePolicies).Item(1)).OutFields, L"NationalPayerId");
    typeOfService = !MatchOverride(payer, TOSOverrides, L"TOS").empty();
  }
  const std::wstring& place = field(L"PlaceOfSvc");
  const std::wstring& firstPlace = FieldText(Held(Held(claim.ServiceLines).Item(1)).OutFields, L"PlaceOfSvc");
  PutPieces(segment_, {{3, 0, L"UN"},
                       {4, 0, field(L"UnitsOfSvc")},
                       {5, 0, place, place != firstPlace},
                       {6, 0, NumberText(Val(field(L"TypeOfSvcCode"))), typeOfService},
                       {7, 1, field(L"DiagCodePointer1")},
                       {9, 0, L"Y", Indicated(field(L"EmergencyInd"))},
                       {11, 0, L"Y", Indicated(line.EPSDTInd)}});

  WriteSegment(loop, L"\\DTP", {{1, L"472"}});
  // An accident or symptom date after the service date; a from-date that is no date has no
  // day count, and the line goes out without the warning.
  const std::wstring& accident = FieldText(claim.OutFields, L"AccidentSymptomDate");
  if (!vb::Trim(accident).empty() && IsDateText(from) &&
      DaysBetween(DateText(accident, L"YYYY/MM/DD"), DateText(from, L"YYYY/MM/DD")) < 0) {
    std::wstring message = L"Date of Current Illness is later than service date of " + DateText(from, L"mm/dd/yy") +
                           L" for " + patient;
    ReportMissing(message, L"", 6);
  }
  // One day (an empty to-date included) is D8 with the from-date; else RD8 with the range.
  const std::wstring fromText = DateText(from, L"YYYYMMDD");
  const std::wstring toText = DateText(field(L"SvcToDate"), L"YYYYMMDD");
  if (fromText == toText || toText.empty())
    PutRows({{2, L"D8"}, {3, fromText}});
  else
    PutRows({{2, L"RD8"}, {3, fromText + L"-" + toText}});

  Advance(LXCounter, L"service lines in one claim");
}

}  // namespace claimfile::Edi837
