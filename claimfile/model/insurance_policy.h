// An insurance policy of a claim: one payer. Its 76 values live in its field
// store as text (amounts included); 20 text members and insrSecProvIDs lie outside the store.
#pragma once
#include <string>

#include "com/object.h"
#include "model/model_support.h"
#include "model/output_fields.h"
#include "sendarro7.h"

// The 76 stored fields, in store order.
#define CLAIMFILE_INSURANCE_POLICY_FIELDS(X) \
  X(ClaimFilingInd) X(SourceOfPay) X(InsuranceTypeCode) X(NationalPayerId) X(PayorName) \
  X(GroupNo) X(GroupName) X(PPOHMOInd) X(PPOId) X(PriorAuthNo) X(AssignOfBenefits) \
  X(PatSignatureSource) X(PatRelToInsured) X(InsuredIdNo) X(InsuredLastName) X(InsuredFirstName) \
  X(InsuredMI) X(InsuredGeneration) X(InsuredSex) X(InsuredDateOfBirth) X(InsuredEmplStatus) \
  X(SupplementalInsInd) X(InsuranceLocationId) X(MedicaidIdNo) X(SupplementalPatientId) \
  X(Assign4081Ind) X(COBRoutingInd) X(PayorAddr1) X(PayorAddr2) X(PayorCity) X(PayorState) \
  X(PayorZip) X(DisallowedCostCont) X(DisallowedOther) X(AllowedAmount) X(DeductibleAmount) \
  X(CoinsuranceAmount) X(PayorAmountPaid) X(ZeroPayInd) X(AdjudicationInd1) X(AdjudicationInd2) \
  X(AdjudicationInd3) X(ChampusSpnsrBranch) X(ChampusSpnsrGrade) X(ChampusSpnsrStatus) \
  X(InsCardEffectDate) X(InsrCardTermDate) X(BalanceDue) X(EOMBDate1) X(EOMBDate2) X(EOMBDate3) \
  X(EOMBDate4) X(ClaimReceiptDate) X(AmtPaidToBene) X(BeneCheckEFTTraceNo) X(BeneCheckDate) \
  X(AmtPaidToProv) X(ProvCheckEFTTraceNo) X(InterestPaid) X(ApprovedAmt) X(ContractAgreementInd) \
  X(InsuredAddr1) X(InsuredAddr2) X(InsuredCity) X(InsuredState) X(InsuredZip) X(InsuredPhone) \
  X(InsuredRetireDate) X(InsuredSpouseRetire) X(InsuredEmplrName) X(InsuredEmplrAddr1) \
  X(InsuredEmplrAddr2) X(InsuredEmplrCity) X(InsuredEmplrState) X(InsuredEmplrZip) \
  X(EmployeeIdNo)

// The public variables, in interface order (the last two stand after the field puts).
// insrSecProvIDs is the host's own collection of "|"-separated provider ids; never created here.
#define CLAIMFILE_INSURANCE_POLICY_MEMBERS(TEXT, VALUE, OBJECT, COLLECTION) \
  TEXT(insuredID2) TEXT(insuredID2Type) TEXT(patPolicyID) TEXT(patPolicyID2) \
  TEXT(patPolicyID2Type) TEXT(medicare2ndType) TEXT(propCasClaimNum) TEXT(priorAuthType) \
  TEXT(medicaidIDNoType) TEXT(subcriberCFI) TEXT(InsrSecID) TEXT(InsrSecIDType) \
  TEXT(AcceptAssign) TEXT(medicareAssign) TEXT(insrSet2010AAToInd) TEXT(insrExclud2310BREF) \
  TEXT(relOfInfo) TEXT(l2300PWK01) COLLECTION(insrSecProvIDs) \
  OBJECT(OutputFields, _OutputFields, OutFields) TEXT(insrExclud2310BPRV) TEXT(l2300CN104)

namespace claimfile {

class InsurancePolicy : public com::Object<InsurancePolicy, _InsurancePolicy> {
 public:
  // The default interface and the earlier InsurancePolicy___v0, a prefix of it (all members but
  // insrExclud2310BPRV and l2300CN104, at the same positions).
  static bool AnswersInterface(REFIID iid) {
    return iid == IID__InsurancePolicy || iid == IID_InsurancePolicy___v0;
  }
  static com::Ptr<InsurancePolicy> New();

  // Makes the store with the 76 fields, all empty; insrSecProvIDs stays Nothing.
  InsurancePolicy();
  ~InsurancePolicy() override;

  CLAIMFILE_MEMBER_DATA(CLAIMFILE_INSURANCE_POLICY_MEMBERS)
};

}  // namespace claimfile
