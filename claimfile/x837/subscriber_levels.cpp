// Each claim's subscriber level (2000B with SBR), the subscriber's name loop (2010BA), the payer
// (2010BB) and, when the patient is not the subscriber, the patient level (2000C, PAT, 2010CA).
// The subscriber's and the patient's ids come from the claim's first policy.
#include <string>

#include "model/model_support.h"
#include "vb/convert.h"
#include "x837/conversions.h"
#include "x837/writer837.h"

namespace claimfile::Edi837 {

namespace {

using vb::UCase;

// The relationship code of a patient who is the subscriber; compared exactly, never trimmed.
const wchar_t kSelf[] = L"18";

std::wstring Left(const std::wstring& s, size_t n) { return s.substr(0, n); }
std::wstring WithoutHyphens(const std::wstring& s) {
  std::wstring out;
  for (wchar_t c : s)
    if (c != L'-') out += c;
  return out;
}

const wchar_t kRefSegments[] = L"REF segments in one name loop";

std::wstring RefPath(const std::wstring& loop, short instance) {
  return loop + L"\\REF(" + DecimalText(instance) + L")";
}

}  // namespace

// ---- 2000B, 2010BA, 2010BB ---------------------------------------------------------------------

void Writer837::WriteSubscriberLevel(Batch&, Claim& claim) {
  InsurancePolicy& policy = *Held(claim.InsurancePolicies).Item(1);
  auto field = [&](const wchar_t* name) -> const std::wstring& { return Field(policy.OutFields, name); };
  const bool self = field(L"PatRelToInsured") == kSelf;
  const std::wstring& payor = field(L"PayorName");
  const std::wstring subscriber = field(L"InsuredFirstName") + L" " + field(L"InsuredLastName") + L" with " + payor;
  ModuleState& s = State();

  // 2000B: a child of the claim's 2000A.
  ParentHL = HLCount;
  s.CurrentPosition = L"2000B-" + DecimalText(ParentHL);
  HLPath = L"HL(" + DecimalText(Advance(HLCount, kHLSegments)) + L")";
  WriteSegment(HLPath, L"\\HL",
               {{1, DecimalText(HLCount)}, {2, DecimalText(ParentHL)}, {3, L"22"}, {4, self ? L"0" : L"1"}});
  Segment(HLPath, L"\\SBR");
  Put(1, field(L"ClaimFilingInd"));
  if (self) Put(2, kSelf);
  Put(3, UCase(field(L"GroupNo")));
  if (!field(L"GroupName").empty()) Put(4, field(L"GroupName"));
  if (!policy.medicare2ndType.empty()) Put(5, policy.medicare2ndType);
  PutRows({{9, UCase(policy.subcriberCFI), {L"Missing Claim Filing Ind. Code for ", subscriber}, ReceiverFlag ? 4 : 3}});

  // 2010BA: the subscriber; address and property-casualty number only when the patient is the
  // subscriber, the demographics also for another patient unless SbrDMGAlways is set.
  s.CurrentPosition = L"2000BA-" + DecimalText(ParentHL);
  RefInstance = 0;
  const std::wstring name = HLPath + L"\\NM1";
  WriteSegment(name, L"\\NM1", {{1, L"IL"},
                                 {2, L"1"},
                                 {3, Cut(field(L"InsuredLastName"), 35)},
                                 {4, Cut(field(L"InsuredFirstName"), 25)},
                                 {5, UCase(field(L"InsuredMI"))},
                                 {8, L"MI"},
                                 {9, UCase(field(L"InsuredIdNo")), {L"Missing Ins ID Number for ", subscriber}, 3}});
  if (self) {
    WriteSegment(name, L"\\N3",
                 {{1, Cut(field(L"InsuredAddr1"), 55), {L"Missing Insured's Address for ", subscriber}, 1},
                  {2, Cut(field(L"InsuredAddr2"), 55)}});
    WriteSegment(name, L"\\N4",
                 {{1, Cut(field(L"InsuredCity"), 30), {L"Missing Insured's City for ", subscriber}, 1},
                  {2, UCase(field(L"InsuredState")), {L"Missing Insured's State for ", subscriber}, 1},
                  {3, AlphaNumOnly(field(L"InsuredZip")), {L"Missing Insured's Zip Code for ", subscriber}, 1}});
  }
  const std::wstring& birth = field(L"InsuredDateOfBirth");
  if (self || (SbrDMGAlways.empty() && !vb::Trim(birth).empty())) {
    WriteSegment(name, L"\\DMG",
                 {{1, L"D8"},
                  {2, DateText(birth, L"YYYYMMDD"), {L"Missing Insured's Date of Birth for ", subscriber}, 1},
                  {3, UCase(field(L"InsuredSex")), {L"Missing Insured's Gender for ", subscriber}, 1}});
  }
  if (!policy.insuredID2.empty()) {
    WriteSegment(RefPath(name, Advance(RefInstance, kRefSegments)),
                 {{1, policy.insuredID2Type, {L"Missing Insured's Secondary ID Type for ", subscriber}, 3},
                  {2, WithoutHyphens(policy.insuredID2)}});
  }
  if (self && !policy.propCasClaimNum.empty())
    WriteSegment(RefPath(name, Advance(RefInstance, kRefSegments)), {{1, L"Y4"}, {2, policy.propCasClaimNum}});

  // 2010BB: the payer of the first policy; its name keeps its case.
  s.CurrentPosition = L"2000BB-" + DecimalText(ParentHL);
  const std::wstring payer = HLPath + L"\\NM1(2)";
  WriteSegment(payer, L"\\NM1", {{1, L"PR"},
                                  {2, L"2"},
                                  {3, Left(payor, 35)},
                                  {8, L"PI"},
                                  {9, UCase(field(L"NationalPayerId")),
                                   {L"Missing Insurance Company National Payer ID for ", payor}, ReceiverFlag ? 12 : 11}});
  WriteSegment(payer, L"\\N3", {{1, Cut(field(L"PayorAddr1"), 55), {L"Missing Insurance Company Address for ", payor}, 9},
                                 {2, Cut(field(L"PayorAddr2"), 55)}});
  WriteSegment(payer, L"\\N4",
               {{1, Cut(field(L"PayorCity"), 30), {L"Missing Insurance Company City for ", payor}, 9},
                {2, UCase(field(L"PayorState")), {L"Missing Insurance Company State for ", payor}, 9},
                {3, AlphaNumOnly(field(L"PayorZip")), {L"Missing Insurance Company Zip Code for ", payor}, 9}});
  if (!policy.InsrSecID.empty()) {
    WriteSegment(payer, L"\\REF", {{1, UCase(policy.InsrSecIDType), {L"Missing Secondary ID Type for ", payor}, 9},
                                    {2, Cut(policy.InsrSecID, 30)}});
  }
}

// ---- 2000C, PAT, 2010CA ------------------------------------------------------------------------

void Writer837::WritePatientLevel(Batch&, Claim& claim) {
  InsurancePolicy& policy = *Held(claim.InsurancePolicies).Item(1);
  const std::wstring& relationship = Field(policy.OutFields, L"PatRelToInsured");
  if (relationship == kSelf) return;
  auto field = [&](const wchar_t* name) -> const std::wstring& { return Field(claim.OutFields, name); };
  const std::wstring& last = field(L"PatLastName");

  // 2000C: a child of the claim's 2000B, which directly follows its 2000A. The position stays
  // the payer's up to the PAT.
  HLPath = L"HL(" + DecimalText(Advance(HLCount, kHLSegments)) + L")";
  WriteSegment(HLPath, L"\\HL",
               {{1, DecimalText(HLCount)}, {2, DecimalText(ParentHL + 1)}, {3, L"23"}, {4, L"0"}});
  WriteSegment(HLPath, L"\\PAT", {{1, relationship,
                                    L"Missing Relationship to Insured for " + last + L" and " +
                                        Field(policy.OutFields, L"InsuredLastName"),
                                    2}});

  State().CurrentPosition = L"2000CA-" + DecimalText(ParentHL);
  RefInstance = 0;
  const std::wstring name = HLPath + L"\\NM1";
  WriteSegment(name, L"\\NM1", {{1, L"QC"},
                                 {2, L"1"},
                                 {3, Cut(last, 35)},
                                 {4, Cut(field(L"PatFirstName"), 25)},
                                 {5, UCase(field(L"PatMI"))},
                                 {7, Cut(field(L"PatGeneration"), 10)}});
  if (!policy.patPolicyID.empty()) PutRows({{8, L"MI"}, {9, UCase(policy.patPolicyID)}});

  const std::wstring patient = field(L"PatFirstName") + L" " + last;
  WriteSegment(name, L"\\N3", {{1, Cut(field(L"PatAddr1"), 55), {L"Missing Patient Address for ", patient}, 1},
                                {2, Cut(field(L"PatAddr2"), 55)}});
  WriteSegment(name, L"\\N4", {{1, Cut(field(L"PatCity"), 30), {L"Missing Patient City for ", patient}, 1},
                                {2, UCase(field(L"PatState")), {L"Missing Patient State for ", patient}, 1},
                                {3, AlphaNumOnly(field(L"PatZip")), {L"Missing Patient Zip Code for ", patient}, 1}});
  WriteSegment(name, L"\\DMG",
               {{1, L"D8"},
                {2, DateText(field(L"PatDateOfBirth"), L"YYYYMMDD"), {L"Missing Patient Date of Birth for ", patient}, 1},
                {3, UCase(field(L"PatSex")), {L"Missing Patient Gender for ", patient}, 1}});
  if (!policy.patPolicyID2.empty()) {
    WriteSegment(RefPath(name, Advance(RefInstance, kRefSegments)),
                 {{1, policy.patPolicyID2Type, {L"Missing Patient Secondary Policy ID Type for ", patient}, 5},
                  {2, UCase(policy.patPolicyID2)}});
  }
  if (!policy.propCasClaimNum.empty())
    WriteSegment(RefPath(name, Advance(RefInstance, kRefSegments)), {{1, L"Y4"}, {2, UCase(policy.propCasClaimNum)}});
}

}  // namespace claimfile::Edi837
