#include "service_lines_com.h"

namespace claimfile {

com::Ptr<ServiceLines> ServiceLines::New() { return com::Make<ServiceLinesCom>(); }

}  // namespace claimfile
