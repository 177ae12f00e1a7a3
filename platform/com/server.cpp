// Class factories, module unloading and self-registration.
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>
#include <shlwapi.h>

#include <string>

#include "com/server.h"

namespace com {

namespace {

class ClassFactory : public Unknown<IClassFactory> {
 public:
  explicit ClassFactory(CreateFn create) : create_(create) {}

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) noexcept override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return create_(riid, ppv);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
    if (lock)
      ModuleAddRef();
    else
      ModuleRelease();
    return S_OK;
  }

 private:
  CreateFn create_;
};

std::wstring GuidText(const GUID& g) {
  wchar_t buf[64];
  StringFromGUID2(g, buf, 64);
  return buf;
}

LONG SetKey(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc;
}

std::wstring InterfaceKey(const IID& iid) { return L"Interface\\" + GuidText(iid); }

LONG RegisterAlias(const InterfaceAlias& alias, const GUID& libid) {
  const std::wstring key = InterfaceKey(*alias.iid);
  const std::wstring automationProxy = L"{00020424-0000-0000-C000-000000000046}";
  LONG rc = SetKey(key, nullptr, alias.name);
  if (rc == ERROR_SUCCESS) rc = SetKey(key + L"\\ProxyStubClsid", nullptr, automationProxy);
  if (rc == ERROR_SUCCESS) rc = SetKey(key + L"\\ProxyStubClsid32", nullptr, automationProxy);
  if (rc == ERROR_SUCCESS) rc = SetKey(key + L"\\TypeLib", nullptr, GuidText(libid));
  if (rc == ERROR_SUCCESS) rc = SetKey(key + L"\\TypeLib", L"Version", L"1.0");
  if (rc == ERROR_SUCCESS) rc = SetKey(key + L"\\Forward", nullptr, GuidText(*alias.current));
  return rc;
}

HRESULT Register(const ServerInfo& server) {
  const std::wstring path = ThisModulePath();
  const std::wstring lib = GuidText(*server.libid);
  for (size_t i = 0; i < server.classCount; ++i) {
    const ClassEntry& c = server.classes[i];
    const std::wstring progId = std::wstring(server.library) + L"." + c.className;
    const std::wstring clsidKey = L"CLSID\\" + GuidText(*c.clsid);
    LONG rc = SetKey(clsidKey, nullptr, progId);
    if (rc == ERROR_SUCCESS) rc = SetKey(clsidKey + L"\\InprocServer32", nullptr, path);
    if (rc == ERROR_SUCCESS) rc = SetKey(clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    if (rc == ERROR_SUCCESS) rc = SetKey(clsidKey + L"\\ProgID", nullptr, progId);
    if (rc == ERROR_SUCCESS) rc = SetKey(clsidKey + L"\\VersionIndependentProgID", nullptr, progId);
    if (rc == ERROR_SUCCESS) rc = SetKey(clsidKey + L"\\TypeLib", nullptr, lib);
    if (rc == ERROR_SUCCESS) rc = SetKey(progId, nullptr, progId);
    if (rc == ERROR_SUCCESS) rc = SetKey(progId + L"\\CLSID", nullptr, GuidText(*c.clsid));
    if (rc != ERROR_SUCCESS) return SELFREG_E_CLASS;
  }
  ITypeLib* tl = ModuleTypeLib();
  if (!tl) return SELFREG_E_TYPELIB;
  HRESULT hr = RegisterTypeLib(tl, const_cast<LPOLESTR>(path.c_str()), nullptr);
  if (FAILED(hr)) return SELFREG_E_TYPELIB;
  for (size_t i = 0; i < server.aliasCount; ++i)
    if (RegisterAlias(server.aliases[i], *server.libid) != ERROR_SUCCESS) return SELFREG_E_TYPELIB;
  return S_OK;
}

HRESULT Unregister(const ServerInfo& server) {
  for (size_t i = 0; i < server.aliasCount; ++i)
    SHDeleteKeyW(HKEY_CLASSES_ROOT, InterfaceKey(*server.aliases[i].iid).c_str());
  for (size_t i = 0; i < server.classCount; ++i) {
    const ClassEntry& c = server.classes[i];
    SHDeleteKeyW(HKEY_CLASSES_ROOT, (L"CLSID\\" + GuidText(*c.clsid)).c_str());
    SHDeleteKeyW(HKEY_CLASSES_ROOT, (std::wstring(server.library) + L"." + c.className).c_str());
  }
  if (ITypeLib* tl = ModuleTypeLib()) {
    TLIBATTR* attr = nullptr;
    if (SUCCEEDED(tl->GetLibAttr(&attr))) {
      UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
      tl->ReleaseTLibAttr(attr);
    }
  }
  return S_OK;
}

}  // namespace

HRESULT GetClassObject(const ServerInfo& server, REFCLSID clsid, REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (size_t i = 0; i < server.classCount; ++i) {
    if (*server.classes[i].clsid == clsid) {
      CreateFn create = server.classes[i].create;
      return Guard(iid, [&] { return Make<ClassFactory>(create)->QueryInterface(iid, out); });
    }
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CanUnloadNow() noexcept { return ModuleLockCount() == 0 ? S_OK : S_FALSE; }

HRESULT RegisterServer(const ServerInfo& server) noexcept {
  return Guard(IID_NULL, [&] { return Register(server); });
}

HRESULT UnregisterServer(const ServerInfo& server) noexcept {
  return Guard(IID_NULL, [&] { return Unregister(server); });
}

}  // namespace com
