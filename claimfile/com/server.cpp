// The in-process server: its class table and the four exported entry points.
#include <windows.h>

#include "com/server.h"
#include "model/output_field.h"
#include "model/output_fields.h"
#include "sendarro7.h"

namespace {

const com::ClassEntry kClasses[] = {
    {&CLSID_OutputField, L"OutputField", &com::CreateInstance<claimfile::OutputField>},
    {&CLSID_OutputFields, L"OutputFields", &com::CreateInstance<claimfile::OutputFields>},
};

const com::ServerInfo kServer{L"sendarro7", &LIBID_sendarro7, kClasses, sizeof kClasses / sizeof kClasses[0]};

}  // namespace

extern "C" {
HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return com::GetClassObject(kServer, clsid, iid, out);
}
HRESULT WINAPI DllCanUnloadNow() { return com::CanUnloadNow(); }
HRESULT WINAPI DllRegisterServer() { return com::RegisterServer(kServer); }
HRESULT WINAPI DllUnregisterServer() { return com::UnregisterServer(kServer); }
}
