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

}  // namespace

FileHeader::FileHeader() {
  // The construction order: store, then batches.
  OutFields = NewFieldStore(kStoreOrder);
  Batchs = com::Make<claimfile::Batchs>();
}

FileHeader::~FileHeader() = default;

long FileHeader::ServiceLineCount() const { return SumOfCounts(Batchs, &Batch::ServiceLineCount); }
long FileHeader::ClaimCount() const { return SumOfCounts(Batchs, &Batch::ClaimCount); }
long FileHeader::BatchCount() const { return Held(Batchs).Count(); }
vb::Currency FileHeader::TotalCharges() const { return SumOfAmounts(Batchs, &Batch::TotalCharges); }
vb::Currency FileHeader::TotalPaidAmt() const { return SumOfAmounts(Batchs, &Batch::TotalPaidAmt); }
vb::Currency FileHeader::TotalAllowedAmt() const { return SumOfAmounts(Batchs, &Batch::TotalAllowedAmt); }

HRESULT FileHeader::get_ServiceLineCount(long* out) {
  return com::Compute(*this, out, [&] { return ServiceLineCount(); });
}
HRESULT FileHeader::get_ClaimCount(long* out) {
  return com::Compute(*this, out, [&] { return ClaimCount(); });
}
HRESULT FileHeader::get_BatchCount(long* out) {
  return com::Compute(*this, out, [&] { return BatchCount(); });
}
HRESULT FileHeader::get_TotalCharges(CY* out) {
  return com::Compute(*this, out, [&] { return TotalCharges(); });
}
HRESULT FileHeader::get_TotalPaidAmt(CY* out) {
  return com::Compute(*this, out, [&] { return TotalPaidAmt(); });
}
HRESULT FileHeader::get_TotalAllowedAmt(CY* out) {
  return com::Compute(*this, out, [&] { return TotalAllowedAmt(); });
}

}  // namespace claimfile
