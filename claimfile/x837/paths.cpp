#include <windows.h>
#include <oaidl.h>

#include "com/client.h"
#include "com/ptr.h"
#include "gorsewick.h"
#include "vb/automation.h"
#include "vb/module.h"
#include "x837/edi837.h"
#include "x837/version_services.h"

namespace claimfile::Edi837 {

ModuleState& State() {
  // A pointer, so nothing has to be destroyed at thread exit (the library may be unloaded
  // before the host's threads end); a thread's state is a few strings and lives with the process.
  thread_local ModuleState* state = nullptr;
  if (!state) state = new ModuleState();
  return *state;
}

std::wstring FolderOf(const std::wstring& filePath) {
  const size_t slash = filePath.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return L"";
  std::wstring folder = filePath.substr(0, slash);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // a drive root keeps its "\"
  return folder;
}

std::wstring InFolder(const std::wstring& folder, const std::wstring& name) {
  if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) return folder + name;
  return folder + L"\\" + name;
}

void CheckCall(HRESULT hr) { com::Check(hr); }

namespace {

template <class Itf>
com::Ptr<Itf> Create(REFCLSID clsid) {
  com::Ptr<Itf> p;
  com::CheckCreation(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(Itf),
                                      reinterpret_cast<void**>(p.out())));
  return p;
}

std::wstring Text(HRESULT hr, vb::Bstr& b) {
  CheckCall(hr);
  return b.str();
}

}  // namespace

bool IsOSVersionVista() {
  auto info = Create<_VistaInfo>(CLSID_VistaInfo);
  VARIANT_BOOL vista = VARIANT_FALSE;
  CheckCall(info->IsOSVersionVista(&vista));
  return vista != VARIANT_FALSE;
}

void InjectFolders(std::optional<Folders> folders) { State().injectedFolders = std::move(folders); }

void InitPaths() {
  ModuleState& s = State();
  if (s.injectedFolders) {
    static_cast<Folders&>(s) = *s.injectedFolders;
    return;
  }
  const std::wstring library = FolderOf(vb::ThisModulePath());
  Folders f{library, library, library, library, library};
  if (IsOSVersionVista()) {
    auto locations = Create<_fileLocations>(CLSID_fileLocations);
    com::Ptr<_MBYAppName> product;
    CheckCall(locations->get_appName(product.out()));
    if (!product) vb::Raise(vb::errObjectNotSet);
    AppNames tm = TM;
    CheckCall(product->put_appName(&tm));
    vb::Bstr data, hidden, docs, temp;
    f.DataFolder = Text(locations->publicDataPath(nullptr, &data.b), data);
    f.SettingsFolder = Text(locations->hiddenDataPath(nullptr, &hidden.b), hidden);
    f.UserDocFolder = Text(locations->userDocPath(&docs.b), docs);
    f.UserTempFolder = Text(locations->userTempPath(&temp.b), temp);
  }
  static_cast<Folders&>(s) = f;
}

}  // namespace claimfile::Edi837
