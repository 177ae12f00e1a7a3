#include "model/batch.h"

#include "model/general_collection.h"

namespace claimfile {

namespace {

const wchar_t* const kStoreOrder[] = {CLAIMFILE_BATCH_FIELDS(CLAIMFILE_FIELD_NAME)};
static_assert(sizeof kStoreOrder / sizeof kStoreOrder[0] == 37);

// The store's names, shared by every object of the class.
const FieldNames& StoreNames() {
  static const FieldNames names(kStoreOrder);
  return names;
}

}  // namespace

Batch::Batch() {
  // The construction order: store, claims, the two collections.
  OutFields = NewFieldStore(StoreNames());
  Claims = claimfile::Claims::New();
  prov837SecIDCol = NewGeneralCollection();
  prov837SecIDTypeCol = NewGeneralCollection();
}

Batch::~Batch() {
  OutFields.reset();
  prov837SecIDCol.reset();
  prov837SecIDTypeCol.reset();
}

long Batch::ServiceLineCount() const { return SumOfCounts(Claims, &Claim::ServiceLineCount); }
long Batch::ClaimCount() const { return Held(Claims).Count(); }
vb::Currency Batch::TotalCharges() const { return SumOfAmounts(Claims, &Claim::TotalCharges); }
vb::Currency Batch::TotalPaidAmt() const { return SumOfAmounts(Claims, &Claim::TotalPaidAmt); }
vb::Currency Batch::TotalAllowedAmt() const { return SumOfAmounts(Claims, &Claim::TotalAllowedAmt); }

}  // namespace claimfile
