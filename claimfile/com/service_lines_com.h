// The COM adapter of ServiceLines.
#pragma once
#include "model/service_lines.h"
#include "model_collection_com.h"

namespace claimfile {

class ServiceLinesCom final : public UnkeyedCollectionCom<ServiceLines, _ServiceLine> {};

}  // namespace claimfile
