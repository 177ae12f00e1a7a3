// The maker's product whose files are meant: its folder name and its label.
#pragma once
#include <string>

#include "com/object.h"
#include "gorsewick.h"

namespace vista {

class MBYAppName : public com::Object<MBYAppName, _MBYAppName> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__MBYAppName; }
  static com::Ptr<MBYAppName> New();

  // The product (an AppNames value); any value is taken as it is.
  long appName = appNameNotSet;

  // The product's folder name under the maker's folder ("" for a value that names no product).
  std::wstring appDirName() const;
  // The product's name as it is shown ("" for a value that names no product).
  std::wstring appLabel() const;
};

}  // namespace vista
