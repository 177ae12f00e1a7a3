// The levels of each claim after the billing provider: the subscriber (2000B with its names),
// the patient (2000C), the claim with its providers (2300, 2310A-E), the other subscriber
// (2320, 2330A-E) and the service lines (2400). Not written yet: each hook writes nothing.
#include "x837/writer837.h"

namespace claimfile::Edi837 {

void Writer837::WriteSubscriberLevel(Batch&, Claim&) {}
void Writer837::WritePatientLevel(Batch&, Claim&) {}
void Writer837::WriteClaimLevel(Batch&, Claim&) {}
void Writer837::WriteOtherSubscriber(Batch&, Claim&) {}

}  // namespace claimfile::Edi837
