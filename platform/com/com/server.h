// Class factories, DllGetClassObject, DllCanUnloadNow and self-registration for one module.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include "com/object.h"

namespace com {

using CreateFn = HRESULT (*)(REFIID iid, void** out) noexcept;

struct ClassEntry {
  const CLSID* clsid;
  const wchar_t* className;  // ProgID is "<library>.<className>"
  CreateFn create;
};

// Creates a T and answers iid; a failure in T's constructor fails the creation.
template <class T>
HRESULT CreateInstance(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  return Guard(iid, [&] { return Make<T>()->QueryInterface(iid, out); });
}

// An earlier interface id that the type library carries only as an alias of a current
// interface: registering the library does not register it, so the server registers it as an
// Automation interface forwarded to the current one.
struct InterfaceAlias {
  const IID* iid;
  const wchar_t* name;
  const IID* current;
};

struct ServerInfo {
  const wchar_t* library;  // the type library's name, first part of every ProgID
  const GUID* libid;
  const ClassEntry* classes;
  size_t classCount;
  const InterfaceAlias* aliases = nullptr;
  size_t aliasCount = 0;
};

HRESULT GetClassObject(const ServerInfo& server, REFCLSID clsid, REFIID iid, void** out) noexcept;
HRESULT CanUnloadNow() noexcept;
// Writes, under HKEY_CLASSES_ROOT, for every class: CLSID\{id} (name), InprocServer32 (this
// module's path, ThreadingModel Apartment), ProgID, VersionIndependentProgID, TypeLib; and
// <library>.<class>\CLSID. Then registers the embedded type library and the interface aliases.
HRESULT RegisterServer(const ServerInfo& server) noexcept;
HRESULT UnregisterServer(const ServerInfo& server) noexcept;

}  // namespace com

// Defines a module's four exported entry points over its ServerInfo, and its DllMain: when the
// DLL is freed (not when the process ends, where other DLLs may be gone already) it releases the
// type library it took.
#define COM_SERVER_ENTRY_POINTS(server)                                                      \
  extern "C" {                                                                               \
  HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {                 \
    return ::com::GetClassObject(server, clsid, iid, out);                                   \
  }                                                                                          \
  HRESULT WINAPI DllCanUnloadNow() { return ::com::CanUnloadNow(); }                         \
  HRESULT WINAPI DllRegisterServer() { return ::com::RegisterServer(server); }               \
  HRESULT WINAPI DllUnregisterServer() { return ::com::UnregisterServer(server); }           \
  BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {                            \
    if (reason == DLL_PROCESS_DETACH && !reserved) ::com::ReleaseModuleTypeLib();            \
    return TRUE;                                                                             \
  }                                                                                          \
  }
