// The COM adapter of InsurancePolicies.
#pragma once
#include "model/insurance_policies.h"
#include "model_collection_com.h"

namespace claimfile {

class InsurancePoliciesCom final : public UnkeyedCollectionCom<InsurancePolicies, _InsurancePolicy> {};

}  // namespace claimfile
