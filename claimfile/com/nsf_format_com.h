// The COM adapter of NSFFormat.
#pragma once
#include "nsf/nsf_format.h"

namespace claimfile {

class NSFFormatCom final : public NSFFormat {
 public:
  HRESULT STDMETHODCALLTYPE PrintMe(short* iFn, _FileHeader** objFH) noexcept override;
};

}  // namespace claimfile
