// The insurance policies of a claim: unkeyed, positions from 1. Position 1 is the
// claim's primary payer, position 2 the other payer.
#pragma once
#include "model/insurance_policy.h"
#include "model/model_collection.h"
#include "sendarro7.h"

namespace claimfile {

class InsurancePolicies : public UnkeyedCollection<InsurancePolicies, _InsurancePolicies, InsurancePolicy> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__InsurancePolicies; }
  static com::Ptr<InsurancePolicies> New();
};

}  // namespace claimfile
