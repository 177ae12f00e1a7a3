#include "file_header_com.h"

namespace claimfile {

com::Ptr<FileHeader> FileHeader::New() { return com::Make<FileHeaderCom>(); }

}  // namespace claimfile
