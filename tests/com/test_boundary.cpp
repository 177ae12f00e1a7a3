// The kit's COM boundary in-process: what an exception becomes there, also when no memory is
// left to describe it, and which C++ object an interface pointer stands for.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "com/client.h"
#include "com/server.h"
#include "dispatch_call.h"
#include "model/general_collection.h"
#include "sendarro7.h"

namespace {

// While set, every allocation through operator new fails.
std::atomic<bool> g_refuseMemory{false};

}  // namespace

// The replacement pair frees what it allocated itself.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
  if (g_refuseMemory.load()) throw std::bad_alloc();
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

// {3C1D4E0A-6F7B-4A52-9C1E-2B8D5F6A7E90}, {3C1D4E0A-6F7B-4A52-9C1E-2B8D5F6A7E91}
const CLSID kAppleId = {0x3C1D4E0A, 0x6F7B, 0x4A52, {0x9C, 0x1E, 0x2B, 0x8D, 0x5F, 0x6A, 0x7E, 0x90}};
const CLSID kPearId = {0x3C1D4E0A, 0x6F7B, 0x4A52, {0x9C, 0x1E, 0x2B, 0x8D, 0x5F, 0x6A, 0x7E, 0x91}};

template <const CLSID& Id>
class Fruit : public com::Object<Fruit<Id>, IDispatch> {
 public:
  static bool AnswersInterface(REFIID) { return false; }
};
using Apple = Fruit<kAppleId>;
using Pear = Fruit<kPearId>;

class Spoiled : public Apple {
 public:
  Spoiled() { throw std::runtime_error("spoiled"); }
};

const com::ClassEntry kFruitClasses[] = {{&kAppleId, L"Apple", &com::CreateInstance<Apple>}};
const com::ServerInfo kFruitServer{L"kittest", &kAppleId, kFruitClasses, 1};

// The description of the error information pending on this thread ("<none>" when there is none).
std::wstring PendingDescription() {
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) != S_OK || !info) return L"<none>";
  BSTR d = nullptr;
  info->GetDescription(&d);
  info->Release();
  std::wstring out = com::FromBstr(d);
  SysFreeString(d);
  return out;
}

// Leaves an error of an earlier call pending, which a later failure must not leave behind.
void LeaveStaleError() { com::SetError(vb::RuntimeError(vb::errSubscript), IID_IDispatch); }

}  // namespace

TEST(Boundary, EveryExceptionBecomesAnHResultWithItsDescription) {
  struct Case {
    const char* what;
    std::function<HRESULT()> entry;  // run with the boundary's own allocations refused when refuse
    bool refuse;
    HRESULT hr;
    const wchar_t* description;
  };
  void* out = nullptr;
  const Case cases[] = {
      {"nothing thrown", [] { return com::Guard(IID_IDispatch, [] {}); }, false, S_OK, L"<none>"},
      {"run-time error", [] { return com::Guard(IID_IDispatch, [] { vb::Raise(vb::errDuplicateKey); }); }, false,
       static_cast<HRESULT>(0x800A01C9), L"This key is already associated with an element of this collection"},
      {"other exception", [] { return com::Guard(IID_IDispatch, [] { throw std::length_error("x"); }); }, false,
       static_cast<HRESULT>(0x800A0033), L"Internal error"},
      {"constructor throws", [&] { return com::CreateInstance<Spoiled>(IID_IUnknown, &out); }, false,
       static_cast<HRESULT>(0x800A0033), L"Internal error"},
      {"out of memory", [] { return com::Guard(IID_IDispatch, [] { g_refuseMemory = true; throw std::bad_alloc(); }); },
       false, E_OUTOFMEMORY, L"<none>"},
      {"creation", [&] { return com::CreateInstance<Apple>(IID_IUnknown, &out); }, true, E_OUTOFMEMORY, L"<none>"},
      {"class object", [&] { return com::GetClassObject(kFruitServer, kAppleId, IID_IClassFactory, &out); }, true,
       E_OUTOFMEMORY, L"<none>"},
      {"registration", [] { return com::RegisterServer(kFruitServer); }, true, E_OUTOFMEMORY, L"<none>"},
      {"unregistration", [] { return com::UnregisterServer(kFruitServer); }, true, E_OUTOFMEMORY, L"<none>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LeaveStaleError();
    HRESULT hr = E_FAIL;
    bool escaped = false;
    g_refuseMemory = c.refuse;
    try {
      hr = c.entry();
    } catch (...) {
      escaped = true;
    }
    g_refuseMemory = false;
    EXPECT_FALSE(escaped);
    EXPECT_EQ(c.hr, hr);
    EXPECT_EQ(nullptr, out);
    if (hr != S_OK) {
      EXPECT_EQ(c.description, PendingDescription());
    }
  }
}

TEST(Objects, AClassIdIsNoInterfaceIdAndImplOfTakesOnlyItsOwnClass) {
  auto apple = com::Make<Apple>();
  auto pear = com::Make<Pear>();
  IUnknown* appleItf = static_cast<IDispatch*>(apple.get());
  com::Ptr<IUnknown> got;
  EXPECT_EQ(E_NOINTERFACE, appleItf->QueryInterface(kAppleId, reinterpret_cast<void**>(got.out())));
  EXPECT_EQ(apple.get(), com::ImplOf<Apple>(appleItf).get());
  EXPECT_FALSE(com::ImplOf<Pear>(appleItf));
  EXPECT_FALSE(com::ImplOf<claimfile::GeneralCollection>(appleItf));
  EXPECT_EQ(pear.get(), com::ImplOf<Pear>(static_cast<IDispatch*>(pear.get())).get());

  // A collection made by sendarro7.dll is that module's object, not one of this program's
  // (which links the same class): it is read late-bound.
  com::Ptr<IDispatch> claim;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_Claim, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                            reinterpret_cast<void**>(claim.out())));
  com::Variant ids;
  ASSERT_HRESULT_SUCCEEDED(testutil::Invoke(claim.get(), L"prov837SecIDCol", DISPATCH_PROPERTYGET, {}, &ids));
  ASSERT_EQ(VT_DISPATCH, ids.vt);
  EXPECT_FALSE(com::ImplOf<claimfile::GeneralCollection>(ids.pdispVal));
  ASSERT_HRESULT_SUCCEEDED(testutil::Invoke(ids.pdispVal, L"Add", DISPATCH_METHOD, {testutil::Str(L"1G|A1")}, nullptr));
  EXPECT_EQ(1, claimfile::CollectionCount(ids.pdispVal));
  EXPECT_EQ(L"1G|A1", claimfile::CollectionItemText(ids.pdispVal, 1));
}

TEST(Client, AFailedCallBecomesTheErrorAHostWouldSee) {
  auto errorOf = [](const std::function<void()>& call) {
    try {
      call();
    } catch (const vb::RuntimeError& e) {
      return std::make_pair(e.number(), e.description());
    }
    return std::make_pair(0L, std::wstring());
  };
  // A class nobody registered: 429, as a host's CreateObject gives it.
  const CLSID nowhere = {0x5D0C7E11, 0x3A5B, 0x4E0F, {0x9C, 0x21, 0x6B, 0x11, 0x2E, 0x8A, 0x40, 0x77}};
  EXPECT_EQ(std::make_pair(429L, std::wstring(L"ActiveX component can't create object")),
            errorOf([&] { com::CreateByClassId<IDispatch>(nowhere); }));
  // A Visual Basic error number with the description of the error information; without error
  // information, the standard description; another HRESULT as it stands.
  ICreateErrorInfo* create = nullptr;
  ASSERT_HRESULT_SUCCEEDED(CreateErrorInfo(&create));
  create->SetDescription(const_cast<LPOLESTR>(L"Not a number here"));
  IErrorInfo* info = nullptr;
  create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
  SetErrorInfo(0, info);
  info->Release();
  create->Release();
  const HRESULT typeMismatch = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 13);
  EXPECT_EQ(std::make_pair(13L, std::wstring(L"Not a number here")), errorOf([&] { com::Check(typeMismatch); }));
  EXPECT_EQ(std::make_pair(13L, std::wstring(L"Type mismatch")), errorOf([&] { com::Check(typeMismatch); }));
  EXPECT_EQ(static_cast<long>(E_ACCESSDENIED), errorOf([] { com::Check(E_ACCESSDENIED); }).first);
  EXPECT_EQ(0L, errorOf([] { com::Check(S_FALSE); }).first);
  // A late-bound call that the server refuses: the errors a host's own call would raise.
  const struct {
    HRESULT hr;
    long number;
    const wchar_t* description;
  } refused[] = {
      {DISP_E_MEMBERNOTFOUND, 438, L"Object doesn't support this property or method"},
      {DISP_E_TYPEMISMATCH, 13, L"Type mismatch"},
      {DISP_E_BADPARAMCOUNT, 450, L"Wrong number of arguments or invalid property assignment"},
  };
  for (const auto& r : refused)
    EXPECT_EQ(std::make_pair(r.number, std::wstring(r.description)), errorOf([&] { com::CheckInvoke(r.hr); }));
}
