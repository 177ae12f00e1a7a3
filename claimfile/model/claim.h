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

namespace claimfile {

// {6ED04252-27CA-4EA7-B9C6-55A78667A8F0}: the earlier interface id of Claim, Claim___v0 in the
// type library (an alias of _Claim).
extern const IID IID_Claim___v0;

class Claim : public com::Object<Claim, _Claim> {
 public:
  static const CLSID& ClassId() { return CLSID_Claim; }
  static bool AnswersInterface(REFIID iid) { return iid == IID__Claim || iid == IID_Claim___v0; }

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

  // Public variables, in interface order.
  CLAIMFILE_OBJECT_MEMBER(OutputFields, _OutputFields, OutFields)
  CLAIMFILE_OBJECT_MEMBER(claimfile::InsurancePolicies, _InsurancePolicies, InsurancePolicies)
  CLAIMFILE_OBJECT_MEMBER(claimfile::ServiceLines, _ServiceLines, ServiceLines)
  CLAIMFILE_TEXT_MEMBER(ReferProvSCode)
  CLAIMFILE_TEXT_MEMBER(ReferDate)
  CLAIMFILE_TEXT_MEMBER(SupvProvNPIType)
  CLAIMFILE_TEXT_MEMBER(FacilityLabNPIType)
  CLAIMFILE_TEXT_MEMBER(specialProgramCode)
  CLAIMFILE_TEXT_MEMBER(servAuthExcpCode)
  CLAIMFILE_VALUE_MEMBER(double, double, payerPaidAmount, 0)
  CLAIMFILE_VALUE_MEMBER(double, double, patResponsAmount, 0)
  CLAIMFILE_TEXT_MEMBER(payerPaymentDate)
  CLAIMFILE_TEXT_MEMBER(ReferProvSecIDType)
  CLAIMFILE_TEXT_MEMBER(ReferProvSecID)
  CLAIMFILE_COLLECTION_MEMBER(prov837SecIDCol)
  CLAIMFILE_COLLECTION_MEMBER(prov837SecIDTypeCol)
  CLAIMFILE_VALUE_MEMBER(bool, VARIANT_BOOL, fileAsGroup, false)
  CLAIMFILE_VALUE_MEMBER(short, short, clmFreqTypeCode, 0)
  CLAIMFILE_TEXT_MEMBER(clmOrgRefNum)
  CLAIMFILE_TEXT_MEMBER(supvProvSecID)
  CLAIMFILE_TEXT_MEMBER(supvProvSecIDType)
  CLAIMFILE_COLLECTION_MEMBER(prov837OtherInsSecIDCol)
  CLAIMFILE_COLLECTION_MEMBER(prov837OtherInsSecIDTypeCol)
  CLAIMFILE_TEXT_MEMBER(facilityOtherID)
  CLAIMFILE_TEXT_MEMBER(facilityOtherIDType)

  // _Claim: the computed reads, the PatControlNo get and the 94 field puts.
  HRESULT STDMETHODCALLTYPE get_ServiceLineCount(long* out) override;
  HRESULT STDMETHODCALLTYPE get_TotalCharges(CY* out) override;
  HRESULT STDMETHODCALLTYPE get_TotalPaidAmt(CY* out) override;
  HRESULT STDMETHODCALLTYPE get_TotalAllowedAmt(CY* out) override;
  HRESULT STDMETHODCALLTYPE get_TotalDisalCostContChgs(CY* out) override;
  HRESULT STDMETHODCALLTYPE get_TotalDisalOtherChgs(CY* out) override;
  HRESULT STDMETHODCALLTYPE get_PatControlNo(BSTR* out) override;
  CLAIMFILE_CLAIM_FIELDS(CLAIMFILE_FIELD_PUT_SAME)
};

}  // namespace claimfile
