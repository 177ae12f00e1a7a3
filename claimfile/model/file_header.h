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

// The public variables, in interface order.
#define CLAIMFILE_FILE_HEADER_MEMBERS(TEXT, VALUE, OBJECT, COLLECTION) \
  OBJECT(OutputFields, _OutputFields, OutFields) OBJECT(claimfile::Batchs, _Batchs, Batchs) \
  VALUE(OutputModeTypes, OutputModeTypes, OutputMode, OutputModeNSF) TEXT(EDIContactName) \
  TEXT(EDIContactType) TEXT(EDIContactNum) TEXT(receiverName) TEXT(receiverNum) \
  TEXT(intrchgSndrID) TEXT(intrchgSndrIDType) TEXT(intrchgRcvrIDType) TEXT(ISA01) TEXT(ISA02) \
  TEXT(ISA03) TEXT(ISA04) TEXT(ISA05) TEXT(ISA06) TEXT(ISA07) TEXT(ISA08) TEXT(ISA14) \
  TEXT(GS02) TEXT(GS03)

namespace claimfile {

class FileHeader : public com::Object<FileHeader, _FileHeader> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__FileHeader; }
  static com::Ptr<FileHeader> New();

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

  CLAIMFILE_MEMBER_DATA(CLAIMFILE_FILE_HEADER_MEMBERS)
};

}  // namespace claimfile
