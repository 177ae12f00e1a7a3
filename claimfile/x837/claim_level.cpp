// Each claim's claim loop (2300: CLM, dates, paperwork, contract, references, diagnoses) and its
// provider loops (2310A referring, 2310B rendering, 2310D service facility, 2310E supervising).
// Every segment hangs under the claim's last HL, HLPath as the earlier levels left it.
#include <string>

#include "model/general_collection.h"
#include "model/model_support.h"
#include "vb/convert.h"
#include "x837/conversions.h"
#include "x837/writer837.h"

namespace claimfile::Edi837 {

namespace {

using vb::Trim;
using vb::UCase;

std::wstring Left(const std::wstring& s, size_t n) { return s.substr(0, n); }

// A referring provider whose entity type reads as the number 1 is an organisation; any other
// type, one that reads as no number (the empty one too) included, is a person.
bool IsOrganisation(const std::wstring& entityType) {
  return vb::IsNumeric(entityType) && vb::ToDouble(entityType) == 1;
}

}  // namespace

void Writer837::WriteClaimLevel(Batch& batch, Claim& claim) {
  WriteClaimInformation(claim);
  WriteReferringProvider(claim);
  WriteRenderingProvider(batch, claim);
  WriteServiceFacility(claim);
  WriteSupervisingProvider(claim);
}

std::wstring Writer837::ClaimNameLoop() const {
  return HLPath + L"\\CLM\\NM1(" + DecimalText(ClaimNM1Instance) + L")";
}

// ---- 2300 --------------------------------------------------------------------------------------

void Writer837::WriteClaimInformation(Claim& claim) {
  auto field = [&](const wchar_t* name) -> const std::wstring& { return Field(claim.OutFields, name); };
  State().CurrentPosition = L"2300-" + DecimalText(ParentHL);
  ClaimNM1Instance = 0;
  RefInstance = 0;
  InsurancePolicy& policy = *Held(claim.InsurancePolicies).Item(1);
  auto policyField = [&](const wchar_t* name) -> const std::wstring& { return Field(policy.OutFields, name); };
  const std::wstring claimLoop = HLPath + L"\\CLM";
  const std::wstring& accident = field(L"AccidentInd");
  const bool accidentWritten = accident != L"N";

  bool clm16 = false;
  if (CLM16Loaded) {
    const std::wstring key = claim.PatControlNo() + L"," + Trim(policyField(L"NationalPayerId"));
    clm16 = !MatchOverride(key, CLM16Overrides, L"CLM16").empty();
  }
  Segment(claimLoop, L"\\CLM");
  PutPieces(segment_, {{1, 0, claim.PatControlNo()},
                       {2, 0, NumberText(claim.TotalCharges())},
                       {5, 1, Field(Held(claim.ServiceLines).Item(1)->OutFields, L"PlaceOfSvc")},
                       {5, 3, DecimalText(claim.clmFreqTypeCode)},
                       {6, 0, L"Y"},
                       {7, 0, policy.medicareAssign},
                       {8, 0, policy.AcceptAssign},
                       {9, 0, policy.relOfInfo},
                       {10, 0, Left(policyField(L"PatSignatureSource"), 1), policy.relOfInfo != L"N"},
                       {11, 1, accident, accidentWritten},
                       {11, 4, UCase(field(L"AccidentState")), accidentWritten},
                       {12, 0, claim.specialProgramCode, !claim.specialProgramCode.empty()},
                       {16, 0, L"P", clm16}});

  // The dates, numbered in the order written. Onset (431) and accident (439) share one field.
  const std::wstring& symptom = field(L"AccidentSymptomDate");
  struct DateRow {
    const wchar_t* qualifier;
    std::wstring date;
    bool written;
  };
  const std::wstring& lastSeen = field(L"dateLastSeen");
  const DateRow dates[] = {
      {L"304", lastSeen, !Trim(lastSeen).empty()},
      {L"431", symptom, !Trim(symptom).empty()},
      {L"438", field(L"SameSimilarSympDate"), !field(L"SameSimilarSympDate").empty()},
      {L"439", symptom, accidentWritten},
      {L"435", field(L"AdmissionDate1"), !field(L"AdmissionDate1").empty()},
      {L"096", field(L"DischargeDate1"), !field(L"DischargeDate1").empty()},
  };
  DTPInstance = 1;
  for (const DateRow& d : dates) {
    if (!d.written) continue;
    WriteSegment(claimLoop + L"\\DTP(" + DecimalText(DTPInstance) + L")",
                 {{1, d.qualifier}, {2, L"D8"}, {3, DateText(d.date, L"YYYYMMDD")}});
    ++DTPInstance;
  }

  if (!policy.l2300PWK01.empty()) WriteSegment(claimLoop, L"\\PWK", {{1, policy.l2300PWK01}, {2, L"AA"}});
  if (!policy.l2300CN104.empty()) WriteSegment(claimLoop, L"\\CN1", {{1, L"09"}, {4, policy.l2300CN104}});

  // The references, numbered in the order written.
  struct RefRow {
    std::wstring ref01, ref02;
    bool written;
  };
  const std::wstring& priorAuth = policyField(L"PriorAuthNo");
  const std::wstring original = Trim(claim.clmOrgRefNum);
  const RefRow refs[] = {
      {L"4N", UCase(claim.servAuthExcpCode), !claim.servAuthExcpCode.empty()},
      {policy.priorAuthType, UCase(priorAuth), !priorAuth.empty()},
      {L"F8", Cut(original, 30), !original.empty()},
  };
  for (const RefRow& r : refs) {
    if (!r.written) continue;
    ++RefInstance;
    WriteSegment(claimLoop + L"\\REF(" + DecimalText(RefInstance) + L")", {{1, r.ref01}, {2, r.ref02}});
  }

  // Up to four diagnoses; an empty code leaves its own element empty.
  const std::wstring& principal = field(L"DiagnosisCode1");
  if (principal.empty()) {
    std::wstring message = L"Warning - Missing Diagnosis for " + field(L"PatLastName");
    ReportMissing(message, L"", 20);
    return;
  }
  Segment(claimLoop, L"\\HI");
  PutPieces(segment_, {{1, 1, L"BK"}, {1, 2, principal}});
  const wchar_t* others[] = {L"DiagnosisCode2", L"DiagnosisCode3", L"DiagnosisCode4"};
  for (long k = 2; k <= 4; ++k) {
    const std::wstring& code = field(others[k - 2]);
    PutPieces(segment_, {{k, 1, L"BF", !code.empty()}, {k, 2, code, !code.empty()}});
  }
}

// ---- 2310A referring provider ------------------------------------------------------------------

void Writer837::WriteReferringProvider(Claim& claim) {
  auto field = [&](const wchar_t* name) -> const std::wstring& { return Field(claim.OutFields, name); };
  State().CurrentPosition = L"2310A-" + DecimalText(ParentHL);
  const std::wstring& last = field(L"ReferProvLast");
  if (last.empty()) return;
  ++ClaimNM1Instance;
  const bool organisation = IsOrganisation(field(L"ReferProvEntityType"));
  const std::wstring taxId = AlphaNumOnly(field(L"ReferProvTaxId"));
  WriteSegment(ClaimNameLoop(), L"\\NM1", {{1, L"DN"}, {2, organisation ? L"2" : L"1"}, {3, Cut(last, 35)}});
  if (!organisation) PutRows({{4, Cut(field(L"ReferProvFirst"), 25)}, {5, Cut(field(L"ReferProvMI"), 1)}});
  if (!taxId.empty()) PutRows({{8, field(L"ReferProvTaxType")}, {9, taxId}});
  if (!claim.ReferProvSCode.empty())
    WriteSegment(ClaimNameLoop(), L"\\PRV", {{1, L"RF"}, {2, L"ZZ"}, {3, Cut(claim.ReferProvSCode, 30)}});
  if (!claim.ReferProvSecID.empty())
    WriteSegment(ClaimNameLoop(), L"\\REF",
                 {{1, claim.ReferProvSecIDType,
                   L"Missing Secondary Referring Prov ID Type " + field(L"PatFirstName") + L" " + field(L"PatLastName"),
                   6},
                  {2, claim.ReferProvSecID}});
}

// ---- 2310B rendering provider ------------------------------------------------------------------

void Writer837::WriteRenderingProvider(Batch& batch, Claim& claim) {
  InsurancePolicy& policy = *Held(claim.InsurancePolicies).Item(1);
  const short sameAsPayTo = batch.prov837SameAsPayTo;
  const bool allowed = (sameAsPayTo != 1 && policy.insrSet2010AAToInd != L"Y") || sameAsPayTo == 2;
  const bool wanted = claim.fileAsGroup || ProviderChanged || sameAsPayTo == 2;
  if (!allowed || !wanted) return;

  auto field = [&](const wchar_t* name) -> const std::wstring& { return Field(batch.OutFields, name); };
  const std::wstring& last = field(L"ProvLastName");
  State().CurrentPosition = L"2310BFG-" + DecimalText(ParentHL);
  ++ClaimNM1Instance;
  WriteSegment(ClaimNameLoop(), L"\\NM1",
               {{1, L"82"},
                {2, L"1"},
                {3, Cut(last, 35)},
                {4, Cut(field(L"ProvFirstName"), 25)},
                {5, Cut(field(L"ProvMI"), 1)},
                {8, batch.prov837PrimIDType, {L"Missing Rendering Provider Tax ID Type for ", last}, 14},
                {9, AlphaNumOnly(batch.prov837PrimID), {L"Missing Rendering Provider Tax ID for ", last}, 14}});

  if (policy.insrExclud2310BPRV != L"Y") {
    const std::wstring& speciality = field(L"ProvSpeciality");
    if (!speciality.empty()) {
      WriteSegment(ClaimNameLoop(), L"\\PRV", {{1, L"PE"}, {2, L"ZZ"}, {3, UCase(speciality)}});
    } else if (ReceiverFlag) {
      std::wstring message = L"Missing Rendering Provider Specialty (Taxonomy) Code for " + last;
      ReportMissing(message, L"", 15);
    }
  }

  // A type the type collection lacks is empty text, which REF01's check reports.
  const long ids = CountOf(claim.prov837SecIDCol);
  if (ids < 1 || policy.insrExclud2310BREF == L"Y") return;
  for (long i = 1; i <= ids; ++i)
    WriteSegment(ClaimNameLoop() + L"\\REF(" + DecimalText(i) + L")",
                 {{1, TextAt(claim.prov837SecIDTypeCol, i),
                   {L"Missing Pay-To Provider Secondary ID Type for ", batch.provPayToName}, 14},
                  {2, Cut(TextAt(claim.prov837SecIDCol, i), 30)}});
}

// ---- 2310D service facility --------------------------------------------------------------------

void Writer837::WriteServiceFacility(Claim& claim) {
  auto field = [&](const wchar_t* name) -> const std::wstring& { return Field(claim.OutFields, name); };
  State().CurrentPosition = L"2310D-" + DecimalText(ParentHL);
  const std::wstring& name = field(L"FacilityLabName");
  const std::wstring& address1 = field(L"FacilityLabAddress1");
  // A facility at the pay-to or billing provider's address is not named again.
  if (name.empty() || UCase(address1) == UCase(PayToAddress1)) return;
  ++ClaimNM1Instance;
  WriteSegment(ClaimNameLoop(), L"\\NM1",
               {{1, L"77"}, {2, L"2"}, {3, Cut(name, 35)}, {8, L"XX"}, {9, UCase(field(L"FacilityLabNPI"))}});
  WriteSegment(ClaimNameLoop(), L"\\N3", {{1, Cut(address1, 55)}, {2, Cut(field(L"FacilityLabAddress2"), 55)}});
  WriteSegment(ClaimNameLoop(), L"\\N4", {{1, Cut(field(L"FacilityLabCity"), 30)},
                                           {2, UCase(field(L"FacilityLabState"))},
                                           {3, AlphaNumOnly(field(L"FacilityLabZipCode"))}});
  if (!Trim(claim.facilityOtherID).empty())
    WriteSegment(ClaimNameLoop(), L"\\REF",
                 {{1, Cut(claim.facilityOtherIDType, 2), L"Missing Facility NPI Type for " + field(L"PatLastName"), 7},
                  {2, UCase(claim.facilityOtherID)}});
}

// ---- 2310E supervising provider ----------------------------------------------------------------

void Writer837::WriteSupervisingProvider(Claim& claim) {
  auto field = [&](const wchar_t* name) -> const std::wstring& { return Field(claim.OutFields, name); };
  State().CurrentPosition = L"2310E-" + DecimalText(ParentHL);
  const std::wstring& last = field(L"SupvProvLast");
  if (last.empty()) return;
  const std::wstring& patient = field(L"PatLastName");
  ++ClaimNM1Instance;
  WriteSegment(ClaimNameLoop(), L"\\NM1",
               {{1, L"DQ"},
                {2, L"1"},
                {3, Cut(last, 35)},
                {4, Cut(field(L"SupvProvFirst"), 25)},
                {5, UCase(field(L"SupvProvMI"))},
                {8, claim.SupvProvNPIType, {L"Missing Sup. Provider NPI Type for ", patient}, 7},
                {9, UCase(field(L"SupvProvNPI")), {L"Missing Sup. Provider NPI Number for ", patient}, 7}});
  const std::wstring secondId = Trim(claim.supvProvSecID);
  if (!secondId.empty())
    WriteSegment(ClaimNameLoop(), L"\\REF",
                 {{1, Cut(Trim(claim.supvProvSecIDType), 3),
                   {L"Missing Supervising Provider Secondary ID Type for ", patient}, 7},
                  {2, Cut(secondId, 30)}});
}

}  // namespace claimfile::Edi837
