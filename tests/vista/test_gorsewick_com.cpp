// gorsewick.dll as a host sees it: its type library, its registration, and calls through the
// registered classes (late-bound, and by the earlier interface ids).
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "com/ptr.h"
#include "common/file_locations.h"
#include "common/vista_info.h"
#include "gorsewick.h"
#include "event_sink.h"
#include "test_util.h"
#include "typelib_dump.h"
#include "dispatch_call.h"
#include "vista_test_util.h"
#include "recording_presenter.h"
#include <ocidl.h>
#include <olectl.h>

namespace vista {

using testutil::DescribeInterface;
using testutil::GuidText;
using testutil::Bool;
using testutil::Call;
using testutil::Str;

namespace {

class TypeLibrary : public testutil::TypeLibraryTest {
 protected:
  TypeLibrary() : TypeLibraryTest(L"gorsewick.dll") {}
};

GUID Guid(const wchar_t* text) { return testutil::GuidFromText(text); }

com::Ptr<IDispatch> Create(const wchar_t* progId) {
  CLSID clsid;
  com::Ptr<IDispatch> d;
  if (SUCCEEDED(CLSIDFromProgID(progId, &clsid)))
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(d.out()));
  return d;
}

}  // namespace

TEST_F(TypeLibrary, LibraryAndEnums) {
  TLIBATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(lib->GetLibAttr(&attr));
  EXPECT_EQ("{287B249F-F4DE-44B6-B462-4FA63AFB0CA2}", GuidText(attr->guid));
  lib->ReleaseTLibAttr(attr);
  EXPECT_EQ((std::vector<std::string>{"appNameNotSet=0", "VNS=1", "VNE=2", "TM=3"}),
            testutil::DescribeEnum(lib, Guid(L"{07739BC8-1B35-414A-A403-09C421D652DC}")));
  EXPECT_EQ((std::vector<std::string>{"SHOW_DLG=0", "NO_SHOW_DLG=1"}),
            testutil::DescribeEnum(lib, Guid(L"{D5F7F753-C780-4146-AB8A-0E2B1F03DAEA}")));
  EXPECT_EQ((std::vector<std::string>{"WRP_SHOW_DLG=0", "WRP_NO_SHOW_DLG=1", "WRP_WARNING_NOT_SHOWN=2"}),
            testutil::DescribeEnum(lib, Guid(L"{6F935D2E-E20B-47F8-B761-1ED939E9F9E0}")));
}

TEST_F(TypeLibrary, MBYAppName) {
  EXPECT_EQ("{4579C049-0532-4F0A-B17D-888DEA5A1BB0}", GuidText(CLSID_MBYAppName));
  EXPECT_EQ("{0A23FE26-0195-49E9-A164-D0012A0F0EB4}", GuidText(testutil::DefaultInterfaceOf(lib, CLSID_MBYAppName)));
  EXPECT_EQ((std::vector<std::string>{
                "0x68030000 get appName() : AppNames",
                "0x68030000 let appName(AppNames*) : void",
                "0x68030001 get appDirName() : BSTR",
                "0x68030002 get appLabel() : BSTR",
            }),
            DescribeInterface(lib, IID__MBYAppName));
}

TEST_F(TypeLibrary, FileLocations) {
  EXPECT_EQ("{6D859DCF-97D5-4FB2-B6EB-D859327DD805}", GuidText(CLSID_fileLocations));
  EXPECT_EQ("{3882329D-918A-4C6E-9D16-4BE9E86972BA}",
            GuidText(testutil::DefaultInterfaceOf(lib, CLSID_fileLocations)));
  EXPECT_EQ((std::vector<std::string>{
                "0x40030000 get appName() : _MBYAppName*",
                "~0x6003FF00 func reservedappName() : void",
                "0x40030000 set appName(_MBYAppName*) : void",
                "0x40030001 get installedPath() : BSTR",
                "0x40030001 let installedPath(BSTR) : void",
                "0x60030001 func preferredAppPath(opt _MBYAppName*) : BSTR",
                "0x60030002 func userTempPath() : BSTR",
                "0x60030003 func userDocPath() : BSTR",
                "0x60030004 func publicDataPath(opt _MBYAppName*) : BSTR",
                "0x60030005 func hiddenDataPath(opt _MBYAppName*) : BSTR",
                "0x60030006 func preferredAppPathExists(opt _MBYAppName*) : VARIANT_BOOL",
                "0x60030007 func publicDataPathExists(opt _MBYAppName*) : VARIANT_BOOL",
                "0x60030008 func hiddenDataPathExists(opt _MBYAppName*) : VARIANT_BOOL",
                "0x60030009 func userVirtualDataPath() : BSTR",
                "0x6003000A func getVirtualPath(BSTR*) : BSTR",
            }),
            DescribeInterface(lib, IID__fileLocations));
}

TEST_F(TypeLibrary, VistaInfo) {
  EXPECT_EQ("{382D3682-2FF8-46AF-8FA2-B0B972092DD1}", GuidText(CLSID_VistaInfo));
  EXPECT_EQ("{6A7FC79A-11E5-4D61-85A4-D1C194BFC636}", GuidText(testutil::DefaultInterfaceOf(lib, CLSID_VistaInfo)));
  EXPECT_EQ((std::vector<std::string>{
                "0x40030000 get WRPWarningSetting() : showDialog",
                "0x40030000 let WRPWarningSetting(showDialog) : void",
                "0x68030000 get continueSave() : VARIANT_BOOL",
                "0x60030001 func fileInProctectedArea(BSTR*, opt VARIANT_BOOL*) : VARIANT_BOOL",
                "0x60030002 func isOSVersionXPOrGreater() : VARIANT_BOOL",
                "0x60030003 func IsOSVersionNTOrGreater() : VARIANT_BOOL",
                "0x60030004 func IsOSVersionVista() : VARIANT_BOOL",
                "0x60030005 func showWRPWarningDialog(opt BSTR*) : VARIANT_BOOL",
                "0x68030001 get INTESTMODE() : VARIANT_BOOL",
                "0x68030001 let INTESTMODE(VARIANT_BOOL) : void",
            }),
            DescribeInterface(lib, IID__VistaInfo));
}

TEST_F(TypeLibrary, ManageFilesAndItsEvents) {
  EXPECT_EQ("{95C14999-4F32-47F7-8909-0004A6433A3F}", GuidText(CLSID_ManageFiles));
  EXPECT_EQ("{A1B20DD7-E936-4527-B40F-F2BFF6F05A46}", GuidText(testutil::DefaultInterfaceOf(lib, CLSID_ManageFiles)));
  EXPECT_EQ((std::vector<std::string>{
                "0x40030000 get INTESTMODE() : VARIANT_BOOL",
                "0x40030000 let INTESTMODE(VARIANT_BOOL) : void",
                "0x40030001 get fileLocs() : _fileLocations*",
                "~0x6003FF00 func reservedfileLocs() : void",
                "0x40030001 set fileLocs(_fileLocations*) : void",
                "0x40030002 get showProgressDialog() : VARIANT_BOOL",
                "0x40030002 let showProgressDialog(VARIANT_BOOL) : void",
                "0x68030000 get appName() : _MBYAppName*",
                "0x68030000 let appName(_MBYAppName*) : void",
                "0x60030001 func cancelMove() : VARIANT",
                "0x60030002 func moveStatus() : moveStatuses",
                "0x60030004 func saveMoveLog(BSTR*) : VARIANT_BOOL",
                "0x60030005 func moveProtectedFiles(BSTR*, BSTR*, BSTR*) : VARIANT_BOOL",
            }),
            DescribeInterface(lib, IID__ManageFiles));
  EXPECT_EQ("{1B28F70C-1C1A-4DD6-B807-6797D0AA4B0A}", GuidText(DIID___ManageFiles));
  EXPECT_EQ((std::vector<std::string>{
                "0x00000001 func progressUpdate(moveStatuses*, BSTR*) : void",
                "0x00000002 func UIExited(moveStatuses*) : void",
            }),
            DescribeInterface(lib, DIID___ManageFiles));
  EXPECT_EQ((std::vector<std::string>{"notStarted=0", "started=1", "Failed=2", "cancelled=3", "preparing=4", "moving=5",
                                      "cleaningUp=6", "completed=7", "rollingback=8", "contactMarlowby=9"}),
            testutil::DescribeEnum(lib, Guid(L"{723A3435-1C0E-4187-8FDF-016406338746}")));
  // The events are the class's default source.
  ITypeInfo* coclass = nullptr;
  ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(CLSID_ManageFiles, &coclass));
  TYPEATTR* attr = nullptr;
  coclass->GetTypeAttr(&attr);
  bool source = false;
  for (UINT i = 0; i < attr->cImplTypes; ++i) {
    INT flags = 0;
    HREFTYPE h;
    ITypeInfo* impl = nullptr;
    TYPEATTR* ia = nullptr;
    coclass->GetImplTypeFlags(i, &flags);
    coclass->GetRefTypeOfImplType(i, &h);
    coclass->GetRefTypeInfo(h, &impl);
    impl->GetTypeAttr(&ia);
    if (ia->guid == DIID___ManageFiles) source = flags == (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE);
    impl->ReleaseTypeAttr(ia);
    impl->Release();
  }
  coclass->ReleaseTypeAttr(attr);
  coclass->Release();
  EXPECT_TRUE(source);
}

TEST(Registration, ProgIdsAndEarlierInterfaceIds) {
  struct Class {
    const wchar_t* progId;
    const CLSID* clsid;
    const IID* current;
    const wchar_t* earlier;  // nullptr: none
  } const classes[] = {
      {L"gorsewick.MBYAppName", &CLSID_MBYAppName, &IID__MBYAppName, nullptr},
      {L"gorsewick.fileLocations", &CLSID_fileLocations, &IID__fileLocations, L"{8230869A-26FA-4932-953B-61469581F329}"},
      {L"gorsewick.VistaInfo", &CLSID_VistaInfo, &IID__VistaInfo, L"{C507E7DF-DEE4-4609-8B35-E5AA58DE1973}"},
      {L"gorsewick.ManageFiles", &CLSID_ManageFiles, &IID__ManageFiles, L"{E5E788EB-3FAA-4ADA-9304-D06456E14355}"},
  };
  for (const Class& c : classes) {
    SCOPED_TRACE(c.progId);
    CLSID clsid;
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(c.progId, &clsid));
    EXPECT_TRUE(IsEqualCLSID(clsid, *c.clsid));
    com::Ptr<IUnknown> obj, current, earlier;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(obj.out())));
    ASSERT_HRESULT_SUCCEEDED(obj->QueryInterface(*c.current, reinterpret_cast<void**>(current.out())));
    if (c.earlier) {
      ASSERT_HRESULT_SUCCEEDED(obj->QueryInterface(Guid(c.earlier), reinterpret_cast<void**>(earlier.out())));
      EXPECT_EQ(current.get(), earlier.get());
    }
  }
  EXPECT_TRUE(IsEqualIID(IID__fileLocations___v0, Guid(L"{8230869A-26FA-4932-953B-61469581F329}")));
  EXPECT_TRUE(IsEqualIID(IID__VistaInfo___v0, Guid(L"{C507E7DF-DEE4-4609-8B35-E5AA58DE1973}")));
}

namespace {

// Records the events it gets as "<id>:<status>:<message>"; may disconnect itself at the first.
class EventLog final : public testutil::EventSink {
 public:
  EventLog() : EventSink(DIID___ManageFiles) {}
  std::vector<std::wstring> seen;
  com::Ptr<IConnectionPoint> point;
  DWORD cookie = 0;
  bool leaveAtFirst = false;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) override {
    std::wstring line = std::to_wstring(id) + L":" + std::to_wstring(*p->rgvarg[p->cArgs - 1].plVal);
    if (p->cArgs == 2) line += L":" + com::FromBstr(*p->rgvarg[0].pbstrVal);
    seen.push_back(line);
    if (leaveAtFirst && seen.size() == 1) point->Unadvise(cookie);
    return S_OK;
  }
};

}  // namespace

TEST(LateBound, ManageFilesRaisesItsEventsThroughItsConnectionPoint) {
  vb::ScopedRecordingPresenter boxes;
  com::Ptr<IDispatch> mover = Create(L"gorsewick.ManageFiles");
  ASSERT_TRUE(mover);
  // The class tells its default source, and gives its class information.
  com::Ptr<IProvideClassInfo2> info;
  ASSERT_HRESULT_SUCCEEDED(mover->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(info.out())));
  GUID events;
  ASSERT_HRESULT_SUCCEEDED(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events));
  EXPECT_TRUE(IsEqualIID(DIID___ManageFiles, events));
  com::Ptr<ITypeInfo> coclass;
  ASSERT_HRESULT_SUCCEEDED(info->GetClassInfo(coclass.out()));
  TYPEATTR* attr = nullptr;
  coclass->GetTypeAttr(&attr);
  EXPECT_TRUE(IsEqualCLSID(CLSID_ManageFiles, attr->guid));
  coclass->ReleaseTypeAttr(attr);

  com::Ptr<IConnectionPointContainer> container;
  ASSERT_HRESULT_SUCCEEDED(mover->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container.out())));
  com::Ptr<IEnumConnectionPoints> points;
  ASSERT_HRESULT_SUCCEEDED(container->EnumConnectionPoints(points.out()));
  IConnectionPoint* got[2] = {};
  ULONG fetched = 0;
  EXPECT_EQ(S_FALSE, points->Next(2, got, &fetched));
  ASSERT_EQ(1u, fetched);
  IID iid;
  got[0]->GetConnectionInterface(&iid);
  EXPECT_TRUE(IsEqualIID(DIID___ManageFiles, iid));
  got[0]->Release();

  EventLog first, second;
  first.leaveAtFirst = true;
  for (EventLog* log : {&first, &second}) {
    ASSERT_HRESULT_SUCCEEDED(container->FindConnectionPoint(DIID___ManageFiles, log->point.out()));
    ASSERT_HRESULT_SUCCEEDED(log->point->Advise(log, &log->cookie));
  }
  com::Ptr<IEnumConnections> connections;
  ASSERT_HRESULT_SUCCEEDED(first.point->EnumConnections(connections.out()));
  CONNECTDATA c[3] = {};
  EXPECT_EQ(S_FALSE, connections->Next(3, c, &fetched));
  ASSERT_EQ(2u, fetched);
  EXPECT_EQ(first.cookie, c[0].dwCookie);
  EXPECT_EQ(second.cookie, c[1].dwCookie);
  for (ULONG i = 0; i < fetched; ++i) c[i].pUnk->Release();

  // A move of a product without lists from a missing folder: its rollback reports nothing.
  ASSERT_EQ(0, Call(mover.get(), L"showProgressDialog", DISPATCH_PROPERTYPUT, {Bool(false)}, nullptr));
  com::Variant product;
  ASSERT_EQ(0, Call(mover.get(), L"appName", DISPATCH_PROPERTYGET, {}, &product));
  ASSERT_EQ(0, Call(product.pdispVal, L"appName", DISPATCH_PROPERTYPUT, {testutil::Long(VNE)}, nullptr));
  com::Variant r;
  ASSERT_EQ(0, Call(mover.get(), L"moveProtectedFiles", DISPATCH_METHOD,
                    {Str(L"C:\\No Such Folder"), Str(L"C:\\windows"), Str(L"tm3.ini")}, &r));
  EXPECT_EQ(VARIANT_FALSE, r.boolVal);
  ASSERT_EQ(0, Call(mover.get(), L"cancelMove", DISPATCH_METHOD, {}, &r));
  EXPECT_EQ(VT_EMPTY, r.vt);
  EXPECT_EQ((std::vector<std::wstring>{L"1:2:Source Folders Not Found (C:\\No Such Folder) "}), first.seen);
  EXPECT_EQ((std::vector<std::wstring>{L"1:2:Source Folders Not Found (C:\\No Such Folder) ", L"1:3:Move Cancelled"}),
            second.seen);
  ASSERT_EQ(0, Call(mover.get(), L"moveStatus", DISPATCH_METHOD, {}, &r));
  EXPECT_EQ(cancelled, r.lVal);
  second.point->Unadvise(second.cookie);
  EXPECT_EQ(CONNECT_E_NOCONNECTION, first.point->Unadvise(first.cookie));
}

TEST(LateBound, AMissingProductIsNothingAndAForeignObjectIsRefused) {
  // (Script hosts read the folders in acceptance/vista_folders.vbs.)
  com::Ptr<IDispatch> locations = Create(L"gorsewick.fileLocations");
  ASSERT_TRUE(locations);
  com::Variant path;
  ASSERT_EQ(0, Call(locations.get(), L"publicDataPath", DISPATCH_METHOD, {}, &path));
  EXPECT_EQ(testhelp::KnownFolder(FOLDERID_PublicDocuments) + L"\\Marlowby\\", com::FromBstr(path.bstrVal));
  VARIANT missing;
  missing.vt = VT_ERROR;
  missing.scode = DISP_E_PARAMNOTFOUND;
  com::Variant none;
  EXPECT_EQ(0, Call(locations.get(), L"hiddenDataPathExists", DISPATCH_METHOD, {missing}, &none));
  VARIANT nothing;
  nothing.vt = VT_DISPATCH;
  nothing.pdispVal = nullptr;
  EXPECT_EQ(0, Call(locations.get(), L"appName", DISPATCH_PROPERTYPUTREF, {nothing}, nullptr));
  EXPECT_EQ(91, Call(locations.get(), L"hiddenDataPathExists", DISPATCH_METHOD, {missing}, &none));
  EXPECT_EQ(91, Call(locations.get(), L"preferredAppPath", DISPATCH_METHOD, {}, &none));

  com::Ptr<_fileLocations> early;
  ASSERT_HRESULT_SUCCEEDED(locations->QueryInterface(IID__fileLocations, reinterpret_cast<void**>(early.out())));
  BSTR result = nullptr;
  EXPECT_EQ(static_cast<HRESULT>(0x800A000D),
            early->publicDataPath(reinterpret_cast<_MBYAppName*>(static_cast<IDispatch*>(early.get())), &result));
  EXPECT_EQ(nullptr, result);
}

TEST(LateBound, VersionAnswersAndTheWarningSettingThroughTheRegisteredClass) {
  com::Ptr<IDispatch> info = Create(L"gorsewick.VistaInfo");
  ASSERT_TRUE(info);
  com::Variant r;
  ASSERT_EQ(0, Call(info.get(), L"IsOSVersionVista", DISPATCH_METHOD, {}, &r));
  EXPECT_EQ(testhelp::kRunsAsVista ? VARIANT_TRUE : VARIANT_FALSE, r.boolVal);
  ASSERT_EQ(0, Call(info.get(), L"isOSVersionXPOrGreater", DISPATCH_METHOD, {}, &r));
  EXPECT_EQ(VARIANT_TRUE, r.boolVal);
  ASSERT_EQ(0, Call(info.get(), L"fileInProctectedArea", DISPATCH_METHOD, {Str(L"c:\\windows\\tm3.ini")}, &r));
  EXPECT_EQ(VARIANT_TRUE, r.boolVal);
  ASSERT_EQ(0, Call(info.get(), L"fileInProctectedArea", DISPATCH_METHOD, {Str(L"c:\\windows\\tm3.ini"), Bool(true)}, &r));
  EXPECT_EQ(testhelp::kRunsAsVista ? VARIANT_TRUE : VARIANT_FALSE, r.boolVal);
  EXPECT_EQ(0, Call(info.get(), L"INTESTMODE", DISPATCH_PROPERTYPUT, {Bool(true)}, nullptr));
  ASSERT_EQ(0, Call(info.get(), L"IsOSVersionVista", DISPATCH_METHOD, {}, &r));
  EXPECT_EQ(VARIANT_TRUE, r.boolVal);

  // A stored "True": no window, the answer True, the setting read as -1.
  testutil::TempDir dir;
  const std::wstring ini = dir.file(L"TM3.ini");
  WritePrivateProfileStringW(L"VistaSettings", L"showWRPWarning", L"True", ini.c_str());
  ASSERT_EQ(0, Call(info.get(), L"showWRPWarningDialog", DISPATCH_METHOD, {Str(ini.c_str())}, &r));
  EXPECT_EQ(VARIANT_TRUE, r.boolVal);
  com::Variant setting;
  ASSERT_EQ(0, Call(info.get(), L"WRPWarningSetting", DISPATCH_PROPERTYGET, {}, &setting));
  EXPECT_EQ(-1, setting.lVal);
  // A value that is no Boolean reaches the host as error 13.
  WritePrivateProfileStringW(L"VistaSettings", L"showWRPWarning", L"", ini.c_str());
  EXPECT_EQ(13, Call(info.get(), L"showWRPWarningDialog", DISPATCH_METHOD, {Str(ini.c_str())}, &r));
}

}  // namespace vista
