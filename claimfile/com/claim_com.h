// The COM adapter of Claim.
#pragma once
#include "member_accessors.h"
#include "model/claim.h"

namespace claimfile {

class ClaimCom final : public Claim {
 public:
  CLAIMFILE_MEMBER_ACCESSORS(CLAIMFILE_CLAIM_MEMBERS)
  CLAIMFILE_COMPUTED_GET(long, ServiceLineCount)
  CLAIMFILE_COMPUTED_GET(CY, TotalCharges)
  CLAIMFILE_COMPUTED_GET(CY, TotalPaidAmt)
  CLAIMFILE_COMPUTED_GET(CY, TotalAllowedAmt)
  CLAIMFILE_COMPUTED_GET(CY, TotalDisalCostContChgs)
  CLAIMFILE_COMPUTED_GET(CY, TotalDisalOtherChgs)
  CLAIMFILE_COMPUTED_GET(BSTR, PatControlNo)
  CLAIMFILE_CLAIM_FIELDS(CLAIMFILE_FIELD_PUT_SAME)
};

}  // namespace claimfile
