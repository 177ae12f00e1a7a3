// The COM adapter of InsurancePolicy.
#pragma once
#include "member_accessors.h"
#include "model/insurance_policy.h"

namespace claimfile {

class InsurancePolicyCom final : public InsurancePolicy {
 public:
  CLAIMFILE_MEMBER_ACCESSORS(CLAIMFILE_INSURANCE_POLICY_MEMBERS)
  CLAIMFILE_INSURANCE_POLICY_FIELDS(CLAIMFILE_FIELD_PUT_SAME)
};

}  // namespace claimfile
