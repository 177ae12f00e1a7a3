// A file header: the root of one claim file, with the submitter, the receiver, the
// file's control data, the 837 envelope values, the output mode and the batches.
#pragma once
#include <string>

#include "com/object.h"
#include "model/batchs.h"
#include "model/model_support.h"
#include "model/output_fields.h"
#include "sendarro7.h"
#include "vb/currency.h"

// The 28 write-only properties in interface order, each with the field it stores under:
// receiverID stores under ReceiverId. (The store's own order differs: see file_header.cpp.)
#define CLAIMFILE_FILE_HEADER_PROPERTIES(X) \
  X(SubId, SubId) X(SubName, SubName) X(SubLName, SubLName) X(SubFName, SubFName) \
  X(SubMName, SubMName) X(SubType, SubType) X(SubNo, SubNo) X(SubAddr1, SubAddr1) \
  X(SubAddr2, SubAddr2) X(SubCity, SubCity) X(SubState, SubState) X(SubZip, SubZip) \
  X(SubRegion, SubRegion) X(SubContact, SubContact) X(SubPhone, SubPhone) \
  X(receiverID, ReceiverId) X(ReceiverTypeCode, ReceiverTypeCode) X(TestProdInd, TestProdInd) \
  X(Password, Password) X(RetransmissionStatus, RetransmissionStatus) \
  X(OriginalSubId, OriginalSubId) X(VendorAppCat, VendorAppCat) \
  X(VendorSoftwareVer, VendorSoftwareVer) X(VendorSoftwareUpdate, VendorSoftwareUpdate) \
  X(COBFileInd, COBFileInd) X(ProcessFromDate, ProcessFromDate) X(ProcessToDate, ProcessToDate) \
  X(AcknowledgmentRequest, AcknowledgmentRequest)

namespace claimfile {

class FileHeader : public com::Object<FileHeader, _FileHeader> {
 public:
  static const CLSID& ClassId() { return CLSID_FileHeader; }
  static bool AnswersInterface(REFIID iid) { return iid == IID__FileHeader; }

  // Makes the store with the 28 fields, then the batches.
  FileHeader();
  ~FileHeader() override;

  // Computed on every read (91 when Batchs is Nothing; 6 on overflow).
  long ServiceLineCount() const;         // sum of the batches' ServiceLineCount
  long ClaimCount() const;               // sum of the batches' ClaimCount
  long BatchCount() const;               // Batchs.Count
  vb::Currency TotalCharges() const;     // sum of the batches' TotalCharges
  vb::Currency TotalPaidAmt() const;     // ... TotalPaidAmt
  vb::Currency TotalAllowedAmt() const;  // ... TotalAllowedAmt

  // Public variables, in interface order.
  CLAIMFILE_OBJECT_MEMBER(OutputFields, _OutputFields, OutFields)
  CLAIMFILE_OBJECT_MEMBER(claimfile::Batchs, _Batchs, Batchs)
  CLAIMFILE_VALUE_MEMBER(OutputModeTypes, OutputModeTypes, OutputMode, OutputModeNSF)
  CLAIMFILE_TEXT_MEMBER(EDIContactName)
  CLAIMFILE_TEXT_MEMBER(EDIContactType)
  CLAIMFILE_TEXT_MEMBER(EDIContactNum)
  CLAIMFILE_TEXT_MEMBER(receiverName)
  CLAIMFILE_TEXT_MEMBER(receiverNum)
  CLAIMFILE_TEXT_MEMBER(intrchgSndrID)
  CLAIMFILE_TEXT_MEMBER(intrchgSndrIDType)
  CLAIMFILE_TEXT_MEMBER(intrchgRcvrIDType)
  CLAIMFILE_TEXT_MEMBER(ISA01)
  CLAIMFILE_TEXT_MEMBER(ISA02)
  CLAIMFILE_TEXT_MEMBER(ISA03)
  CLAIMFILE_TEXT_MEMBER(ISA04)
  CLAIMFILE_TEXT_MEMBER(ISA05)
  CLAIMFILE_TEXT_MEMBER(ISA06)
  CLAIMFILE_TEXT_MEMBER(ISA07)
  CLAIMFILE_TEXT_MEMBER(ISA08)
  CLAIMFILE_TEXT_MEMBER(ISA14)
  CLAIMFILE_TEXT_MEMBER(GS02)
  CLAIMFILE_TEXT_MEMBER(GS03)

  // _FileHeader: the computed reads and the 28 field puts.
  HRESULT STDMETHODCALLTYPE get_ServiceLineCount(long* out) override;
  HRESULT STDMETHODCALLTYPE get_ClaimCount(long* out) override;
  HRESULT STDMETHODCALLTYPE get_BatchCount(long* out) override;
  HRESULT STDMETHODCALLTYPE get_TotalCharges(CY* out) override;
  HRESULT STDMETHODCALLTYPE get_TotalPaidAmt(CY* out) override;
  HRESULT STDMETHODCALLTYPE get_TotalAllowedAmt(CY* out) override;
  CLAIMFILE_FILE_HEADER_PROPERTIES(CLAIMFILE_FIELD_PUT)
};

}  // namespace claimfile
