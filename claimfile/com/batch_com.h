// The COM adapter of Batch.
#pragma once
#include "member_accessors.h"
#include "model/batch.h"

namespace claimfile {

class BatchCom final : public Batch {
 public:
  CLAIMFILE_MEMBER_ACCESSORS(CLAIMFILE_BATCH_MEMBERS)
  CLAIMFILE_COMPUTED_GET(long, ServiceLineCount)
  CLAIMFILE_COMPUTED_GET(long, ClaimCount)
  CLAIMFILE_COMPUTED_GET(CY, TotalCharges)
  CLAIMFILE_COMPUTED_GET(CY, TotalPaidAmt)
  CLAIMFILE_COMPUTED_GET(CY, TotalAllowedAmt)
  CLAIMFILE_BATCH_FIELDS(CLAIMFILE_FIELD_PUT_SAME)
};

}  // namespace claimfile
