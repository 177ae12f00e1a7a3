// Where a product of the maker keeps its files on this machine: its program, public-data and
// hidden-data folders, and the user's documents, temporary and virtual-store folders.
#pragma once
#include <string>

#include "com/object.h"
#include "common/mby_app_name.h"
#include "gorsewick.h"

namespace vista {

// The interface id that hosts built against the first version of the class ask for.
extern const IID IID__fileLocations___v0;

class fileLocations : public com::Object<fileLocations, _fileLocations> {
 public:
  static bool AnswersInterface(REFIID iid) {
    return iid == IID__fileLocations || iid == IID__fileLocations___v0;
  }
  static com::Ptr<fileLocations> New();

  // The product whose folders are meant when a call names none; Nothing makes those calls
  // raise 91.
  com::Ptr<MBYAppName> appName = MBYAppName::New();
  // Kept for the host; nothing here reads it.
  std::wstring installedPath;

  // <folder>\Marlowby\<appDirName> under the program files, common documents and common
  // application data folders, for newAppName's product, or appName's when it is null.
  std::wstring preferredAppPath(const MBYAppName* newAppName = nullptr) const;
  std::wstring publicDataPath(const MBYAppName* newAppName = nullptr) const;
  std::wstring hiddenDataPath(const MBYAppName* newAppName = nullptr) const;
  // Whether a directory search for the matching path finds anything.
  bool preferredAppPathExists(const MBYAppName* newAppName = nullptr) const;
  bool publicDataPathExists(const MBYAppName* newAppName = nullptr) const;
  bool hiddenDataPathExists(const MBYAppName* newAppName = nullptr) const;

  // The user's temporary folder without its closing "\"; 5 when Windows gives none.
  std::wstring userTempPath() const;
  // The user's documents folder.
  std::wstring userDocPath() const;
  // The user's local application data folder & "\VirtualStore".
  std::wstring userVirtualDataPath() const;
  // The copy of a file that file virtualisation keeps in the user's virtual store (the path in
  // upper case with "C:" replaced by the virtual store) when it exists, else the file itself
  // when it exists, else "".
  std::wstring getVirtualPath(const std::wstring& pathAndFile) const;

 private:
  // <special folder>\Marlowby\<the product's folder name>.
  std::wstring ProductFolder(long folderId, const MBYAppName* newAppName) const;
};

}  // namespace vista
