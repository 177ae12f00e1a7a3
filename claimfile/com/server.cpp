// The in-process server: its class table and the four exported entry points.
#include <windows.h>
#include <olectl.h>

#include <string>

#include "com/server.h"
#include "model/batch.h"
#include "model/batchs.h"
#include "model/claim.h"
#include "model/claims.h"
#include "model/file_header.h"
#include "model/insurance_policies.h"
#include "model/insurance_policy.h"
#include "model/output_field.h"
#include "model/output_fields.h"
#include "model/service_line.h"
#include "model/service_lines.h"
#include "sendarro7.h"

namespace {

const com::ClassEntry kClasses[] = {
    {&CLSID_OutputField, L"OutputField", &com::CreateInstance<claimfile::OutputField>},
    {&CLSID_OutputFields, L"OutputFields", &com::CreateInstance<claimfile::OutputFields>},
    {&CLSID_FileHeader, L"FileHeader", &com::CreateInstance<claimfile::FileHeader>},
    {&CLSID_Batch, L"Batch", &com::CreateInstance<claimfile::Batch>},
    {&CLSID_Claim, L"Claim", &com::CreateInstance<claimfile::Claim>},
    {&CLSID_ServiceLine, L"ServiceLine", &com::CreateInstance<claimfile::ServiceLine>},
    {&CLSID_InsurancePolicy, L"InsurancePolicy", &com::CreateInstance<claimfile::InsurancePolicy>},
    {&CLSID_Batchs, L"Batchs", &com::CreateInstance<claimfile::Batchs>},
    {&CLSID_Claims, L"Claims", &com::CreateInstance<claimfile::Claims>},
    {&CLSID_ServiceLines, L"ServiceLines", &com::CreateInstance<claimfile::ServiceLines>},
    {&CLSID_InsurancePolicies, L"InsurancePolicies", &com::CreateInstance<claimfile::InsurancePolicies>},
};

const com::ServerInfo kServer{L"sendarro7", &LIBID_sendarro7, kClasses, sizeof kClasses / sizeof kClasses[0]};

std::wstring GuidText(const GUID& g) {
  wchar_t buf[64];
  StringFromGUID2(g, buf, 64);
  return buf;
}

bool SetKey(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  LONG rc = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

// The earlier interface id of Claim is an alias in the type library, which registering the
// library does not register; it is registered as an Automation interface forwarded to _Claim.
// (InsurancePolicy's earlier interface is a whole interface of the library and is registered
// with it.)
std::wstring ClaimV0Key() { return L"Interface\\" + GuidText(claimfile::IID_Claim___v0); }

bool RegisterEarlierInterfaces() {
  const std::wstring key = ClaimV0Key();
  const std::wstring automationProxy = L"{00020424-0000-0000-C000-000000000046}";
  return SetKey(key, nullptr, L"Claim___v0") &&
         SetKey(key + L"\\ProxyStubClsid", nullptr, automationProxy) &&
         SetKey(key + L"\\ProxyStubClsid32", nullptr, automationProxy) &&
         SetKey(key + L"\\TypeLib", nullptr, GuidText(LIBID_sendarro7)) &&
         SetKey(key + L"\\TypeLib", L"Version", L"1.0") &&
         SetKey(key + L"\\Forward", nullptr, GuidText(IID__Claim));
}

}  // namespace

extern "C" {
HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  return com::GetClassObject(kServer, clsid, iid, out);
}
HRESULT WINAPI DllCanUnloadNow() { return com::CanUnloadNow(); }
HRESULT WINAPI DllRegisterServer() {
  HRESULT hr = com::RegisterServer(kServer);
  if (FAILED(hr)) return hr;
  return RegisterEarlierInterfaces() ? S_OK : SELFREG_E_CLASS;
}
HRESULT WINAPI DllUnregisterServer() {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, ClaimV0Key().c_str());
  return com::UnregisterServer(kServer);
}
}
