// A claim of a batch: the patient, dates, indicators, diagnoses and claim-level
// providers, with its service lines and insurance policies.
#pragma once
#include <string>

#include "com/object.h"
#include "model/insurance_policies.h"
#include "model/model_support.h"
#include "model/output_fields.h"
#include "model/service_lines.h"
#include "sendarro7.h"
#include "vb/currency.h"

// The 94 stored fields, in store order. Each has a write-only property of its own name;
// PatControlNo also has a get.
#define CLAIMFILE_CLAIM_FIELDS(X) \
  X(PatControlNo) X(PatLastName) X(PatFirstName) X(PatMI) X(PatGeneration) X(PatDateOfBirth) \
  X(PatSex) X(PatTypeOfResidence) X(PatAddr1) X(PatAddr2) X(PatCity) X(PatState) X(PatZip) \
  X(PatPhone) X(PatMaritalStatus) X(PatStudentStatus) X(PatEmploymentStatus) X(PatDeathInd) \
  X(PatDateOfDeath) X(OtherInsuranceInd) X(ClaimEditingInd) X(TypeOfClaimInd) X(LegalRepInd) \
  X(OriginCode) X(PayorClmControlNo) X(ProviderNumber) X(ClaimIDNo) X(EmplRelatedInd) \
  X(AccidentInd) X(SymptomInd) X(AccidentSymptomDate) X(ExtCauseOfAccident) X(ResponsibilityInd) \
  X(AccidentState) X(AccidentHour) X(AbuseInd) X(ReleaseOfInfoInde) X(ReleaseOfInfoDate) \
  X(SameSimilarSympInd) X(SameSimilarSympDate) X(DisabilityType) X(DisabilityFromDate) \
  X(DisabilityToDate) X(ReferProvNPI) X(ReferProvUPIN) X(ReferProvTaxType) X(ReferProvTaxId) \
  X(ReferProvLast) X(ReferProvFirst) X(ReferProvMI) X(ReferProvState) X(ReferProvEntityType) \
  X(AdmissionDate1) X(DischargeDate1) X(LabInd) X(LabCharges) X(DiagnosisCode1) \
  X(DiagnosisCode2) X(DiagnosisCode3) X(DiagnosisCode4) X(ProvAssignInd) X(ProvSignatureInd) \
  X(ProvSignatureDate) X(FacilityLabName) X(FacilityLabNPI) X(FacilityLabAddress1) \
  X(FacilityLabAddress2) X(FacilityLabCity) X(FacilityLabState) X(FacilityLabZipCode) \
  X(DocumentationInd) X(TypeOfDocumentation) X(FunctnlStatusCode) X(SpecialProgramInd) \
  X(ChampusNonavailInd) X(SupvProvInd) X(SupvProvNPI) X(SupvProvLast) X(SupvProvFirst) \
  X(SupvProvMI) X(SupvProvState) X(EMTParamedicLast) X(EMTParamedicFirst) X(EMTParamedicMI) \
  X(SubResubmissionCode) X(ResubReferenceNo) X(DateLastSeen) X(DateDocumentSent) X(HomeboundInd) \
  X(BloodUnitsPaid) X(BloodUnitsRemaining) X(CPOProvNumber) X(IDENumber) X(ExtraNarrative)

// The public variables, in interface order.
#define CLAIMFILE_CLAIM_MEMBERS(TEXT, VALUE, OBJECT, COLLECTION) \
  OBJECT(OutputFields, _OutputFields, OutFields) \
  OBJECT(claimfile::InsurancePolicies, _InsurancePolicies, InsurancePolicies) \
  OBJECT(claimfile::ServiceLines, _ServiceLines, ServiceLines) TEXT(ReferProvSCode) \
  TEXT(ReferDate) TEXT(SupvProvNPIType) TEXT(FacilityLabNPIType) TEXT(specialProgramCode) \
  TEXT(servAuthExcpCode) VALUE(double, double, payerPaidAmount, 0) \
  VALUE(double, double, patResponsAmount, 0) TEXT(payerPaymentDate) TEXT(ReferProvSecIDType) \
  TEXT(ReferProvSecID) COLLECTION(prov837SecIDCol) COLLECTION(prov837SecIDTypeCol) \
  VALUE(bool, VARIANT_BOOL, fileAsGroup, false) VALUE(short, short, clmFreqTypeCode, 0) \
  TEXT(clmOrgRefNum) TEXT(supvProvSecID) TEXT(supvProvSecIDType) \
  COLLECTION(prov837OtherInsSecIDCol) COLLECTION(prov837OtherInsSecIDTypeCol) \
  TEXT(facilityOtherID) TEXT(facilityOtherIDType)

namespace claimfile {

// {6ED04252-27CA-4EA7-B9C6-55A78667A8F0}: the earlier interface id of Claim, Claim___v0 in the
// type library (an alias of _Claim).
extern const IID IID_Claim___v0;

class Claim : public com::Object<Claim, _Claim> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__Claim || iid == IID_Claim___v0; }
  static com::Ptr<Claim> New();

  // Makes the store with the 94 fields, the service lines, the policies and the four
  // collections, in this order.
  Claim();
  ~Claim() override;

  // Computed on every read (91 when ServiceLines is Nothing).
  long ServiceLineCount() const;                 // ServiceLines.Count
  vb::Currency TotalCharges() const;             // sum of the lines' LineCharges
  vb::Currency TotalPaidAmt() const;             // ... PaidAmt
  vb::Currency TotalAllowedAmt() const;          // ... ApprovedAmt
  vb::Currency TotalDisalCostContChgs() const;   // ... DisallowedCostCont
  vb::Currency TotalDisalOtherChgs() const;      // ... DisallowedOther
  // The stored text of PatControlNo.
  std::wstring PatControlNo() const;

  CLAIMFILE_MEMBER_DATA(CLAIMFILE_CLAIM_MEMBERS)
};

}  // namespace claimfile
