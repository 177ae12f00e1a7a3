// The service lines of a claim: unkeyed, positions from 1.
#pragma once
#include "model/model_collection.h"
#include "model/service_line.h"
#include "sendarro7.h"

namespace claimfile {

class ServiceLines : public UnkeyedCollection<ServiceLines, _ServiceLines, ServiceLine> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__ServiceLines; }
  static com::Ptr<ServiceLines> New();
};

}  // namespace claimfile
