#include "batch_com.h"

namespace claimfile {

com::Ptr<Batch> Batch::New() { return com::Make<BatchCom>(); }

}  // namespace claimfile
