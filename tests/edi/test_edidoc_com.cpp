// edidoc.dll as its callers see it: its type library against the ids they use, and late-bound
// calls by dispatch id in the forms a Visual Basic caller sends.
#include <windows.h>
#include <oleauto.h>

#include <vector>

#include <gtest/gtest.h>

#include "com/ptr.h"
#include "dispatch_call.h"
#include "edidoc.h"
#include "test_util.h"
#include "typelib_dump.h"

using testutil::DescribeInterface;
using testutil::GuidText;

namespace {

class EdidocTypeLibrary : public testutil::TypeLibraryTest {
 protected:
  EdidocTypeLibrary() : TypeLibraryTest(L"edidoc.dll") {}
};

GUID Guid(const wchar_t* text) { return testutil::GuidFromText(text); }

// Calls by dispatch id, as the writer makes them; the result is the HRESULT (the exception's
// scode when there is one).
using testutil::CallId;
using testutil::I2;
using testutil::Ref;
using testutil::Str;
VARIANT (&I4)(long) = testutil::Long;

// The object a call returns.
com::Ptr<IDispatch> Object(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args) {
  com::Variant r;
  EXPECT_HRESULT_SUCCEEDED(CallId(d, id, flags, std::move(args), &r));
  EXPECT_EQ(VT_DISPATCH, r.vt);
  return r.vt == VT_DISPATCH ? com::Ptr<IDispatch>(r.pdispVal) : nullptr;
}

std::wstring Text(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args) {
  com::Variant r;
  EXPECT_HRESULT_SUCCEEDED(CallId(d, id, flags, std::move(args), &r));
  return r.vt == VT_BSTR ? com::FromBstr(r.bstrVal) : L"<not text>";
}

const WORD kGet = DISPATCH_PROPERTYGET, kMethod = DISPATCH_METHOD, kPut = DISPATCH_PROPERTYPUT;

}  // namespace

TEST_F(EdidocTypeLibrary, IdsAgainstTheCallers) {
  TLIBATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(lib->GetLibAttr(&attr));
  EXPECT_EQ("{8C909E12-AC37-4771-9E15-C7D45C36F21B}", GuidText(attr->guid));
  EXPECT_EQ(1, attr->wMajorVerNum);
  EXPECT_EQ(0, attr->wMinorVerNum);
  lib->ReleaseTLibAttr(attr);
  const GUID clsid = Guid(L"{10038AC2-5972-4783-8124-8A658BFAFA0F}");
  EXPECT_EQ("{FA44CD58-84BF-4E6A-9B17-5D66418C7706}", GuidText(testutil::DefaultInterfaceOf(lib, clsid)));
  struct Case { const wchar_t* iid; std::vector<std::string> members; } cases[] = {
      {L"{FA44CD58-84BF-4E6A-9B17-5D66418C7706}",
       {"0x00000001 func CreateInterchange(BSTR, BSTR) : IEdiInterchange*", "0x00000003 func LoadGuide(BSTR, opt long) : IEdiGuide*",
        "0x0000000A func Save(BSTR) : void", "0x0000000D get SegmentTerminator() : BSTR", "0x0000000D let SegmentTerminator(BSTR) : void",
        "0x0000000E get ElementSeparator() : BSTR", "0x0000000E let ElementSeparator(BSTR) : void",
        "0x0000000F get CompositeSeparator() : BSTR", "0x0000000F let CompositeSeparator(BSTR) : void",
        "0x0000001D get Option29() : long", "0x0000001D let Option29(long) : void"}},
      {L"{A3BDF966-100C-4AF6-9EA8-5EA8D4D2924B}",
       {"0x00000001 get Path() : BSTR", "0x00000002 get TransactionSetId() : BSTR"}},
      {L"{E9D13417-E4B1-4693-83A9-7F815E1C8DC8}",
       {"0x00000002 func CreateGroup(BSTR) : IEdiGroup*", "0x0000000E func Header() : IEdiSegment*"}},
      {L"{E24B6CBE-45E3-4176-BE9F-FF4F5F17CCFF}",
       {"0x00000002 func CreateTransactionSet(BSTR) : IEdiTransactionSet*", "0x0000000B func Header() : IEdiSegment*"}},
      {L"{1C2E3803-53FF-467A-A1D4-DAE7E97B96BA}",
       {"0x00000002 func SegmentByPath(BSTR) : IEdiSegment*", "0x0000000A func Header() : IEdiSegment*"}},
      {L"{A0BF03A7-2768-4C30-8F0F-64EA3E1624F9}",
       {"0x00000001 get SegmentId() : BSTR", "0x00000022 get ElementValue(long, opt VARIANT) : BSTR",
        "0x00000022 let ElementValue(long, opt VARIANT, BSTR) : void"}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.members, DescribeInterface(lib, Guid(c.iid))) << GuidText(Guid(c.iid));
}

TEST(EdidocLateBound, AVisualBasicCallersForms) {
  com::Ptr<IDispatch> doc;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_Document, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                            reinterpret_cast<void**>(doc.out())));
  const std::wstring sef = testutil::BesideTestProgram(L"837_4010.SEF");
  EXPECT_HRESULT_SUCCEEDED(CallId(doc.get(), 29, kPut, {I4(2)}));
  EXPECT_EQ(L"2", [&] { com::Variant r; CallId(doc.get(), 29, kGet, {}, &r); VariantChangeType(&r, &r, 0, VT_BSTR); return com::FromBstr(r.bstrVal); }());
  Object(doc.get(), 3, kMethod | kGet, {Str(sef.c_str()), I2(0)});
  Object(doc.get(), 3, kMethod, {Str(sef.c_str()), I4(0)});
  EXPECT_HRESULT_SUCCEEDED(CallId(doc.get(), 13, kPut, {Str(L"~")}));
  EXPECT_HRESULT_SUCCEEDED(CallId(doc.get(), 14, kPut, {Str(L"*")}));
  EXPECT_HRESULT_SUCCEEDED(CallId(doc.get(), 15, kPut, {Str(L":")}));
  auto ic = Object(doc.get(), 1, kGet, {Str(L"X"), Str(L"004010A1")});
  auto group = Object(ic.get(), 2, kMethod, {Str(L"004010X098A1")});
  auto set = Object(group.get(), 2, kGet, {Str(L"837")});
  auto st = Object(set.get(), 10, kMethod | kGet, {});
  EXPECT_EQ(L"837", Text(st.get(), 34, kMethod, {I2(1)}));
  auto hi = Object(set.get(), 2, kMethod, {Str(L"HL\\CLM\\HI")});

  // Element and component as 16- or 32-bit numbers, by value or in by-reference variants.
  VARIANT element = I2(1), component = I4(2);
  EXPECT_HRESULT_SUCCEEDED(CallId(hi.get(), 34, kPut, {Ref(&element), Ref(&component), Str(L"7840")}));
  EXPECT_HRESULT_SUCCEEDED(CallId(hi.get(), 34, kPut, {I4(1), Str(L"BK")}));
  EXPECT_EQ(L"7840", Text(hi.get(), 34, kGet, {I4(1), I2(2)}));
  EXPECT_EQ(L"BK", Text(hi.get(), 34, kMethod, {Ref(&element)}));
  EXPECT_EQ(L"BK", Text(hi.get(), 34, kMethod | kGet, {I2(1), I4(1)}));

  EXPECT_EQ(static_cast<HRESULT>(0x800A0000 + 12378), CallId(hi.get(), 34, kPut, {I4(2), I4(2), Str(L"40:11")}));
  EXPECT_EQ(static_cast<HRESULT>(0x800A0000 + 12301), CallId(set.get(), 2, kMethod, {Str(L"HL\\CLM\\XX")}));
  EXPECT_EQ(E_NOINTERFACE, [&] { IUnknown* p = nullptr; HRESULT hr = doc->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&p)); return hr; }());
  com::Ptr<IDispatch> typed;
  EXPECT_HRESULT_SUCCEEDED(doc->QueryInterface(IID_IEdiDocument, reinterpret_cast<void**>(typed.out())));
}
