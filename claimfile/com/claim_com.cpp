#include "claim_com.h"

namespace claimfile {

com::Ptr<Claim> Claim::New() { return com::Make<ClaimCom>(); }

}  // namespace claimfile
