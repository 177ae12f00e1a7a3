// The claim export and the NSF writer as hosts see them in the registered sendarro7.dll: the
// type library's class ids, interface ids, member order and dispatch ids, the ProgIDs, and the
// file headers of an EDIFile through late-bound calls.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "com/ptr.h"
#include "dispatch_call.h"
#include "sendarro7.h"
#include "test_util.h"
#include "typelib_dump.h"

using testutil::Call;
using testutil::Long;
using testutil::Str;

namespace {

class TypeLibrary : public testutil::TypeLibraryTest {
 protected:
  TypeLibrary() : TypeLibraryTest(L"sendarro7.dll") {}
};

TEST_F(TypeLibrary, EDIFile) {
  EXPECT_EQ("{C61BC97C-886C-4B14-8BAD-4FEB8FA1F795}", testutil::GuidText(CLSID_EDIFile));
  EXPECT_EQ("{2D722C93-E502-4186-9537-0CE17E602662}",
            testutil::GuidText(testutil::DefaultInterfaceOf(lib, CLSID_EDIFile)));
  EXPECT_EQ((std::vector<std::string>{
                "0x40030004 get ediDocStillProcessing() : VARIANT_BOOL",
                "0x40030004 let ediDocStillProcessing(VARIANT_BOOL) : void",
                "0x40030006 get oEdiDoc() : IEdiDocument*",
                "~0x6003FF00 func reservedoEdiDoc() : void",
                "0x40030006 set oEdiDoc(IEdiDocument*) : void",
                "0x68030003 get valid837() : VARIANT_BOOL",
                "0x68030002 let OutputFileName(BSTR*) : void",
                "0x68030002 get OutputFileName() : BSTR",
                "0x60030004 func Export() : void",
                "0x60030007 func BRExists(BSTR*) : VARIANT",
                "0x68030001 get FileHeader(BSTR*) : _FileHeader*",
                "0x00000000 get Item(VARIANT*) : _FileHeader*",
                "0x68030000 get Count() : long",
                "0x60030008 func Remove(VARIANT*) : void",
                "~-4 get NewEnum() : IUnknown*",
            }),
            testutil::DescribeInterface(lib, IID__EDIFile));

  // The document's interface is the EDI component's own, from its type library.
  com::Ptr<ITypeInfo> info, document;
  ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(IID__EDIFile, info.out()));
  for (UINT i = 0; !document; ++i) {
    FUNCDESC* f = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetFuncDesc(i, &f));
    if (f->memid == 0x40030006 && f->invkind == INVOKE_PROPERTYGET) {
      // The result type, or the [out, retval] parameter's where the function answers an HRESULT.
      const TYPEDESC* type = f->elemdescFunc.tdesc.vt == VT_HRESULT && f->cParams
                                 ? &f->lprgelemdescParam[f->cParams - 1].tdesc
                                 : &f->elemdescFunc.tdesc;
      while (type->vt == VT_PTR) type = type->lptdesc;
      EXPECT_EQ(VT_USERDEFINED, type->vt);
      if (type->vt == VT_USERDEFINED) info->GetRefTypeInfo(type->hreftype, document.out());
      info->ReleaseFuncDesc(f);
      ASSERT_TRUE(document);
    } else {
      info->ReleaseFuncDesc(f);
    }
  }
  com::Ptr<ITypeLib> home;
  UINT index = 0;
  ASSERT_HRESULT_SUCCEEDED(document->GetContainingTypeLib(home.out(), &index));
  TLIBATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(home->GetLibAttr(&attr));
  EXPECT_EQ("{8C909E12-AC37-4771-9E15-C7D45C36F21B}", testutil::GuidText(attr->guid));
  home->ReleaseTLibAttr(attr);
  TYPEATTR* itf = nullptr;
  ASSERT_HRESULT_SUCCEEDED(document->GetTypeAttr(&itf));
  EXPECT_EQ("{FA44CD58-84BF-4E6A-9B17-5D66418C7706}", testutil::GuidText(itf->guid));
  document->ReleaseTypeAttr(itf);
}

TEST_F(TypeLibrary, NSFFormat) {
  EXPECT_EQ("{8B0258D5-E480-4518-834B-C4526785F352}", testutil::GuidText(CLSID_NSFFormat));
  EXPECT_EQ("{F8E7CC55-D43D-42E9-B086-915D4187BFF5}",
            testutil::GuidText(testutil::DefaultInterfaceOf(lib, CLSID_NSFFormat)));
  EXPECT_EQ((std::vector<std::string>{"0x60030001 func PrintMe(short*, _FileHeader**) : void"}),
            testutil::DescribeInterface(lib, IID__NSFFormat));
}

TEST(Registration, ProgIds) {
  for (auto [progId, clsid] : {std::pair{L"sendarro7.EDIFile", &CLSID_EDIFile}, {L"sendarro7.NSFFormat", &CLSID_NSFFormat}}) {
    CLSID found;
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(progId, &found));
    EXPECT_TRUE(IsEqualCLSID(*clsid, found));
  }
}

// An object's identity, to compare two references.
IUnknown* Identity(const VARIANT& v) {
  IUnknown* u = nullptr;
  if (v.vt == VT_DISPATCH && v.pdispVal) v.pdispVal->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&u));
  if (u) u->Release();  // the object stays alive through the variant
  return u;
}

TEST(LateBound, FileHeadersOfAnExport) {
  com::Ptr<IDispatch> file;
  ASSERT_HRESULT_SUCCEEDED(
      CoCreateInstance(CLSID_EDIFile, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(file.out())));
  com::Variant valid, name;
  ASSERT_EQ(0, Call(file.get(), L"valid837", DISPATCH_PROPERTYGET, {}, &valid));
  EXPECT_EQ(VARIANT_FALSE, valid.boolVal);
  ASSERT_EQ(0, Call(file.get(), L"OutputFileName", DISPATCH_PROPERTYPUT, {Str(L"C:\\x.nsf")}, nullptr));
  ASSERT_EQ(0, Call(file.get(), L"OutputFileName", DISPATCH_PROPERTYGET, {}, &name));
  EXPECT_STREQ(L"C:\\x.nsf", name.bstrVal);

  // Get or create, the key compared without regard to case.
  com::Variant main, again, second, count, exists, missing;
  ASSERT_EQ(0, Call(file.get(), L"FileHeader", DISPATCH_PROPERTYGET, {Str(L"Main")}, &main));
  ASSERT_EQ(0, Call(file.get(), L"FileHeader", DISPATCH_PROPERTYGET, {Str(L"MAIN")}, &again));
  EXPECT_EQ(Identity(main), Identity(again));
  ASSERT_EQ(0, Call(file.get(), L"FileHeader", DISPATCH_PROPERTYGET, {Str(L"Second")}, &second));
  ASSERT_EQ(0, Call(file.get(), L"Count", DISPATCH_PROPERTYGET, {}, &count));
  EXPECT_EQ(2, count.lVal);

  // BRExists answers a Variant holding a Boolean, and raises nothing for a missing key.
  ASSERT_EQ(0, Call(file.get(), L"BRExists", DISPATCH_METHOD, {Str(L"main")}, &exists));
  EXPECT_EQ(VT_BOOL, exists.vt);
  EXPECT_EQ(VARIANT_TRUE, exists.boolVal);
  ASSERT_EQ(0, Call(file.get(), L"BRExists", DISPATCH_METHOD, {Str(L"none")}, &missing));
  EXPECT_EQ(VT_BOOL, missing.vt);
  EXPECT_EQ(VARIANT_FALSE, missing.boolVal);

  // Item and Remove fail with the collection's errors: 5 for a key, 9 for a position.
  struct {
    const wchar_t* member;
    VARIANT index;
    long error;
  } failures[] = {{L"Item", Str(L"none"), 5}, {L"Item", Long(0), 9}, {L"Item", Long(3), 9},
                  {L"Remove", Str(L"none"), 5}, {L"Remove", Long(3), 9}};
  for (auto& f : failures) {
    com::Variant out;
    EXPECT_EQ(f.error, Call(file.get(), f.member, f.member[0] == L'I' ? DISPATCH_PROPERTYGET : DISPATCH_METHOD,
                            {f.index}, &out));
  }

  // Collection order, by position and by enumeration; Remove closes the gap.
  com::Variant first, enumerator;
  ASSERT_EQ(0, Call(file.get(), L"Item", DISPATCH_PROPERTYGET, {Long(2)}, &first));
  EXPECT_EQ(Identity(second), Identity(first));
  ASSERT_EQ(0, testutil::CallId(file.get(), DISPID_NEWENUM, DISPATCH_PROPERTYGET, {}, &enumerator));
  com::Ptr<IEnumVARIANT> items;
  ASSERT_HRESULT_SUCCEEDED(enumerator.punkVal->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(items.out())));
  std::vector<IUnknown*> order;
  for (com::Variant v; items->Next(1, &v, nullptr) == S_OK; VariantClear(&v)) order.push_back(Identity(v));
  EXPECT_EQ((std::vector<IUnknown*>{Identity(main), Identity(second)}), order);
  ASSERT_EQ(0, Call(file.get(), L"Remove", DISPATCH_METHOD, {Str(L"MAIN")}, nullptr));
  com::Variant now;
  ASSERT_EQ(0, Call(file.get(), L"Item", DISPATCH_PROPERTYGET, {Long(1)}, &now));
  EXPECT_EQ(Identity(second), Identity(now));
}

}  // namespace
