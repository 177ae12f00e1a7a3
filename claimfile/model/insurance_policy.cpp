#include "model/insurance_policy.h"

namespace claimfile {

namespace {

const wchar_t* const kStoreOrder[] = {CLAIMFILE_INSURANCE_POLICY_FIELDS(CLAIMFILE_FIELD_NAME)};
static_assert(sizeof kStoreOrder / sizeof kStoreOrder[0] == 76);

// The store's names, shared by every object of the class.
const FieldNames& StoreNames() {
  static const FieldNames names(kStoreOrder);
  return names;
}

}  // namespace

InsurancePolicy::InsurancePolicy() : OutFields(NewFieldStore(StoreNames())) {}

InsurancePolicy::~InsurancePolicy() { OutFields.reset(); }

}  // namespace claimfile
