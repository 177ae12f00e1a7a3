// A batch of a file header: one billing provider's claims, with the provider's
// ids, names, addresses and licences, the pay-to and the billing-service data.
#pragma once
#include <string>

#include "com/object.h"
#include "model/claims.h"
#include "model/model_support.h"
#include "model/output_fields.h"
#include "sendarro7.h"
#include "vb/currency.h"

// The 37 stored fields, in store order (also the order of their write-only properties).
#define CLAIMFILE_BATCH_FIELDS(X) \
  X(EMCProvId) X(BatchType) X(BatchNo) X(BatchId) X(ProvTaxId) X(ProvTaxIdType) \
  X(NationalProvId) X(ProvMedicaidNo) X(ProvUPINUSINId) X(ProvChampusNo) X(ProvBlueShieldNo) \
  X(ProvCommercialNo) X(ProvOtherNumber1) X(ProvOtherNumber2) X(ProvOrganization) \
  X(ProvTypeOrganization) X(ProvSVCAddr1) X(ProvSVCAddr2) X(ProvSVCCity) X(ProvSVCState) \
  X(ProvSVCZip) X(ProvSVCPhone) X(ProvPAYTOAddr1) X(ProvPAYTOAddr2) X(ProvPAYTOCity) \
  X(ProvPAYTOState) X(ProvPAYTOZip) X(ProvPAYTOPhone) X(ProvLastName) X(ProvFirstName) X(ProvMI) \
  X(ProvSpeciality) X(SpecialityLicenseNo) X(StateLicenseNo) X(DentistLicenseNo) \
  X(AnesthesiaLicenseNo) X(ProvParticipateInd)

// The public variables, in interface order.
#define CLAIMFILE_BATCH_MEMBERS(TEXT, VALUE, OBJECT, COLLECTION) \
  TEXT(reIssue) TEXT(prov837PrimID) TEXT(prov837PrimIDType) TEXT(prov837SecID) \
  TEXT(prov837SecIDType) TEXT(prov837OtherInsID) TEXT(prov837OtherInsIDType) \
  TEXT(provPayToName) TEXT(provPayToIDType) TEXT(provPayToID) TEXT(provSvcName) \
  TEXT(provSvcIDType) TEXT(provSvcID) VALUE(bool, VARIANT_BOOL, fileAsGroup, false) \
  TEXT(EDINumber) COLLECTION(prov837SecIDCol) COLLECTION(prov837SecIDTypeCol) \
  VALUE(short, short, prov837SameAsPayTo, 0) \
  VALUE(bool, VARIANT_BOOL, usingBillingService, false) TEXT(billServName) TEXT(billServAddr1) \
  TEXT(billServAddr2) TEXT(billServCity) TEXT(billServState) TEXT(billServZip) \
  TEXT(billServIDType) TEXT(billServID) OBJECT(OutputFields, _OutputFields, OutFields) \
  OBJECT(claimfile::Claims, _Claims, Claims)

namespace claimfile {

class Batch : public com::Object<Batch, _Batch> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__Batch; }
  static com::Ptr<Batch> New();

  // Makes the store with the 37 fields, the claims and the two collections, in this order.
  Batch();
  ~Batch() override;

  // Computed on every read (91 when Claims is Nothing; 6 on overflow).
  long ServiceLineCount() const;       // sum of the claims' ServiceLineCount
  long ClaimCount() const;             // Claims.Count
  vb::Currency TotalCharges() const;   // sum of the claims' TotalCharges
  vb::Currency TotalPaidAmt() const;   // ... TotalPaidAmt
  vb::Currency TotalAllowedAmt() const;  // ... TotalAllowedAmt

  CLAIMFILE_MEMBER_DATA(CLAIMFILE_BATCH_MEMBERS)
};

}  // namespace claimfile
