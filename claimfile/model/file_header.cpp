#include "model/file_header.h"

namespace claimfile {

namespace {

// The store order: SubType and SubNo stand second and third, unlike their
// properties.
const wchar_t* const kStoreOrder[] = {
    L"SubId", L"SubType", L"SubNo", L"SubName", L"SubLName", L"SubFName", L"SubMName", L"SubAddr1",
    L"SubAddr2", L"SubCity", L"SubState", L"SubZip", L"SubRegion", L"SubContact", L"SubPhone",
    L"ReceiverId", L"ReceiverTypeCode", L"TestProdInd", L"Password", L"RetransmissionStatus",
    L"OriginalSubId", L"VendorAppCat", L"VendorSoftwareVer", L"VendorSoftwareUpdate", L"COBFileInd",
    L"ProcessFromDate", L"ProcessToDate", L"AcknowledgmentRequest"
};
static_assert(sizeof kStoreOrder / sizeof kStoreOrder[0] == 28);

// The store's names, shared by every object of the class.
const FieldNames& StoreNames() {
  static const FieldNames names(kStoreOrder);
  return names;
}

}  // namespace

FileHeader::FileHeader() {
  // The construction order: store, then batches.
  OutFields = NewFieldStore(StoreNames());
  Batchs = claimfile::Batchs::New();
}

FileHeader::~FileHeader() = default;

long FileHeader::ServiceLineCount() const { return SumOfCounts(Batchs, &Batch::ServiceLineCount); }
long FileHeader::ClaimCount() const { return SumOfCounts(Batchs, &Batch::ClaimCount); }
long FileHeader::BatchCount() const { return Held(Batchs).Count(); }
vb::Currency FileHeader::TotalCharges() const { return SumOfAmounts(Batchs, &Batch::TotalCharges); }
vb::Currency FileHeader::TotalPaidAmt() const { return SumOfAmounts(Batchs, &Batch::TotalPaidAmt); }
vb::Currency FileHeader::TotalAllowedAmt() const { return SumOfAmounts(Batchs, &Batch::TotalAllowedAmt); }

}  // namespace claimfile
