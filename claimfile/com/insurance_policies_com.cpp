#include "insurance_policies_com.h"

namespace claimfile {

com::Ptr<InsurancePolicies> InsurancePolicies::New() { return com::Make<InsurancePoliciesCom>(); }

}  // namespace claimfile
