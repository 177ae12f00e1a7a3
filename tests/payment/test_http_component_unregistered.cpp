// fennick98 where the HTTP component is not registered: the operation's status says so, and
// nothing is raised. The component's registration is taken away for the test and put back.
#include <windows.h>

#include <gtest/gtest.h>

#include "com/ptr.h"
#include "dispatch_call.h"
#include "typelib_dump.h"

namespace {

using Entry = HRESULT(WINAPI*)();

HRESULT CallEntry(HMODULE dll, const char* name) {
  auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
  return entry ? entry() : E_FAIL;
}

TEST(HttpComponentUnregistered, TheStatusSaysUnknownWithADescription) {
  HMODULE http = LoadLibraryW(testutil::BesideTestProgram(L"gatewayhttp.dll").c_str());
  ASSERT_NE(nullptr, http);
  CLSID clsid;
  const bool wasRegistered = SUCCEEDED(CLSIDFromProgID(L"gatewayhttp.GatewayHttpClient", &clsid));
  if (wasRegistered) {
    ASSERT_HRESULT_SUCCEEDED(CallEntry(http, "DllUnregisterServer"));
  }

  com::Ptr<IDispatch> post;
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"fennick98.PostTransaction", &clsid));
  ASSERT_HRESULT_SUCCEEDED(
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(post.out())));
  com::Variant status, message, state;
  EXPECT_EQ(0, testutil::Call(post.get(), L"VoidBankCardDebit", DISPATCH_METHOD,
                              {testutil::Str(L"M1"), testutil::Str(L"K200"), testutil::Str(L"555")}, &status));
  ASSERT_EQ(VT_DISPATCH, status.vt);
  EXPECT_EQ(0, testutil::Call(status.pdispVal, L"Message", DISPATCH_PROPERTYGET, {}, &message));
  EXPECT_EQ(0, testutil::Call(status.pdispVal, L"Status", DISPATCH_PROPERTYGET, {}, &state));
  EXPECT_EQ(L"ActiveX component can't create object", com::FromBstr(message.bstrVal));
  EXPECT_EQ(L"unknown", com::FromBstr(state.bstrVal));

  if (wasRegistered) {
    EXPECT_HRESULT_SUCCEEDED(CallEntry(http, "DllRegisterServer"));
  }
  FreeLibrary(http);
}

}  // namespace
