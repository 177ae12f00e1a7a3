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

namespace claimfile {

class Batch : public com::Object<Batch, _Batch> {
 public:
  static const CLSID& ClassId() { return CLSID_Batch; }
  static bool AnswersInterface(REFIID iid) { return iid == IID__Batch; }

  // Makes the store with the 37 fields, the claims and the two collections, in this order.
  Batch();
  ~Batch() override;

  // Computed on every read (91 when Claims is Nothing; 6 on overflow).
  long ServiceLineCount() const;       // sum of the claims' ServiceLineCount
  long ClaimCount() const;             // Claims.Count
  vb::Currency TotalCharges() const;   // sum of the claims' TotalCharges
  vb::Currency TotalPaidAmt() const;   // ... TotalPaidAmt
  vb::Currency TotalAllowedAmt() const;  // ... TotalAllowedAmt

  // Public variables, in interface order.
  CLAIMFILE_TEXT_MEMBER(reIssue)
  CLAIMFILE_TEXT_MEMBER(prov837PrimID)
  CLAIMFILE_TEXT_MEMBER(prov837PrimIDType)
  CLAIMFILE_TEXT_MEMBER(prov837SecID)
  CLAIMFILE_TEXT_MEMBER(prov837SecIDType)
  CLAIMFILE_TEXT_MEMBER(prov837OtherInsID)
  CLAIMFILE_TEXT_MEMBER(prov837OtherInsIDType)
  CLAIMFILE_TEXT_MEMBER(provPayToName)
  CLAIMFILE_TEXT_MEMBER(provPayToIDType)
  CLAIMFILE_TEXT_MEMBER(provPayToID)
  CLAIMFILE_TEXT_MEMBER(provSvcName)
  CLAIMFILE_TEXT_MEMBER(provSvcIDType)
  CLAIMFILE_TEXT_MEMBER(provSvcID)
  CLAIMFILE_VALUE_MEMBER(bool, VARIANT_BOOL, fileAsGroup, false)
  CLAIMFILE_TEXT_MEMBER(EDINumber)
  CLAIMFILE_COLLECTION_MEMBER(prov837SecIDCol)
  CLAIMFILE_COLLECTION_MEMBER(prov837SecIDTypeCol)
  CLAIMFILE_VALUE_MEMBER(short, short, prov837SameAsPayTo, 0)
  CLAIMFILE_VALUE_MEMBER(bool, VARIANT_BOOL, usingBillingService, false)
  CLAIMFILE_TEXT_MEMBER(billServName)
  CLAIMFILE_TEXT_MEMBER(billServAddr1)
  CLAIMFILE_TEXT_MEMBER(billServAddr2)
  CLAIMFILE_TEXT_MEMBER(billServCity)
  CLAIMFILE_TEXT_MEMBER(billServState)
  CLAIMFILE_TEXT_MEMBER(billServZip)
  CLAIMFILE_TEXT_MEMBER(billServIDType)
  CLAIMFILE_TEXT_MEMBER(billServID)
  CLAIMFILE_OBJECT_MEMBER(OutputFields, _OutputFields, OutFields)
  CLAIMFILE_OBJECT_MEMBER(claimfile::Claims, _Claims, Claims)

  // _Batch: the computed reads and the 37 field puts.
  HRESULT STDMETHODCALLTYPE get_ServiceLineCount(long* out) override;
  HRESULT STDMETHODCALLTYPE get_ClaimCount(long* out) override;
  HRESULT STDMETHODCALLTYPE get_TotalCharges(CY* out) override;
  HRESULT STDMETHODCALLTYPE get_TotalPaidAmt(CY* out) override;
  HRESULT STDMETHODCALLTYPE get_TotalAllowedAmt(CY* out) override;
  CLAIMFILE_BATCH_FIELDS(CLAIMFILE_FIELD_PUT_SAME)
};

}  // namespace claimfile
