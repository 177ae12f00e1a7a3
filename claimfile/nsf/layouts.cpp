#include "nsf/layouts.h"

#include <iterator>
#include <vector>

#include "model/file_header.h"
#include "model/output_fields.h"

namespace claimfile::nsf {

namespace {

// The kinds of row, by the data type and source that the tables give.
constexpr FieldSpec Named(long from, long to, OutputFieldType type, const wchar_t* name, bool dated = false) {
  return {from, to, type, Source::Named, name, dated, false};
}
constexpr FieldSpec Text(long from, long to, const wchar_t* name) { return Named(from, to, OutputFieldTypeText, name); }
// Text with the format "YYYYMMDD": a date held as text prints as eight digits.
constexpr FieldSpec TextDate(long from, long to, const wchar_t* name) {
  return Named(from, to, OutputFieldTypeText, name, true);
}
constexpr FieldSpec Date(long from, long to, const wchar_t* name) {
  return Named(from, to, OutputFieldTypeDate, name, true);
}
constexpr FieldSpec Number(long from, long to, const wchar_t* name) {
  return Named(from, to, OutputFieldTypeNumeric, name);
}
constexpr FieldSpec Money(long from, long to, const wchar_t* name) {
  return Named(from, to, OutputFieldTypeCurrency, name);
}
constexpr FieldSpec Tenths(long from, long to, const wchar_t* name) {
  return Named(from, to, OutputFieldTypeFixedOne, name);
}
constexpr FieldSpec Literal(long from, long to, const wchar_t* text, OutputFieldType type = OutputFieldTypeText) {
  return {from, to, type, Source::Literal, text, false, false};
}
constexpr FieldSpec Computed(long from, long to, OutputFieldType type, Source source) {
  return {from, to, type, source, L"", false, false};
}
constexpr FieldSpec Required(FieldSpec f) {
  f.required = true;
  return f;
}

// AA0 (file header), printed through the file header's store
const FieldSpec kAA0[] = {
    Literal(1, 3, L"AA0"),
    Required(Text(4, 19, L"SubId")),
    Required(Text(29, 34, L"SubType")),
    Required(Number(35, 40, L"SubNo")),
    Text(41, 73, L"SubName"),
    Text(74, 103, L"SubAddr1"),
    Text(104, 133, L"SubAddr2"),
    Text(134, 153, L"SubCity"),
    Text(154, 155, L"SubState"),
    Text(156, 164, L"SubZip"),
    Text(165, 169, L"SubRegion"),
    Text(170, 202, L"SubContact"),
    Text(203, 212, L"SubPhone"),
    Computed(213, 220, OutputFieldTypeText, Source::FileDate),
    Computed(221, 226, OutputFieldTypeText, Source::FileTime),
    Required(Text(227, 242, L"ReceiverId")),
    Required(Text(243, 243, L"ReceiverTypeCode")),
    Literal(244, 248, L"00301"),
    Literal(249, 253, L"00301"),
    Required(Text(254, 257, L"TestProdInd")),
    Required(Text(258, 265, L"Password")),
    Literal(297, 302, L"V04182"),
};
// BA0 (batch: billing provider), through the batch's store
const FieldSpec kBA0[] = {
    Literal(1, 3, L"BA0"),
    Text(4, 18, L"EMCProvId"),
    Required(Text(19, 21, L"BatchType")),
    Number(22, 25, L"BatchNo"),
    Number(26, 31, L"BatchId"),
    Text(32, 40, L"ProvTaxId"),
    Text(47, 47, L"ProvTaxIdType"),
    Required(Text(48, 62, L"NationalProvId")),
    Text(63, 68, L"ProvUPINUSINId"),
    Text(75, 89, L"ProvMedicaidNo"),
    Text(90, 104, L"ProvChampusNo"),
    Text(105, 119, L"ProvBlueShieldNo"),
    Text(120, 134, L"ProvCommercialNo"),
    Text(135, 149, L"ProvOtherNumber1"),
    Text(150, 164, L"ProvOtherNumber2"),
    Text(165, 197, L"ProvOrganization"),
    Text(198, 217, L"ProvLastName"),
    Text(218, 229, L"ProvFirstName"),
    Text(230, 230, L"ProvMI"),
    Text(231, 233, L"ProvSpeciality"),
    Text(234, 248, L"SpecialityLicenseNo"),
    Text(249, 263, L"StateLicenseNo"),
    Text(264, 278, L"DentistLicenseNo"),
    Text(279, 293, L"AnesthesiaLicenseNo"),
    Text(294, 294, L"ProvParticipateInd"),
};
// BA1 (batch: service and pay-to addresses), through the batch's store
const FieldSpec kBA1[] = {
    Literal(1, 3, L"BA1"),
    Text(4, 18, L"EMCProvId"),
    Required(Text(19, 21, L"BatchType")),
    Number(22, 25, L"BatchNo"),
    Number(26, 31, L"BatchId"),
    Text(32, 34, L"ProvTypeOrganization"),
    Text(35, 64, L"ProvSVCAddr1"),
    Text(65, 94, L"ProvSVCAddr2"),
    Text(95, 114, L"ProvSVCCity"),
    Text(115, 116, L"ProvSVCState"),
    Text(117, 125, L"ProvSVCZip"),
    Text(126, 135, L"ProvSVCPhone"),
    Text(136, 165, L"ProvPAYTOAddr1"),
    Text(166, 195, L"ProvPAYTOAddr2"),
    Text(196, 215, L"ProvPAYTOCity"),
    Text(216, 217, L"ProvPAYTOState"),
    Text(218, 226, L"ProvPAYTOZip"),
    Text(227, 236, L"ProvPAYTOPhone"),
};
// YA0 (batch trailer), through the batch's store
const FieldSpec kYA0[] = {
    Literal(1, 3, L"YA0"),
    Text(4, 18, L"EMCProvId"),
    Required(Text(19, 21, L"BatchType")),
    Number(22, 25, L"BatchNo"),
    Number(26, 31, L"BatchId"),
    Text(32, 40, L"ProvTaxId"),
    Computed(47, 53, OutputFieldTypeNumeric, Source::BatchServiceLineCount),
    Computed(54, 60, OutputFieldTypeNumeric, Source::BatchRecordCountWithTrailer),
    Computed(61, 67, OutputFieldTypeNumeric, Source::BatchClaimCount),
    Computed(68, 76, OutputFieldTypeCurrency, Source::BatchTotalCharges),
};
// ZA0 (file trailer), through the file header's store
const FieldSpec kZA0[] = {
    Literal(1, 3, L"ZA0"),
    Text(4, 19, L"SubId"),
    Computed(45, 51, OutputFieldTypeNumeric, Source::FileServiceLineCount),
    Computed(52, 58, OutputFieldTypeNumeric, Source::FileRecordCount),
    Computed(59, 65, OutputFieldTypeNumeric, Source::FileClaimCount),
    Computed(66, 69, OutputFieldTypeNumeric, Source::FileBatchCount),
    Computed(70, 80, OutputFieldTypeCurrency, Source::FileTotalCharges),
    Computed(81, 91, OutputFieldTypeCurrency, Source::FileTotalPaidAmt),
    Computed(92, 102, OutputFieldTypeCurrency, Source::FileTotalAllowedAmt),
};
// CA0 (claim header), through the claim's store
const FieldSpec kCA0[] = {
    Literal(1, 3, L"CA0"),
    Text(6, 22, L"PatControlNo"),
    Text(23, 42, L"PatLastName"),
    Text(43, 54, L"PatFirstName"),
    Text(55, 55, L"PatMI"),
    Text(56, 58, L"PatGeneration"),
    TextDate(59, 66, L"PatDateOfBirth"),
    Text(67, 67, L"PatSex"),
    Text(68, 68, L"PatTypeOfResidence"),
    Text(69, 98, L"PatAddr1"),
    Text(99, 128, L"PatAddr2"),
    Text(129, 148, L"PatCity"),
    Text(149, 150, L"PatState"),
    Text(151, 159, L"PatZip"),
    Text(160, 169, L"PatPhone"),
    Text(170, 170, L"PatMaritalStatus"),
    Text(171, 171, L"PatStudentStatus"),
    Text(172, 172, L"PatEmploymentStatus"),
    Text(173, 173, L"PatDeathInd"),
    TextDate(174, 181, L"PatDateOfDeath"),
    Text(182, 182, L"OtherInsuranceInd"),
    Text(183, 183, L"ClaimEditingInd"),
    Text(184, 185, L"TypeOfClaimInd"),
    Text(186, 186, L"LegalRepInd"),
    Text(187, 195, L"OriginCode"),
    Text(196, 212, L"PayorClmControlNo"),
    Text(213, 227, L"ProviderNumber"),
    Text(228, 233, L"ClaimIDNo"),
};
// XA0 (claim trailer), through the claim's store
const FieldSpec kXA0[] = {
    Literal(1, 3, L"XA0"),
    Text(6, 22, L"PatControlNo"),
    Computed(23, 24, OutputFieldTypeNumeric, Source::ClaimCA0Count),
    Computed(25, 26, OutputFieldTypeNumeric, Source::ClaimDACount),
    Computed(27, 28, OutputFieldTypeNumeric, Source::ClaimEACount),
    Computed(29, 30, OutputFieldTypeNumeric, Source::ClaimFA0Count),
    Computed(31, 32, OutputFieldTypeNumeric, Source::ClaimOtherCount1),
    Computed(33, 34, OutputFieldTypeNumeric, Source::ClaimOtherCount2),
    Computed(35, 37, OutputFieldTypeNumeric, Source::ClaimServiceLineCount),
    Computed(78, 84, OutputFieldTypeCurrency, Source::ClaimTotalCharges),
    Computed(99, 105, OutputFieldTypeCurrency, Source::ClaimTotalAllowedAmt),
    Computed(127, 133, OutputFieldTypeCurrency, Source::ClaimTotalPaidAmt),
};
// DA0 (insurance: payer, group, insured), through the policy's store
const FieldSpec kDA0[] = {
    Literal(1, 3, L"DA0"),
    Computed(4, 5, OutputFieldTypeNumeric, Source::PolicySeq),
    Computed(6, 22, OutputFieldTypeText, Source::ClaimControlNo),
    Text(23, 23, L"ClaimFilingInd"),
    Text(24, 24, L"SourceOfPay"),
    Text(25, 26, L"InsuranceTypeCode"),
    Text(27, 35, L"NationalPayerId"),
    Text(36, 68, L"PayorName"),
    Text(69, 88, L"GroupNo"),
    Text(89, 121, L"GroupName"),
    Text(122, 122, L"PPOHMOInd"),
    Text(123, 137, L"PPOId"),
    Text(138, 152, L"PriorAuthNo"),
    Text(153, 153, L"AssignOfBenefits"),
    Text(154, 154, L"PatSignatureSource"),
    Number(155, 156, L"PatRelToInsured"),
    Text(157, 181, L"InsuredIdNo"),
    Text(182, 201, L"InsuredLastName"),
    Text(202, 213, L"InsuredFirstName"),
    Text(214, 214, L"InsuredMI"),
    Text(215, 217, L"InsuredGeneration"),
    Text(218, 218, L"InsuredSex"),
    TextDate(219, 226, L"InsuredDateOfBirth"),
    Text(227, 227, L"InsuredEmplStatus"),
    Text(228, 228, L"SupplementalInsInd"),
    Text(229, 235, L"InsuranceLocationId"),
    Text(236, 260, L"MedicaidIdNo"),
    Text(261, 285, L"SupplementalPatientId"),
    Text(286, 286, L"Assign4081Ind"),
    Text(287, 287, L"COBRoutingInd"),
};
// DA1 (insurance: payer address and amounts), through the policy's store
const FieldSpec kDA1[] = {
    Literal(1, 3, L"DA1"),
    Computed(4, 5, OutputFieldTypeNumeric, Source::PolicySeq),
    Computed(6, 22, OutputFieldTypeText, Source::ClaimControlNo),
    Text(23, 52, L"PayorAddr1"),
    Text(53, 82, L"PayorAddr2"),
    Text(83, 102, L"PayorCity"),
    Text(103, 104, L"PayorState"),
    Text(105, 113, L"PayorZip"),
    Money(114, 120, L"DisallowedCostCont"),
    Money(121, 127, L"DisallowedOther"),
    Money(128, 134, L"AllowedAmount"),
    Money(135, 141, L"DeductibleAmount"),
    Money(142, 148, L"CoinsuranceAmount"),
    Money(149, 155, L"PayorAmountPaid"),
    Text(156, 156, L"ZeroPayInd"),
    Text(157, 158, L"AdjudicationInd1"),
    Text(159, 160, L"AdjudicationInd2"),
    Text(161, 162, L"AdjudicationInd3"),
    Text(163, 163, L"ChampusSpnsrBranch"),
    Text(164, 165, L"ChampusSpnsrGrade"),
    Text(166, 166, L"ChampusSpnsrStatus"),
    TextDate(167, 174, L"InsCardEffectDate"),
    TextDate(175, 182, L"InsrCardTermDate"),
    Money(183, 189, L"BalanceDue"),
    TextDate(190, 197, L"EOMBDate1"),
    TextDate(198, 205, L"EOMBDate2"),
    TextDate(206, 213, L"EOMBDate3"),
    TextDate(214, 221, L"EOMBDate4"),
    TextDate(222, 229, L"ClaimReceiptDate"),
    Money(230, 238, L"AmtPaidToBene"),
    Text(239, 253, L"BeneCheckEFTTraceNo"),
    TextDate(254, 261, L"BeneCheckDate"),
    Money(262, 270, L"AmtPaidToProv"),
    Text(271, 285, L"ProvCheckEFTTraceNo"),
    Money(294, 302, L"InterestPaid"),
    Money(303, 311, L"ApprovedAmt"),
    Text(312, 312, L"ContractAgreementInd"),
};
// DA2 (insurance: insured address and employer), through the policy's store
const FieldSpec kDA2[] = {
    Literal(1, 3, L"DA2"),
    Computed(4, 5, OutputFieldTypeNumeric, Source::PolicySeq),
    Computed(6, 22, OutputFieldTypeText, Source::ClaimControlNo),
    Text(23, 52, L"InsuredAddr1"),
    Text(53, 82, L"InsuredAddr2"),
    Text(83, 102, L"InsuredCity"),
    Text(103, 104, L"InsuredState"),
    Text(105, 113, L"InsuredZip"),
    Text(114, 123, L"InsuredPhone"),
    TextDate(124, 131, L"InsuredRetireDate"),
    Text(132, 139, L"InsuredSpouseRetire"),
    Text(140, 172, L"InsuredEmplrName"),
    Text(173, 202, L"InsuredEmplrAddr1"),
    Text(203, 232, L"InsuredEmplrAddr2"),
    Text(233, 252, L"InsuredEmplrCity"),
    Text(253, 254, L"InsuredEmplrState"),
    Text(255, 263, L"InsuredEmplrZip"),
    Text(264, 275, L"EmployeeIdNo"),
};
// EA0 (claim details), through the claim's store
const FieldSpec kEA0[] = {
    Literal(1, 3, L"EA0"),
    Text(6, 22, L"PatControlNo"),
    Text(23, 23, L"EmplRelatedInd"),
    Text(24, 24, L"AccidentInd"),
    Text(25, 25, L"SymptomInd"),
    TextDate(26, 33, L"AccidentSymptomDate"),
    Text(34, 38, L"ExtCauseOfAccident"),
    Text(39, 39, L"ResponsibilityInd"),
    Text(40, 41, L"AccidentState"),
    Text(42, 43, L"AccidentHour"),
    Text(44, 44, L"AbuseInd"),
    Text(45, 45, L"ReleaseOfInfoInde"),
    TextDate(46, 53, L"ReleaseOfInfoDate"),
    Text(54, 54, L"SameSimilarSympInd"),
    TextDate(55, 62, L"SameSimilarSympDate"),
    Text(63, 63, L"DisabilityType"),
    TextDate(64, 71, L"DisabilityFromDate"),
    Text(72, 79, L"DisabilityToDate"),
    Text(80, 94, L"ReferProvNPI"),
    Text(95, 109, L"ReferProvUPIN"),
    Text(110, 110, L"ReferProvTaxType"),
    Text(111, 119, L"ReferProvTaxId"),
    Text(120, 139, L"ReferProvLast"),
    Text(140, 151, L"ReferProvFirst"),
    Text(152, 152, L"ReferProvMI"),
    Text(153, 154, L"ReferProvState"),
    TextDate(155, 162, L"AdmissionDate1"),
    TextDate(163, 170, L"DischargeDate1"),
    Text(171, 171, L"LabInd"),
    Money(172, 178, L"LabCharges"),
    Text(179, 183, L"DiagnosisCode1"),
    Text(184, 188, L"DiagnosisCode2"),
    Text(189, 193, L"DiagnosisCode3"),
    Text(194, 198, L"DiagnosisCode4"),
    Text(199, 199, L"ProvAssignInd"),
    Text(200, 200, L"ProvSignatureInd"),
    TextDate(201, 208, L"ProvSignatureDate"),
    Text(209, 241, L"FacilityLabName"),
    Text(242, 242, L"DocumentationInd"),
    Text(243, 243, L"TypeOfDocumentation"),
    Text(244, 245, L"FunctnlStatusCode"),
    Text(246, 247, L"SpecialProgramInd"),
    Text(248, 248, L"ChampusNonavailInd"),
    Text(249, 249, L"SupvProvInd"),
    Text(250, 251, L"SubResubmissionCode"),
    Text(252, 266, L"ResubReferenceNo"),
    TextDate(267, 274, L"DateLastSeen"),
    Text(275, 282, L"DateDocumentSent"),
    Text(283, 283, L"HomeboundInd"),
    Text(284, 286, L"BloodUnitsPaid"),
    Text(287, 289, L"BloodUnitsRemaining"),
    Text(290, 295, L"CPOProvNumber"),
    Text(296, 310, L"IDENumber"),
};
// EA1 (facility, supervising provider, EMT), through the claim's store
const FieldSpec kEA1[] = {
    Literal(1, 3, L"EA1"),
    Text(6, 22, L"PatControlNo"),
    Text(23, 37, L"FacilityLabNPI"),
    Text(53, 82, L"FacilityLabAddress1"),
    Text(83, 112, L"FacilityLabAddress2"),
    Text(113, 132, L"FacilityLabCity"),
    Text(133, 134, L"FacilityLabState"),
    Text(135, 143, L"FacilityLabZipCode"),
    Text(193, 207, L"SupvProvNPI"),
    Text(223, 242, L"SupvProvLast"),
    Text(243, 254, L"SupvProvFirst"),
    Text(255, 255, L"SupvProvMI"),
    Text(256, 257, L"SupvProvState"),
    Text(258, 277, L"EMTParamedicLast"),
    Text(278, 289, L"EMTParamedicFirst"),
    Text(290, 290, L"EMTParamedicMI"),
};
// FA0 (service line), through the line's store; it covers all 320 columns
const FieldSpec kFA0[] = {
    Literal(1, 3, L"FA0"),
    Computed(4, 5, OutputFieldTypeNumeric, Source::LineSeq),
    Computed(6, 22, OutputFieldTypeText, Source::CurPatControlNo),
    Number(23, 39, L"LineItemControlNo"),
    Date(40, 47, L"SvcFromDate"),
    Date(48, 55, L"SvcToDate"),
    Text(56, 57, L"PlaceOfSvc"),
    Text(58, 59, L"TypeOfSvcCode"),
    Text(60, 64, L"HCPCSProcedureCode"),
    Text(65, 66, L"HCPCSModifier1"),
    Text(67, 68, L"HCPCSModifier2"),
    Text(69, 70, L"HCPCSModifier3"),
    Money(71, 77, L"LineCharges"),
    Text(78, 78, L"DiagCodePointer1"),
    Text(79, 79, L"DiagCodePointer2"),
    Text(80, 80, L"DiagCodePointer3"),
    Text(81, 81, L"DiagCodePointer4"),
    Tenths(82, 85, L"UnitsOfSvc"),
    Number(86, 89, L"AnesthesiaOxygenMin"),
    Text(90, 90, L"EmergencyInd"),
    Text(91, 91, L"COBInd"),
    Text(92, 92, L"HPSAInd"),
    Text(93, 107, L"RenderingProvNPI"),
    Text(108, 122, L"ReferringProvNPI"),
    Text(123, 124, L"ReferringProvState"),
    Text(125, 125, L"PurSvcInd"),
    Money(126, 132, L"DisallowedCostCont"),
    Money(133, 139, L"DisallowedOther"),
    Text(140, 140, L"ReviewByCodeInd"),
    Text(141, 141, L"MultiProcedureInd"),
    Text(142, 151, L"MammographyCertNo"),
    Text(152, 160, L"ClassFindings"),
    Text(161, 163, L"PodiatrySvcCond"),
    Text(164, 178, L"CliaIdNo"),
    Money(179, 185, L"PrimaryPaidAmount"),
    Text(186, 187, L"HCPCSModifier4"),
    Text(188, 190, L"ProviderSpecialty"),
    Text(191, 191, L"PodiatryTherapyInd"),
    Text(192, 192, L"PodiatryTherapyType"),
    Text(193, 193, L"HospiceEmployedProvInd"),
    Date(194, 201, L"HGBHCGDate"),
    Number(202, 204, L"HGBResult"),
    Number(205, 206, L"HCTResult"),
    Number(207, 209, L"PatientWeight"),
    Number(210, 212, L"EPODosage"),
    Date(213, 220, L"SerumCreatineDate"),
    Number(221, 223, L"CreatineResult"),
    Money(224, 230, L"ObligatedAcceptAmt"),
    Number(231, 237, L"DrugDiscountAmt"),
    Text(238, 238, L"TypeOfUnitsInd"),
    Money(239, 245, L"ApprovedAmt"),
    Money(246, 252, L"PaidAmt"),
    Money(253, 259, L"BeneLiabilityAmt"),
    Money(260, 266, L"BalanceBillLimitChg"),
    Number(267, 273, L"LimitChargePrcnt"),
    Text(274, 283, L"PerformProvPhone"),
    Text(284, 284, L"ProformProvTaxType"),
    Text(285, 293, L"PerformProvTaxId"),
    Text(294, 294, L"PerformProvAssignInd"),
    Text(295, 295, L"PretransplantIndicator"),
    Text(296, 302, L"ICD_10_PCS"),
    Text(303, 316, L"UniversalProductCode"),
    Text(317, 317, L"DiagCodePointer5"),
    Text(318, 318, L"DiagCodePointer6"),
    Text(319, 319, L"DiagCodePointer7"),
    Text(320, 320, L"DiagCodePointer8"),
};
// HA0 (extra narrative), through the claim's store
const FieldSpec kHA0[] = {
    Literal(1, 3, L"HA0"),
    Computed(4, 5, OutputFieldTypeNumeric, Source::LineSeq),
    Computed(6, 22, OutputFieldTypeText, Source::ClaimControlNo),
    Literal(23, 39, L"", OutputFieldTypeNumeric),
    Text(40, 320, L"ExtraNarrative"),
};

template <size_t N>
constexpr RecordLayout Table(RecordId id, const wchar_t* name, const FieldSpec (&rows)[N]) {
  return {id, name, std::span<const FieldSpec>(rows, N)};
}

const RecordLayout kTables[] = {
    Table(RecordId::AA0, L"AA0", kAA0), Table(RecordId::BA0, L"BA0", kBA0), Table(RecordId::BA1, L"BA1", kBA1),
    Table(RecordId::CA0, L"CA0", kCA0), Table(RecordId::DA0, L"DA0", kDA0), Table(RecordId::DA1, L"DA1", kDA1),
    Table(RecordId::DA2, L"DA2", kDA2), Table(RecordId::EA0, L"EA0", kEA0), Table(RecordId::EA1, L"EA1", kEA1),
    Table(RecordId::FA0, L"FA0", kFA0), Table(RecordId::HA0, L"HA0", kHA0), Table(RecordId::XA0, L"XA0", kXA0),
    Table(RecordId::YA0, L"YA0", kYA0), Table(RecordId::ZA0, L"ZA0", kZA0),
};

// Where each row's name stands in a new store of the object that prints the record (its position
// less 1; none for a literal). The model makes every store of a class with the same names in the
// same order, so these spare the printer nearly every look-up; with them the class's names they
// were found among.
struct RowHints {
  const FieldNames* names;
  std::vector<size_t> rows;
};
const RowHints& Hints(RecordId id) {
  static const auto hints = [] {
    auto header = FileHeader::New();
    Batch& batch = *header->Batchs->Add(L"");
    Claim& claim = *batch.Claims->Add();
    OutputFields* stores[] = {header->OutFields.get(), batch.OutFields.get(), claim.OutFields.get(),
                              claim.InsurancePolicies->Add()->OutFields.get(),
                              claim.ServiceLines->Add()->OutFields.get()};
    enum { Header, OfBatch, OfClaim, Policy, Line };
    auto storeOf = [&](RecordId r) -> OutputFields& {
      switch (r) {
        case RecordId::AA0: case RecordId::ZA0: return *stores[Header];
        case RecordId::BA0: case RecordId::BA1: case RecordId::YA0: return *stores[OfBatch];
        case RecordId::DA0: case RecordId::DA1: case RecordId::DA2: return *stores[Policy];
        case RecordId::FA0: return *stores[Line];
        default: return *stores[OfClaim];
      }
    };
    // Read before the loop below makes a store's members.
    const FieldNames* names[std::size(stores)];
    for (size_t k = 0; k < std::size(stores); ++k) names[k] = stores[k]->Names();
    auto namesOf = [&](RecordId r) {
      for (size_t k = 0; k < std::size(stores); ++k)
        if (stores[k] == &storeOf(r)) return names[k];
      return static_cast<const FieldNames*>(nullptr);
    };
    std::vector<RowHints> all;
    for (const RecordLayout& table : kTables) {
      std::vector<size_t> rows;
      for (const FieldSpec& f : table.fields) {
        size_t at = 0, found = static_cast<size_t>(-1);
        if (f.source == Source::Named)
          for (auto& member : storeOf(table.id)) {
            if (member->Name == f.text) found = at;
            ++at;
          }
        rows.push_back(found);
      }
      all.push_back(RowHints{namesOf(table.id), std::move(rows)});
    }
    return all;
  }();
  return hints[static_cast<size_t>(id)];
}

// The entry of a row, a computed one with no value.
LayoutEntry EntryOf(const FieldSpec& f, const RowHints& hints, size_t row) {
  const size_t hint = hints.rows[row];
  LayoutEntry e{{}, f.from, f.to, {}, f.type, {}, f.required, hint,
                hint == static_cast<size_t>(-1) ? nullptr : hints.names};
  if (f.source == Source::Named)
    e.name = f.text;
  else if (f.source == Source::Literal)
    e.value = f.text;
  if (f.dated) e.format = kDateFormat;
  return e;
}

}  // namespace

const RecordLayout& LayoutTable(RecordId id) { return kTables[static_cast<size_t>(id)]; }

std::span<const RecordLayout> LayoutTables() { return kTables; }

const LayoutPlan& Plan(RecordId id) {
  static const std::vector<LayoutPlan> plans = [] {
    std::vector<LayoutPlan> all;
    for (const RecordLayout& table : kTables) {
      LayoutPlan& plan = all.emplace_back();
      const RowHints& hints = Hints(table.id);
      for (const FieldSpec& f : table.fields) {
        if (f.source != Source::Named && f.source != Source::Literal) plan.varying.push_back(plan.entries.size());
        plan.entries.push_back(EntryOf(f, hints, plan.entries.size()));
      }
    }
    return all;
  }();
  return plans[static_cast<size_t>(id)];
}

}  // namespace claimfile::nsf
