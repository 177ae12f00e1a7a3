#include "model/batch.h"

#include "model/general_collection.h"

namespace claimfile {

namespace {

const wchar_t* const kStoreOrder[] = {CLAIMFILE_BATCH_FIELDS(CLAIMFILE_FIELD_NAME)};
static_assert(sizeof kStoreOrder / sizeof kStoreOrder[0] == 37);

}  // namespace

Batch::Batch() {
  // The construction order: store, claims, the two collections.
  OutFields = NewFieldStore(kStoreOrder);
  Claims = com::Make<claimfile::Claims>();
  prov837SecIDCol = NewGeneralCollection();
  prov837SecIDTypeCol = NewGeneralCollection();
}

Batch::~Batch() {
  OutFields.reset();
  prov837SecIDCol.reset();
  prov837SecIDTypeCol.reset();
}

claimfile::Claims& Batch::ClaimsHeld() const {
  if (!Claims) vb::Raise(vb::errObjectNotSet);
  return *Claims;
}

long Batch::ServiceLineCount() const {
  long sum = 0;
  for (auto& claim : ClaimsHeld()) sum = AddCount(sum, claim->ServiceLineCount());
  return sum;
}

long Batch::ClaimCount() const { return ClaimsHeld().Count(); }

vb::Currency Batch::Total(vb::Currency (Claim::*total)() const) const {
  vb::Currency sum;
  for (auto& claim : ClaimsHeld()) sum += ((*claim).*total)();
  return sum;
}

vb::Currency Batch::TotalCharges() const { return Total(&Claim::TotalCharges); }
vb::Currency Batch::TotalPaidAmt() const { return Total(&Claim::TotalPaidAmt); }
vb::Currency Batch::TotalAllowedAmt() const { return Total(&Claim::TotalAllowedAmt); }

HRESULT Batch::get_ServiceLineCount(long* out) {
  return ReadInto(*this, out, [&] { return ServiceLineCount(); });
}
HRESULT Batch::get_ClaimCount(long* out) {
  return ReadInto(*this, out, [&] { return ClaimCount(); });
}
HRESULT Batch::get_TotalCharges(CY* out) {
  return ReadCurrency(*this, out, [&] { return TotalCharges(); });
}
HRESULT Batch::get_TotalPaidAmt(CY* out) {
  return ReadCurrency(*this, out, [&] { return TotalPaidAmt(); });
}
HRESULT Batch::get_TotalAllowedAmt(CY* out) {
  return ReadCurrency(*this, out, [&] { return TotalAllowedAmt(); });
}

}  // namespace claimfile
