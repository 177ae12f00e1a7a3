// sendarro7.dll as a host sees it: its type library, its registration and late-bound calls.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "com/ptr.h"
#include "sendarro7.h"
#include "test_util.h"
#include "typelib_dump.h"
#include "dispatch_call.h"

using testutil::Call;
using testutil::DescribeInterface;
using testutil::Invoke;
using testutil::Long;
using testutil::Str;

namespace {

class TypeLibrary : public testutil::TypeLibraryTest {
 protected:
  TypeLibrary() : TypeLibraryTest(L"sendarro7.dll") {}
};

}  // namespace

TEST_F(TypeLibrary, LibraryAndEnum) {
  TLIBATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(lib->GetLibAttr(&attr));
  EXPECT_EQ("{40FBDD15-DFC0-4715-B44E-CD3162EF272C}", testutil::GuidText(attr->guid));
  lib->ReleaseTLibAttr(attr);
  GUID enumId;
  CLSIDFromString(L"{BF7AD366-0B58-4453-A194-7868BAB482A1}", &enumId);
  EXPECT_EQ((std::vector<std::string>{"OutputFieldTypeText=0", "OutputFieldTypeNumeric=1",
                                      "OutputFieldTypeDate=2", "OutputFieldTypeCurrency=3",
                                      "OutputFieldTypeFixedOne=4"}),
            testutil::DescribeEnum(lib, enumId));
}

TEST_F(TypeLibrary, OutputField) {
  EXPECT_EQ("{FE4CF4B9-E7A8-490C-9DA4-4E8822A83829}", testutil::GuidText(CLSID_OutputField));
  EXPECT_EQ("{5A70C29F-2A99-41CC-866F-447DF7003A95}",
            testutil::GuidText(testutil::DefaultInterfaceOf(lib, CLSID_OutputField)));
  EXPECT_EQ((std::vector<std::string>{
                "0x40030000 get Name() : BSTR",
                "0x40030000 let Name(BSTR) : void",
                "0x40030001 get Row() : long",
                "0x40030001 let Row(long) : void",
                "0x40030002 get FromCol() : long",
                "0x40030002 let FromCol(long) : void",
                "0x40030003 get ToCol() : long",
                "0x40030003 let ToCol(long) : void",
                "0x40030004 get Value() : BSTR",
                "0x40030004 let Value(BSTR) : void",
                "0x40030005 get DataType() : OutputFieldType",
                "0x40030005 let DataType(OutputFieldType) : void",
                "0x40030006 get Required() : VARIANT_BOOL",
                "0x40030006 let Required(VARIANT_BOOL) : void",
                "0x40030007 get Format() : BSTR",
                "0x40030007 let Format(BSTR) : void",
                "0x60030001 func Valid() : VARIANT_BOOL",
                "0x68030000 get FieldLength() : long",
                "0x60030002 func DataWillFit() : VARIANT_BOOL",
            }),
            DescribeInterface(lib, IID__OutputField));
}

TEST_F(TypeLibrary, OutputFields) {
  EXPECT_EQ("{162D2A90-FBEA-440B-9D29-FF93AF881154}", testutil::GuidText(CLSID_OutputFields));
  EXPECT_EQ("{BE3D0A09-404B-4222-BED7-8CEFE53DA6B8}",
            testutil::GuidText(testutil::DefaultInterfaceOf(lib, CLSID_OutputFields)));
  EXPECT_EQ((std::vector<std::string>{
                "0x40030001 get OutDefns() : _OutputFields*",
                "~0x6003FF00 func reservedOutDefns() : void",
                "0x40030001 set OutDefns(_OutputFields*) : void",
                "0x40030002 get LastLine() : VARIANT_BOOL",
                "0x40030002 let LastLine(VARIANT_BOOL) : void",
                "0x60030001 func PrintSetValues() : void",
                "0x60030002 func PrintMe(short*) : VARIANT_BOOL",
                "0x60030003 func SetValue(BSTR*, BSTR*) : VARIANT",
                "0x60030004 func BRExists(BSTR*) : VARIANT_BOOL",
                "0x60030005 func Add(BSTR*, opt long*, opt long*, opt long*, opt BSTR*, "
                "opt OutputFieldType*, opt BSTR*, opt VARIANT_BOOL*) : _OutputField*",
                "0x00000000 get Item(VARIANT*) : _OutputField*",
                "0x68030000 get Count() : long",
                "0x60030006 func Remove(VARIANT*) : void",
                "~-4 get NewEnum() : IUnknown*",
            }),
            DescribeInterface(lib, IID__OutputFields));
}

// The claim export and the NSF writer; the document's interface comes from the EDI component's
// type library (registered by its fixture).
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

TEST(Registration, ProgIdsOfTheClaimExport) {
  for (auto [progId, clsid] : {std::pair{L"sendarro7.EDIFile", &CLSID_EDIFile}, {L"sendarro7.NSFFormat", &CLSID_NSFFormat}}) {
    CLSID found;
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(progId, &found));
    EXPECT_TRUE(IsEqualCLSID(*clsid, found));
  }
}

namespace {

// An object's identity, to compare two references.
IUnknown* Identity(const VARIANT& v) {
  IUnknown* u = nullptr;
  if (v.vt == VT_DISPATCH && v.pdispVal) v.pdispVal->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&u));
  if (u) u->Release();  // the object stays alive through the variant
  return u;
}

}  // namespace

// The claim export: its file headers through late-bound calls.
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

TEST(Registration, ProgIdsAndApartment) {
  CLSID clsid;
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"sendarro7.OutputFields", &clsid));
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_OutputFields));
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"sendarro7.OutputField", &clsid));
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_OutputField));

  wchar_t value[64] = {};
  LONG size = sizeof value;
  std::wstring key = L"CLSID\\{162D2A90-FBEA-440B-9D29-FF93AF881154}\\InprocServer32";
  HKEY h;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h));
  DWORD type, bytes = sizeof value;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(h, L"ThreadingModel", nullptr, &type,
                                            reinterpret_cast<BYTE*>(value), &bytes));
  RegCloseKey(h);
  EXPECT_STREQ(L"Apartment", value);
  (void)size;
}

TEST(LateBound, AddItemAndErrorsThroughDispatch) {
  com::Ptr<IDispatch> store;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_OutputFields, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IDispatch, reinterpret_cast<void**>(store.out())));
  // Add with the name alone: the optional arguments take their defaults.
  com::Variant added;
  ASSERT_HRESULT_SUCCEEDED(Invoke(store.get(), L"Add", DISPATCH_METHOD, {Str(L"SubId")}, &added));
  ASSERT_EQ(VT_DISPATCH, added.vt);
  com::Variant type;
  ASSERT_HRESULT_SUCCEEDED(Invoke(added.pdispVal, L"DataType", DISPATCH_PROPERTYGET, {}, &type));
  EXPECT_EQ(0, type.lVal);

  // A script host's variable reaches a typed by-reference parameter as a Variant reference.
  com::Variant name;
  name.vt = VT_BSTR;
  name.bstrVal = SysAllocString(L"Layout");
  VARIANT ref;
  ref.vt = VT_BYREF | VT_VARIANT;
  ref.pvarVal = &name;
  com::Variant second;
  ASSERT_HRESULT_SUCCEEDED(
      Invoke(store.get(), L"Add", DISPATCH_METHOD, {ref, Long(0), Long(1), Long(3), Str(L"AA0")}, &second));
  com::Variant count;
  ASSERT_HRESULT_SUCCEEDED(Invoke(store.get(), L"Count", DISPATCH_PROPERTYGET, {}, &count));
  EXPECT_EQ(2, count.lVal);

  // Item is the default member; a number is a position, a text a key.
  com::Variant item;
  ASSERT_HRESULT_SUCCEEDED(Invoke(store.get(), L"Item", DISPATCH_PROPERTYGET | DISPATCH_METHOD, {Long(2)}, &item));
  com::Variant toCol;
  ASSERT_HRESULT_SUCCEEDED(Invoke(item.pdispVal, L"ToCol", DISPATCH_PROPERTYGET, {}, &toCol));
  EXPECT_EQ(3, toCol.lVal);

  // Errors reach the host as numbers with their descriptions.
  EXCEPINFO ex{};
  com::Variant none;
  EXPECT_EQ(DISP_E_EXCEPTION, Invoke(store.get(), L"Add", DISPATCH_METHOD, {Str(L"SUBID")}, &none, &ex));
  EXPECT_EQ(static_cast<SCODE>(0x800A01C9), ex.scode);
  EXPECT_EQ(L"This key is already associated with an element of this collection", com::FromBstr(ex.bstrDescription));
  SysFreeString(ex.bstrDescription);
  SysFreeString(ex.bstrSource);
  ex = {};
  EXPECT_EQ(DISP_E_EXCEPTION, Invoke(store.get(), L"SetValue", DISPATCH_METHOD, {Str(L"Nope"), Str(L"v")}, &none, &ex));
  EXPECT_EQ(static_cast<SCODE>(0x80040001), ex.scode);
  SysFreeString(ex.bstrDescription);
  SysFreeString(ex.bstrSource);
  ex = {};
  EXPECT_EQ(DISP_E_EXCEPTION, Invoke(store.get(), L"Item", DISPATCH_PROPERTYGET, {Long(9)}, &none, &ex));
  EXPECT_EQ(static_cast<SCODE>(0x800A0009), ex.scode);
  SysFreeString(ex.bstrDescription);
  SysFreeString(ex.bstrSource);

  // The store as a layout of another, set by reference; a foreign object is refused.
  com::Ptr<IDispatch> values;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_OutputFields, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IDispatch, reinterpret_cast<void**>(values.out())));
  VARIANT layout;
  layout.vt = VT_DISPATCH;
  layout.pdispVal = store.get();
  EXPECT_HRESULT_SUCCEEDED(Invoke(values.get(), L"OutDefns", DISPATCH_PROPERTYPUTREF, {layout}, nullptr));
  com::Variant back;
  ASSERT_HRESULT_SUCCEEDED(Invoke(values.get(), L"OutDefns", DISPATCH_PROPERTYGET, {}, &back));
  EXPECT_EQ(store.get(), back.pdispVal);
}

TEST(Module, UnloadsOnlyWithoutLiveObjects) {
  // Our own reference keeps the module loaded whatever COM does with it.
  HMODULE dll = LoadLibraryW(testutil::BesideTestProgram(L"sendarro7.dll").c_str());
  ASSERT_NE(nullptr, dll);
  auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(dll, "DllCanUnloadNow"));
  auto getClass = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(GetProcAddress(dll, "DllGetClassObject"));
  ASSERT_TRUE(canUnload && getClass);
  com::Ptr<IClassFactory> factory;
  ASSERT_HRESULT_SUCCEEDED(getClass(CLSID_OutputField, IID_IClassFactory, reinterpret_cast<void**>(factory.out())));
  EXPECT_EQ(S_FALSE, canUnload());
  com::Ptr<IUnknown> obj;
  EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(factory.get(), IID_IUnknown, reinterpret_cast<void**>(obj.out())));
  ASSERT_HRESULT_SUCCEEDED(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(obj.out())));
  factory.reset();
  EXPECT_EQ(S_FALSE, canUnload());
  obj.reset();
  EXPECT_EQ(S_OK, canUnload());
  com::Ptr<IUnknown> none;
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClass(IID_IDispatch, IID_IClassFactory, reinterpret_cast<void**>(none.out())));
  FreeLibrary(dll);
}
