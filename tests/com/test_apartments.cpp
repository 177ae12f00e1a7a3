// The served DLLs as hosts in several apartments use them: first late-bound calls made at once
// from many apartments, over load/unload cycles, and the earlier interface ids asked for through
// a marshalled pointer.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <vector>

#include "com/ptr.h"
#include "dispatch_call.h"
#include "sendarro7.h"
#include "test_thread.h"
#include "typelib_dump.h"

namespace {

// Runs f on a new thread in an apartment of its own, while this apartment answers the calls
// marshalled to it.
void InOtherApartment(const std::function<void()>& f) {
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  testutil::Thread t([&] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    f();
    CoUninitialize();
    SetEvent(done);
  });
  DWORD index = 0;
  CoWaitForMultipleHandles(0, 30000, 1, &done, &index);
  t.join();
  CloseHandle(done);
}

// References held on the type library that the file embeds, besides the caller's own: loading it
// gives the instance already loaded in this process, if any.
ULONG OtherReferencesToTypeLib(const std::wstring& path) {
  ITypeLib* lib = nullptr;
  if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &lib))) return ~0u;
  lib->AddRef();
  ULONG others = lib->Release() - 1;
  lib->Release();
  return others;
}

// Whether the DLL is out of this process once COM has freed the servers it holds that can unload
// (a case before, in the same process, may have left it in COM's cache of loaded servers).
bool UnloadedByCom(const std::wstring& path) {
  CoFreeUnusedLibrariesEx(0, 0);
  return GetModuleHandleW(path.c_str()) == nullptr;
}

}  // namespace

TEST(TypeLibrary, FirstLateBoundCallsFromManyApartmentsAtOnceOverUnloads) {
  struct Read {
    const CLSID* clsid;
    const wchar_t* property;
  } const reads[] = {{&CLSID_OutputField, L"Name"},  {&CLSID_OutputFields, L"Count"}, {&CLSID_Batchs, L"Count"},
                     {&CLSID_Claims, L"Count"},      {&CLSID_ServiceLines, L"Count"}, {&CLSID_InsurancePolicies, L"Count"}};
  constexpr int kThreads = 8;
  const std::wstring path = testutil::BesideTestProgram(L"sendarro7.dll");
  ASSERT_TRUE(UnloadedByCom(path));
  for (int cycle = 0; cycle < 4; ++cycle) {
    SCOPED_TRACE(cycle);
    HMODULE dll = LoadLibraryW(path.c_str());
    ASSERT_NE(nullptr, dll);
    auto getClass = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(GetProcAddress(dll, "DllGetClassObject"));
    auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(dll, "DllCanUnloadNow"));
    ASSERT_TRUE(getClass && canUnload);

    std::atomic<int> ready{0};
    std::vector<HRESULT> results(kThreads, E_FAIL);
    std::vector<testutil::Thread> threads;
    for (int i = 0; i < kThreads; ++i) {
      threads.emplace_back([&, i] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const Read& r = reads[i % std::size(reads)];
        com::Ptr<IClassFactory> factory;
        com::Ptr<IDispatch> obj;
        HRESULT hr = getClass(*r.clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.out()));
        if (SUCCEEDED(hr)) hr = factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(obj.out()));
        ++ready;
        while (ready < kThreads) std::this_thread::yield();
        if (SUCCEEDED(hr)) {
          com::Variant value;
          hr = testutil::Invoke(obj.get(), r.property, DISPATCH_PROPERTYGET, {}, &value);
        }
        results[i] = hr;
        obj.reset();
        factory.reset();
        CoUninitialize();
      });
    }
    for (auto& t : threads) t.join();
    for (int i = 0; i < kThreads; ++i) EXPECT_EQ(S_OK, results[i]) << "thread " << i;

    EXPECT_EQ(S_OK, canUnload());
    FreeLibrary(dll);
    ASSERT_EQ(nullptr, GetModuleHandleW(path.c_str()));
    // The unloaded module holds nothing of its type library any more.
    EXPECT_EQ(0u, OtherReferencesToTypeLib(path));
  }
}

TEST(TypeLibrary, FirstLateBoundCallsAtOnceAllGetTheSameTypeInformation) {
  constexpr int kThreads = 8;
  const std::wstring path = testutil::BesideTestProgram(L"sendarro7.dll");
  ASSERT_TRUE(UnloadedByCom(path));
  HMODULE dll = LoadLibraryW(path.c_str());
  ASSERT_NE(nullptr, dll);
  auto getClass = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(GetProcAddress(dll, "DllGetClassObject"));
  ASSERT_TRUE(getClass);

  std::atomic<int> ready{0};
  std::vector<HRESULT> results(kThreads, E_FAIL);
  std::vector<ITypeInfo*> infos(kThreads, nullptr);
  {
    std::vector<testutil::Thread> threads;
    for (int i = 0; i < kThreads; ++i) {
      threads.emplace_back([&, i] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        com::Ptr<IClassFactory> factory;
        com::Ptr<IDispatch> obj;
        HRESULT hr = getClass(CLSID_Claims, IID_IClassFactory, reinterpret_cast<void**>(factory.out()));
        if (SUCCEEDED(hr)) hr = factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(obj.out()));
        ++ready;
        while (ready < kThreads) Sleep(0);
        com::Variant count;
        if (SUCCEEDED(hr)) hr = testutil::Invoke(obj.get(), L"Count", DISPATCH_PROPERTYGET, {}, &count);
        if (SUCCEEDED(hr)) hr = obj->GetTypeInfo(0, LOCALE_USER_DEFAULT, &infos[i]);
        results[i] = hr;
        obj.reset();
        factory.reset();
        CoUninitialize();
      });
    }
  }
  for (int i = 0; i < kThreads; ++i) {
    EXPECT_EQ(S_OK, results[i]) << "thread " << i;
    EXPECT_EQ(infos[0], infos[i]) << "thread " << i;  // one object, owned by the module's cache
  }
  for (ITypeInfo* info : infos)
    if (info) info->Release();
  FreeLibrary(dll);
}

TEST(EarlierInterfaceIds, AnsweredThroughAPointerMarshalledToAnotherApartment) {
  struct Case {
    const wchar_t* progId;
    const wchar_t* earlier;
    const wchar_t* property;  // read through the earlier interface
    VARTYPE type;
  } const cases[] = {
      {L"sendarro7.Claim", L"{6ED04252-27CA-4EA7-B9C6-55A78667A8F0}", L"PatControlNo", VT_BSTR},
      {L"sendarro7.InsurancePolicy", L"{9F3B829D-D080-40C5-88BE-316D4C793799}", L"insuredID2", VT_BSTR},
      {L"gorsewick.fileLocations", L"{8230869A-26FA-4932-953B-61469581F329}", L"installedPath", VT_BSTR},
      {L"gorsewick.VistaInfo", L"{C507E7DF-DEE4-4609-8B35-E5AA58DE1973}", L"INTESTMODE", VT_BOOL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.progId, c.progId + wcslen(c.progId)));
    CLSID clsid;
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(c.progId, &clsid));
    com::Ptr<IUnknown> obj;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(obj.out())));
    IStream* stream = nullptr;
    ASSERT_HRESULT_SUCCEEDED(CoMarshalInterThreadInterfaceInStream(IID_IUnknown, obj.get(), &stream));

    HRESULT queried = E_FAIL, read = E_FAIL;
    VARTYPE type = VT_EMPTY;
    InOtherApartment([&] {
      com::Ptr<IUnknown> there;
      if (FAILED(CoGetInterfaceAndReleaseStream(stream, IID_IUnknown, reinterpret_cast<void**>(there.out())))) return;
      com::Ptr<IDispatch> earlier;  // every earlier interface is dual
      queried = there->QueryInterface(testutil::GuidFromText(c.earlier), reinterpret_cast<void**>(earlier.out()));
      if (FAILED(queried)) return;
      com::Variant value;
      read = testutil::Invoke(earlier.get(), c.property, DISPATCH_PROPERTYGET, {}, &value);
      type = value.vt;
    });
    EXPECT_EQ(S_OK, queried);
    EXPECT_EQ(S_OK, read);
    EXPECT_EQ(c.type, type);
  }
}
