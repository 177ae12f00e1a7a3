#include "model/claim.h"

#include "model/general_collection.h"

namespace claimfile {

const IID IID_Claim___v0 = {0x6ED04252, 0x27CA, 0x4EA7, {0xB9, 0xC6, 0x55, 0xA7, 0x86, 0x67, 0xA8, 0xF0}};

namespace {

const wchar_t* const kStoreOrder[] = {CLAIMFILE_CLAIM_FIELDS(CLAIMFILE_FIELD_NAME)};
static_assert(sizeof kStoreOrder / sizeof kStoreOrder[0] == 94);

// The store's names, shared by every object of the class.
const FieldNames& StoreNames() {
  static const FieldNames names(kStoreOrder);
  return names;
}

}  // namespace

Claim::Claim() {
  // The construction order: store, service lines, policies, the four collections.
  OutFields = NewFieldStore(StoreNames());
  ServiceLines = claimfile::ServiceLines::New();
  InsurancePolicies = claimfile::InsurancePolicies::New();
  prov837SecIDCol = NewGeneralCollection();
  prov837SecIDTypeCol = NewGeneralCollection();
  prov837OtherInsSecIDCol = NewGeneralCollection();
  prov837OtherInsSecIDTypeCol = NewGeneralCollection();
}

Claim::~Claim() {
  ServiceLines.reset();
  InsurancePolicies.reset();
  OutFields.reset();
  prov837SecIDCol.reset();
  prov837SecIDTypeCol.reset();
  prov837OtherInsSecIDCol.reset();
  prov837OtherInsSecIDTypeCol.reset();
}

long Claim::ServiceLineCount() const { return Held(ServiceLines).Count(); }
vb::Currency Claim::TotalCharges() const { return SumOfAmounts(ServiceLines, &ServiceLine::LineCharges); }
vb::Currency Claim::TotalPaidAmt() const { return SumOfAmounts(ServiceLines, &ServiceLine::PaidAmt); }
vb::Currency Claim::TotalAllowedAmt() const { return SumOfAmounts(ServiceLines, &ServiceLine::ApprovedAmt); }
vb::Currency Claim::TotalDisalCostContChgs() const {
  return SumOfAmounts(ServiceLines, &ServiceLine::DisallowedCostCont);
}
vb::Currency Claim::TotalDisalOtherChgs() const { return SumOfAmounts(ServiceLines, &ServiceLine::DisallowedOther); }

std::wstring Claim::PatControlNo() const { return FieldText(OutFields, L"PatControlNo"); }

}  // namespace claimfile
