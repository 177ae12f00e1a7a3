// Module state: which module this is, its live-object count and its embedded type library.
#include <windows.h>
#include <oleauto.h>

#include <map>
#include <new>

#include "com/object.h"
#include "vb/present.h"

namespace com {

namespace {
long g_moduleRefs = 0;

struct TypeLibCache {
  ITypeLib* lib = nullptr;
  bool tried = false;
  std::map<GUID, ITypeInfo*, bool (*)(const GUID&, const GUID&)> infos{
      [](const GUID& a, const GUID& b) { return memcmp(&a, &b, sizeof(GUID)) < 0; }};
};
TypeLibCache& Cache() {
  static TypeLibCache cache;  // kept for the life of the process, like the module itself
  return cache;
}
}  // namespace

BSTR ToBstr(const std::wstring& s) {
  BSTR b = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
  if (!b) throw std::bad_alloc();
  return b;
}

HMODULE ThisModule() {
  HMODULE m = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &m);
  return m;
}

std::wstring ThisModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void ModuleAddRef() { InterlockedIncrement(&g_moduleRefs); }
void ModuleRelease() { InterlockedDecrement(&g_moduleRefs); }
long ModuleLockCount() { return g_moduleRefs; }

ITypeLib* ModuleTypeLib() {
  TypeLibCache& c = Cache();
  if (!c.tried) {
    c.tried = true;
    if (FAILED(LoadTypeLibEx(ThisModulePath().c_str(), REGKIND_NONE, &c.lib))) c.lib = nullptr;
  }
  return c.lib;
}

ITypeInfo* TypeInfoOf(REFGUID guid) {
  TypeLibCache& c = Cache();
  auto it = c.infos.find(guid);
  if (it != c.infos.end()) return it->second;
  ITypeLib* lib = ModuleTypeLib();
  ITypeInfo* ti = nullptr;
  if (!lib || FAILED(lib->GetTypeInfoOfGuid(guid, &ti))) return nullptr;
  c.infos.emplace(guid, ti);
  return ti;
}

HRESULT HResultOf(long number) {
  if (number > 0 && number < 65536) return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
  return static_cast<HRESULT>(number);
}

HRESULT SetError(const vb::RuntimeError& e, REFIID iid) {
  HRESULT hr = HResultOf(e.number());
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    std::wstring source = e.source();
    if (source.empty() && e.number() > 0 && e.number() < 65536) source = vb::AppTitle();
    create->SetGUID(iid);
    create->SetSource(const_cast<LPOLESTR>(source.c_str()));
    create->SetDescription(const_cast<LPOLESTR>(e.description().c_str()));
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
      SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  }
  return hr;
}

}  // namespace com
