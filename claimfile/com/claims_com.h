// The COM adapter of Claims.
#pragma once
#include "model/claims.h"
#include "model_collection_com.h"

namespace claimfile {

class ClaimsCom final : public UnkeyedCollectionCom<Claims, _Claim> {};

}  // namespace claimfile
