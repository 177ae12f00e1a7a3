#include "insurance_policy_com.h"

namespace claimfile {

com::Ptr<InsurancePolicy> InsurancePolicy::New() { return com::Make<InsurancePolicyCom>(); }

}  // namespace claimfile
