// The COM adapter of FileHeader.
#pragma once
#include "member_accessors.h"
#include "model/file_header.h"

namespace claimfile {

class FileHeaderCom final : public FileHeader {
 public:
  CLAIMFILE_MEMBER_ACCESSORS(CLAIMFILE_FILE_HEADER_MEMBERS)
  CLAIMFILE_COMPUTED_GET(long, ServiceLineCount)
  CLAIMFILE_COMPUTED_GET(long, ClaimCount)
  CLAIMFILE_COMPUTED_GET(long, BatchCount)
  CLAIMFILE_COMPUTED_GET(CY, TotalCharges)
  CLAIMFILE_COMPUTED_GET(CY, TotalPaidAmt)
  CLAIMFILE_COMPUTED_GET(CY, TotalAllowedAmt)
  CLAIMFILE_FILE_HEADER_PROPERTIES(CLAIMFILE_FIELD_PUT)
};

}  // namespace claimfile
