// Module state: its live-object count, its embedded type library and the kit's error translation.
#include <windows.h>
#include <oleauto.h>

#include <cstring>
#include <map>
#include <new>

#include "com/object.h"
#include "vb/lock.h"
#include "vb/present.h"

namespace com {

// {75AEF4BB-5D14-4F8C-9033-6292CD9F005D}
const IID IID_Implementation = {0x75AEF4BB, 0x5D14, 0x4F8C, {0x90, 0x33, 0x62, 0x92, 0xCD, 0x9F, 0x00, 0x5D}};

namespace {

LONG g_moduleRefs = 0;

bool GuidLess(const GUID& a, const GUID& b) noexcept { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }

// The type library and the type information taken from it, shared by every apartment of the
// process: the library published once (the first to load it swaps it in, a thread that loaded it
// meanwhile releases its own), the information looked up under a lock, both released when the
// module unloads.
struct TypeLibCache {
  ITypeLib* volatile lib = nullptr;
  vb::Lock lock;
  std::map<GUID, ITypeInfo*, bool (*)(const GUID&, const GUID&) noexcept> infos{GuidLess};
};
TypeLibCache g_cache;

ITypeLib* PublishedTypeLib() noexcept {
  return static_cast<ITypeLib*>(
      InterlockedCompareExchangePointer(reinterpret_cast<PVOID volatile*>(&g_cache.lib), nullptr, nullptr));
}

}  // namespace

const void* ModuleMark() noexcept { return &g_moduleRefs; }

void ModuleAddRef() noexcept { InterlockedIncrement(&g_moduleRefs); }
void ModuleRelease() noexcept { InterlockedDecrement(&g_moduleRefs); }
long ModuleLockCount() noexcept { return InterlockedCompareExchange(&g_moduleRefs, 0, 0); }

ITypeLib* ModuleTypeLib() noexcept {
  if (ITypeLib* lib = PublishedTypeLib()) return lib;
  ITypeLib* loaded = nullptr;
  try {
    if (FAILED(LoadTypeLibEx(ThisModulePath().c_str(), REGKIND_NONE, &loaded))) return nullptr;
  } catch (const std::bad_alloc&) {
    return nullptr;  // nothing published: a later call tries again
  }
  auto* first = static_cast<ITypeLib*>(
      InterlockedCompareExchangePointer(reinterpret_cast<PVOID volatile*>(&g_cache.lib), loaded, nullptr));
  if (!first) return loaded;
  loaded->Release();  // another thread was first
  return first;
}

HRESULT TypeInfoOf(REFGUID guid, ITypeInfo** out) noexcept {
  *out = nullptr;
  ITypeLib* lib = ModuleTypeLib();
  if (!lib) return TYPE_E_CANTLOADLIBRARY;
  {
    vb::Locked held(g_cache.lock);
    auto it = g_cache.infos.find(guid);
    if (it != g_cache.infos.end()) *out = it->second;
  }
  if (*out) return S_OK;

  ITypeInfo* ti = nullptr;
  HRESULT hr = lib->GetTypeInfoOfGuid(guid, &ti);
  if (FAILED(hr)) return hr;
  vb::Locked held(g_cache.lock);
  try {
    auto [at, added] = g_cache.infos.emplace(guid, ti);
    if (!added) ti->Release();  // another apartment was first
    *out = at->second;
  } catch (const std::bad_alloc&) {
    ti->Release();
    hr = E_OUTOFMEMORY;
  }
  return hr;
}

void ReleaseModuleTypeLib() noexcept {
  vb::Locked held(g_cache.lock);
  for (auto& entry : g_cache.infos) entry.second->Release();
  g_cache.infos.clear();
  auto* lib = static_cast<ITypeLib*>(
      InterlockedExchangePointer(reinterpret_cast<PVOID volatile*>(&g_cache.lib), nullptr));
  if (lib) lib->Release();
}

HRESULT HResultOf(long number) noexcept {
  if (number > 0 && number < 65536) return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
  return static_cast<HRESULT>(number);
}

HRESULT SetError(const vb::RuntimeError& e, REFIID iid) noexcept {
  const HRESULT hr = HResultOf(e.number());
  const wchar_t* source = e.source().c_str();
  if (!*source && e.number() > 0 && e.number() < 65536) {
    try {
      source = vb::AppTitle().c_str();
    } catch (const std::bad_alloc&) {
      // no source then
    }
  }
  IErrorInfo* info = nullptr;
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    create->SetGUID(iid);
    create->SetSource(const_cast<LPOLESTR>(source));
    create->SetDescription(const_cast<LPOLESTR>(e.description().c_str()));
    create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
    create->Release();
  }
  SetErrorInfo(0, info);  // none: at least no stale error of an earlier call stays pending
  if (info) info->Release();
  return hr;
}

HRESULT CurrentExceptionResult(REFIID iid) noexcept {
  try {
    throw;
  } catch (const vb::RuntimeError& e) {
    return SetError(e, iid);
  } catch (const std::bad_alloc&) {
    SetErrorInfo(0, nullptr);
    return E_OUTOFMEMORY;
  } catch (...) {
    try {
      return SetError(vb::RuntimeError(vb::errInternal), iid);
    } catch (const std::bad_alloc&) {
      SetErrorInfo(0, nullptr);
      return E_OUTOFMEMORY;
    }
  }
}

}  // namespace com
