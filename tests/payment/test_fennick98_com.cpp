// fennick98.dll as a host sees it: its type library read back, with the text defaults of the
// optional by-reference parameters, and its registration.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "com/ptr.h"
#include "fennick98.h"
#include "typelib_dump.h"

namespace payment {
namespace {

using testutil::DescribeInterface;
using testutil::GuidText;
using Lines = std::vector<std::string>;

class TypeLibrary : public testutil::TypeLibraryTest {
 protected:
  TypeLibrary() : TypeLibraryTest(L"fennick98.dll") {}

  // The default values of a function's parameters ("-" for none).
  std::vector<std::wstring> Defaults(REFGUID iid, const wchar_t* function) {
    com::Ptr<ITypeInfo> ti;
    std::vector<std::wstring> out;
    if (FAILED(lib->GetTypeInfoOfGuid(iid, ti.out()))) return out;
    TYPEATTR* attr = nullptr;
    ti->GetTypeAttr(&attr);
    for (UINT i = 0; i < attr->cFuncs; ++i) {
      FUNCDESC* fd = nullptr;
      ti->GetFuncDesc(i, &fd);
      vb::Bstr name;
      ti->GetDocumentation(fd->memid, &name.b, nullptr, nullptr, nullptr);
      if (name.str() == function) {
        for (SHORT p = 0; p < fd->cParams; ++p) {
          const PARAMDESC& pd = fd->lprgelemdescParam[p].paramdesc;
          if (!(pd.wParamFlags & PARAMFLAG_FHASDEFAULT) || !pd.pparamdescex) {
            out.push_back(L"-");
            continue;
          }
          com::Variant text;
          VariantChangeType(&text, &pd.pparamdescex->varDefaultValue, 0, VT_BSTR);
          out.push_back(L"\"" + com::FromBstr(text.bstrVal) + L"\"");
        }
      }
      ti->ReleaseFuncDesc(fd);
    }
    ti->ReleaseTypeAttr(attr);
    return out;
  }
};

GUID Guid(const wchar_t* text) { return testutil::GuidFromText(text); }

TEST_F(TypeLibrary, LibraryAndEnums) {
  TLIBATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(lib->GetLibAttr(&attr));
  EXPECT_EQ("{9E32607A-6B0C-47D0-B0C9-58104A0CC416}", GuidText(attr->guid));
  EXPECT_EQ(1, attr->wMajorVerNum);
  EXPECT_EQ(0, attr->wMinorVerNum);
  lib->ReleaseTLibAttr(attr);
  vb::Bstr help;
  lib->GetDocumentation(-1, nullptr, &help.b, nullptr, nullptr);
  EXPECT_EQ(L"new version of Fennick that includes win98 support", help.str());
  EXPECT_EQ((Lines{"checking=1", "saving=2"}), testutil::DescribeEnum(lib, Guid(L"{D2A794BB-D50F-436B-81C0-C6114DD1C401}")));
  EXPECT_EQ((Lines{"Personal=1", "Business=2"}), testutil::DescribeEnum(lib, Guid(L"{0CA4A063-90B5-41FE-8B2B-D2B1775D4C7E}")));
  EXPECT_EQ((Lines{"defnBankCardSale=1", "defnACHSale=2", "defnBankCardCredit=3", "defnachCredit=4"}),
            testutil::DescribeEnum(lib, Guid(L"{8DD55ADF-1B15-4CEB-9234-DCBB1960D508}")));
}

TEST_F(TypeLibrary, StatusClasses) {
  struct Class {
    const wchar_t* clsid;
    const char* iid;
    Lines members;
  } const classes[] = {
      {L"{398B315E-30A3-4F7C-8C5D-4F7D1819962C}", "{6811BD83-18B2-4394-A8B1-78BF82C733F4}",
       {"0x68030007 get Success() : short", "0x68030006 get Amount() : CURRENCY", "0x68030005 get CreditID() : long",
        "0x68030004 get PostedDate() : BSTR", "0x68030003 get RefID() : BSTR", "0x68030002 get Status() : BSTR",
        "0x68030002 let Status(BSTR*) : void", "0x68030001 get SettledDate() : BSTR",
        "0x68030000 get Message() : BSTR", "0x68030000 let Message(BSTR*) : void"}},
      {L"{DB81FF5E-0F64-48FB-A494-2238E6FAA4F3}", "{E1ED0CEB-ECDE-4D3F-A3E0-C0BA30B02D24}",
       {"0x68030007 get Success() : short", "0x68030006 get Amount() : CURRENCY",
        "0x68030005 get PostedDate() : BSTR", "0x68030004 get RefID() : BSTR", "0x68030003 get Status() : BSTR",
        "0x68030002 get SettledDate() : BSTR", "0x68030001 get TransID() : long", "0x68030000 get Message() : BSTR",
        "0x68030003 let Status(BSTR*) : void", "0x68030000 let Message(BSTR*) : void"}},
      {L"{5B986F0F-E2EE-499B-8386-891F9EFB7FDB}", "{A4662DF7-78C7-46B1-9D1A-D10CBB646DD9}",
       {"0x68030007 get Message() : BSTR", "0x68030006 get Amount() : CURRENCY", "0x68030005 get CreditID() : long",
        "0x68030004 get PostedDate() : BSTR", "0x68030003 get RefID() : BSTR", "0x68030002 get Status() : BSTR",
        "0x68030001 get SettledDate() : BSTR", "0x68030000 get TransID() : long",
        "0x68030002 let Status(BSTR*) : void", "0x68030007 let Message(BSTR*) : void"}},
      {L"{ACF7CEA8-966A-4A03-9E01-840581AAAB2C}", "{C4274649-8D4C-4887-8429-4F2EE289E05A}",
       {"0x68030009 get CVV2Code() : BSTR", "0x68030008 get Message() : BSTR", "0x68030007 get Amount() : CURRENCY",
        "0x68030006 get AuthCode() : BSTR", "0x68030005 get AVSCode() : BSTR", "0x68030004 get PostedDate() : BSTR",
        "0x68030003 get RefID() : BSTR", "0x68030002 get Status() : BSTR", "0x68030001 get SettledDate() : BSTR",
        "0x68030000 get TransID() : long", "0x68030002 let Status(BSTR*) : void",
        "0x68030008 let Message(BSTR*) : void"}},
      {L"{B64E6E3E-576D-417E-8F3C-8E937CD47C73}", "{E0DD2171-AFC6-46F3-8104-48774EAF260F}",
       {"0x68030008 get Message() : BSTR", "0x68030007 get Amount() : CURRENCY", "0x68030006 get AuthCode() : BSTR",
        "0x68030005 get AVSCode() : BSTR", "0x68030004 get PostedDate() : BSTR", "0x68030003 get RefID() : BSTR",
        "0x68030002 get Status() : BSTR", "0x68030001 get SettledDate() : BSTR", "0x68030000 get TransID() : long",
        "0x68030002 let Status(BSTR*) : void", "0x68030008 let Message(BSTR*) : void",
        "0x60030009 func CreateStatus(CURRENCY*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, long*, BSTR*) : void"}},
  };
  for (const Class& c : classes) {
    SCOPED_TRACE(c.iid);
    GUID iid = testutil::DefaultInterfaceOf(lib, Guid(c.clsid));
    EXPECT_EQ(c.iid, GuidText(iid));
    EXPECT_EQ(c.members, DescribeInterface(lib, iid));
  }
}

TEST_F(TypeLibrary, PostTransaction) {
  EXPECT_EQ("{42F00CFA-28EB-4AA9-A7EF-5A893AD8F431}",
            GuidText(testutil::DefaultInterfaceOf(lib, Guid(L"{7FCAF369-4179-4719-8525-952F93B54501}"))));
  const std::string ach = "(BSTR*, BSTR*, BSTR*, BSTR*, ACHType*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, CheckType*, BSTR*)";
  EXPECT_EQ((Lines{
                "0x60030000 func ACHCredit" + ach + " : _ACHCreditStatus*",
                "0x60030001 func ACHDebit" + ach + " : _ACHDebitStatus*",
                "0x60030002 func BankCardCredit(BSTR*, BSTR*, BSTR*, BSTR*, BSTR*) : _BankCardCreditStatus*",
                "0x60030003 func BankCardBlindCredit(BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, "
                "BSTR*, BSTR*, opt BSTR*) : _BankCardCreditStatus*",
                "0x60030004 func BankCardDebit(BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*) : "
                "_BankCardDebitStatus*",
                "0x60030005 func BankCardVoiceAuthorization(BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, "
                "BSTR*, BSTR*, BSTR*) : _BankCardDebitStatus*",
                "0x60030006 func VoidBankCardDebit(BSTR*, BSTR*, BSTR*) : _BankCardDebitStatus*",
                "0x60030007 func SwipedBankCardDebit(BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, BSTR*, "
                "BSTR*, BSTR*) : _BankCardDebitStatus*",
                "0x60030008 func BankCardCloseBatch(BSTR*, BSTR*, opt BSTR*, opt BSTR*, opt BSTR*, opt BSTR*) : "
                "_BankCardSettleStatus*",
            }),
            DescribeInterface(lib, IID__PostTransaction));
  using W = std::vector<std::wstring>;
  // (The dispatch view of a dual interface lists no retval parameter.)
  EXPECT_EQ((W{L"-", L"-", L"\"\"", L"\"\"", L"\"0\"", L"\"0\""}),
            Defaults(IID__PostTransaction, L"BankCardCloseBatch"));
  W blind(12, L"-");
  blind[11] = L"\"0\"";
  EXPECT_EQ(blind, Defaults(IID__PostTransaction, L"BankCardBlindCredit"));
}

TEST(Registration, ProgIds) {
  for (const wchar_t* name : {L"PostTransaction", L"ACHCreditStatus", L"ACHDebitStatus", L"BankCardCreditStatus",
                              L"BankCardDebitStatus", L"BankCardSettleStatus"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
    CLSID clsid;
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID((L"fennick98." + std::wstring(name)).c_str(), &clsid));
    com::Ptr<IDispatch> obj;
    EXPECT_HRESULT_SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                              reinterpret_cast<void**>(obj.out())));
  }
}

}  // namespace
}  // namespace payment
