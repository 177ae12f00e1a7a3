// The other payer of a claim filed with more than one policy, all from its second policy: the
// other subscriber information (2320), the other subscriber (2330A), the other payer (2330B), the
// patient as that payer knows him (2330C) and the rendering provider's ids for it (2330E). The
// 2330 loops are numbered under the 2320 SBR in the order they are written.
#include <string>

#include "model/general_collection.h"
#include "model/model_support.h"
#include "vb/convert.h"
#include "x837/conversions.h"
#include "x837/writer837.h"

namespace claimfile::Edi837 {

namespace {

using vb::UCase;

// The one receiver that gets the other payer's address.
const wchar_t kAddressReceiver[] = L"431420764";

}  // namespace

void Writer837::WriteOtherSubscriber(Batch& batch, Claim& claim) {
  ModuleState& state = State();
  const std::wstring parent = DecimalText(ParentHL);
  state.CurrentPosition = L"2320-" + parent;
  InsurancePolicies& policies = Held(claim.InsurancePolicies);
  if (policies.Count() <= 1) return;
  InsurancePolicy& other = *policies.Item(2);
  auto field = [&](const wchar_t* name) -> const std::wstring& { return Field(other.OutFields, name); };
  const std::wstring& payor = field(L"PayorName");
  const std::wstring& patientLast = Field(claim.OutFields, L"PatLastName");
  const std::wstring& insuredLast = field(L"InsuredLastName");
  const std::wstring forPatient = patientLast + L" with " + payor;
  const std::wstring forInsured = insuredLast + L" with " + payor;
  const std::wstring sbr = HLPath + L"\\CLM\\SBR\\";
  // The current NM1 loop under the SBR.
  auto loop = [&] { return sbr + L"NM1(" + DecimalText(OtherPayerNM1Instance) + L")\\"; };
  auto nextLoop = [&] { Advance(OtherPayerNM1Instance, L"name loops of the other payer in one claim"); };

  // ---- 2320 other subscriber information ----
  WriteSegment(sbr, L"SBR",
               {{1, field(L"ClaimFilingInd")},
                {2, field(L"PatRelToInsured")},
                {3, UCase(field(L"GroupNo"))},
                {5, field(L"InsuranceTypeCode"), {L"Missing Insurance Type Code for ", forPatient}, 3},
                {9, UCase(other.subcriberCFI), {L"Missing Claim Filing Ind. Code for ", forPatient}, ReceiverFlag ? 4 : 3}});
  // Amounts already settled when the claim goes to the first payer as a secondary claim.
  if (Field(policies.Item(1)->OutFields, L"ClaimFilingInd") == L"S") {
    WriteSegment(sbr, L"AMT", {{1, L"D"}, {2, NumberText(claim.payerPaidAmount)}});
    WriteSegment(sbr, L"AMT(2)", {{1, L"F2"}, {2, NumberText(claim.patResponsAmount)}});
  }
  WriteSegment(sbr, L"DMG",
               {{1, L"D8"},
                {2, DateText(field(L"InsuredDateOfBirth"), L"YYYYMMDD"), {L"Missing Date of birth for ", insuredLast}, 1, 2},
                {3, UCase(field(L"InsuredSex")), {L"Missing Gender for ", insuredLast}, 1, 2}});
  WriteSegment(sbr, L"OI", {{3, other.AcceptAssign}, {4, field(L"PatSignatureSource")}, {6, L"Y"}});
  OtherPayerNM1Instance = 1;

  // ---- 2330A other subscriber ----
  state.CurrentPosition = L"2330A-" + parent;
  WriteSegment(loop(), L"NM1",
               {{1, L"IL"},
                {2, L"1"},
                {3, Cut(insuredLast, 35)},
                {4, Cut(field(L"InsuredFirstName"), 25)},
                {5, UCase(field(L"InsuredMI"))},
                {7, Cut(field(L"InsuredGeneration"), 10)},
                {8, L"MI"},
                {9, UCase(field(L"InsuredIdNo")), {L"Missing Insurance ID Number for ", forPatient}, 3}});
  WriteSegment(loop(), L"N3", {{1, Cut(field(L"InsuredAddr1"), 55), {L"Missing Address for ", forInsured}, 1},
                                {2, Cut(field(L"InsuredAddr2"), 55)}});
  WriteSegment(loop(), L"N4", {{1, Cut(field(L"InsuredCity"), 30), {L"Missing City for ", forInsured}, 1},
                                {2, UCase(field(L"InsuredState")), {L"Missing State for ", forInsured}, 1},
                                {3, AlphaNumOnly(field(L"InsuredZip")), {L"Missing Zip Code for ", forInsured}, 1}});
  if (!other.insuredID2.empty())
    WriteSegment(loop(), L"REF",
                 {{1, other.insuredID2Type, {L"Missing Secondary Insurance ID Type for ", forInsured}, 1},
                  {2, UCase(other.insuredID2)}});

  // ---- 2330B other payer ----
  state.CurrentPosition = L"2330B-" + parent;
  nextLoop();
  WriteSegment(loop(), L"NM1", {{1, L"PR"},
                                 {2, L"2"},
                                 {3, Cut(payor, 35)},
                                 {8, L"PI"},
                                 {9, UCase(field(L"NationalPayerId")),
                                  {L"Missing Insurance Company National Payer ID for ", payor}, ReceiverFlag ? 12 : 11}});
  // The address goes to one receiver only, named by the host's GS03 itself (not as written).
  if (UCase(header_.GS03) == kAddressReceiver) {
    WriteSegment(loop(), L"N3", {{1, Cut(field(L"PayorAddr1"), 55), {L"Missing Insurance Company Address for ", payor}, 9},
                                  {2, Cut(field(L"PayorAddr2"), 55)}});
    WriteSegment(loop(), L"N4",
                 {{1, Cut(field(L"PayorCity"), 30), {L"Missing Insurance Company City for ", payor}, 9},
                  {2, UCase(field(L"PayorState")), {L"Missing Insurance Company State for ", payor}, 9},
                  {3, AlphaNumOnly(field(L"PayorZip")), {L"Missing Insurance Company Zip Code for ", payor}, 9}});
  }
  if (!claim.payerPaymentDate.empty())
    WriteSegment(loop(), L"DTP", {{1, L"573"}, {2, L"D8"}, {3, DateText(claim.payerPaymentDate, L"YYYYMMDD")}});
  if (!other.InsrSecID.empty())
    WriteSegment(loop(), L"REF", {{1, UCase(other.InsrSecIDType), {L"Missing Secondary ID Type for ", payor}, 9},
                                   {2, Cut(other.InsrSecID, 30)}});

  // ---- 2330C the patient as the other payer knows him ----
  state.CurrentPosition = L"2330C-" + parent;
  if (!other.patPolicyID.empty() || !other.patPolicyID2.empty()) {
    nextLoop();
    WriteSegment(loop(), L"NM1", {{1, L"QC"}, {2, L"1"}, {3, patientLast}, {8, L"MI"}, {9, UCase(other.patPolicyID)}});
  }
  if (!other.patPolicyID2.empty())
    WriteSegment(loop(), L"REF", {{1, other.patPolicyID2Type}, {2, UCase(other.patPolicyID2)}});

  // ---- 2330E the rendering provider's ids for the other payer ----
  state.CurrentPosition = L"2330E-" + parent;
  const std::wstring& medicaidNo = field(L"MedicaidIdNo");
  const short ids = Short(CountOf(claim.prov837OtherInsSecIDCol), L"secondary ids of the rendering provider in one claim");
  if (ids < 1 && medicaidNo.empty()) return;
  nextLoop();
  WriteSegment(loop(), L"NM1", {{1, L"82"}, {2, L"1"}});
  const std::wstring missingType = L"Missing Pay-To Provider Secondary ID Type for " +
                                   Field(batch.OutFields, L"ProvLastName") + L", " +
                                   Field(batch.OutFields, L"ProvFirstName") + L" with " + payor;
  if (!medicaidNo.empty()) {
    WriteSegment(loop(), L"REF", {{1, other.medicaidIDNoType, missingType, 14}, {2, Cut(medicaidNo, 30)}});
    return;
  }
  // A type collection shorter than the ids gives an empty type, which its check logs.
  for (long i = 1; i <= ids; ++i)
    WriteSegment(loop() + L"REF(" + DecimalText(i) + L")",
                 {{1, TextAt(claim.prov837OtherInsSecIDTypeCol, i), missingType, 14},
                  {2, Cut(TextAt(claim.prov837OtherInsSecIDCol, i), 30)}});
}

}  // namespace claimfile::Edi837
