#include "model/insurance_policy.h"

namespace claimfile {

namespace {

const wchar_t* const kStoreOrder[] = {CLAIMFILE_INSURANCE_POLICY_FIELDS(CLAIMFILE_FIELD_NAME)};
static_assert(sizeof kStoreOrder / sizeof kStoreOrder[0] == 76);

}  // namespace

InsurancePolicy::InsurancePolicy() : OutFields(NewFieldStore(kStoreOrder)) {}

InsurancePolicy::~InsurancePolicy() { OutFields.reset(); }

}  // namespace claimfile
