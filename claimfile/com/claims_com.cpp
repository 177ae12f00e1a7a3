#include "claims_com.h"

namespace claimfile {

com::Ptr<Claims> Claims::New() { return com::Make<ClaimsCom>(); }

}  // namespace claimfile
