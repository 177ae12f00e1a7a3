#include "model/output_field.h"

#include <limits>

#include "vb/convert.h"
#include "vb/present.h"

namespace claimfile {

bool OutputField::Valid() {
  if (ToCol < FromCol) {
    vb::MsgBox(L"Invalid From/To Col");
    return false;
  }
  if (!Value.empty()) {
    if (DataType == OutputFieldTypeNumeric && !vb::IsNumeric(Value)) {
      vb::MsgBox(L"Invalid number");
      return false;
    }
    if (DataType == OutputFieldTypeDate && !vb::IsDate(Value)) {
      vb::MsgBox(L"Invalid date");
      return false;
    }
  }
  return true;
}

long OutputField::FieldLength(long fromCol, long toCol) {
  long long n = static_cast<long long>(toCol) - fromCol + 1;
  if (n > std::numeric_limits<long>::max() || n < std::numeric_limits<long>::min())
    vb::Raise(vb::errOverflow);
  return static_cast<long>(n);
}

bool OutputField::DataWillFit() const {
  return static_cast<long long>(Value.size()) <= FieldLength();
}

}  // namespace claimfile
