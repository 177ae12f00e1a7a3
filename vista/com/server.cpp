// The in-process server: its class table and the four exported entry points.
#include <windows.h>

#include "com/server.h"
#include "common/file_locations.h"
#include "common/mby_app_name.h"
#include "common/vista_info.h"
#include "gorsewick.h"

namespace {

const com::ClassEntry kClasses[] = {
    {&CLSID_MBYAppName, L"MBYAppName", &com::CreateInstance<vista::MBYAppName>},
    {&CLSID_fileLocations, L"fileLocations", &com::CreateInstance<vista::fileLocations>},
    {&CLSID_VistaInfo, L"VistaInfo", &com::CreateInstance<vista::VistaInfo>},
};

const com::ServerInfo kServer{L"gorsewick", &LIBID_gorsewick, kClasses, sizeof kClasses / sizeof kClasses[0]};

}  // namespace

extern "C" {
HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return com::GetClassObject(kServer, clsid, iid, out);
}
HRESULT WINAPI DllCanUnloadNow() { return com::CanUnloadNow(); }
HRESULT WINAPI DllRegisterServer() { return com::RegisterServer(kServer); }
HRESULT WINAPI DllUnregisterServer() { return com::UnregisterServer(kServer); }
}
