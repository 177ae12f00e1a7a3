#include "nsf_format_com.h"

namespace claimfile {

com::Ptr<NSFFormat> NSFFormat::New() { return com::Make<NSFFormatCom>(); }

HRESULT NSFFormatCom::PrintMe(short* iFn, _FileHeader** objFH) noexcept {
  if (!iFn || !objFH) return E_POINTER;
  return Run([&] {
    auto header = com::RequireImpl<FileHeader>(*objFH);
    if (!header) vb::Raise(vb::errObjectNotSet);
    NSFFormat::PrintMe(*iFn, *header);
  });
}

}  // namespace claimfile
