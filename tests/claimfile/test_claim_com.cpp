// The claim-file classes of sendarro7.dll as a host sees them: the type library (class ids,
// interface ids, earlier ids, member order, dispatch ids), registration, QueryInterface, and
// every write-only property written late-bound by name.
#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "com/ptr.h"
#include "sendarro7.h"
#include "test_util.h"
#include "typelib_dump.h"
#include "dispatch_call.h"

using testutil::DescribeInterface;
using testutil::GuidText;

namespace {

// Stored fields in store order, and write-only properties in the interface order that the type
// library fixes.
const char* const kHeaderStore[] = {
    "SubId", "SubType", "SubNo", "SubName", "SubLName", "SubFName", "SubMName", "SubAddr1",
    "SubAddr2", "SubCity", "SubState", "SubZip", "SubRegion", "SubContact", "SubPhone",
    "ReceiverId", "ReceiverTypeCode", "TestProdInd", "Password", "RetransmissionStatus",
    "OriginalSubId", "VendorAppCat", "VendorSoftwareVer", "VendorSoftwareUpdate", "COBFileInd",
    "ProcessFromDate", "ProcessToDate", "AcknowledgmentRequest",
};
const char* const kHeaderProperties[] = {
    "SubId", "SubName", "SubLName", "SubFName", "SubMName", "SubType", "SubNo", "SubAddr1",
    "SubAddr2", "SubCity", "SubState", "SubZip", "SubRegion", "SubContact", "SubPhone",
    "receiverID", "ReceiverTypeCode", "TestProdInd", "Password", "RetransmissionStatus",
    "OriginalSubId", "VendorAppCat", "VendorSoftwareVer", "VendorSoftwareUpdate", "COBFileInd",
    "ProcessFromDate", "ProcessToDate", "AcknowledgmentRequest",
};
const char* const kBatchStore[] = {
    "EMCProvId", "BatchType", "BatchNo", "BatchId", "ProvTaxId", "ProvTaxIdType", "NationalProvId",
    "ProvMedicaidNo", "ProvUPINUSINId", "ProvChampusNo", "ProvBlueShieldNo", "ProvCommercialNo",
    "ProvOtherNumber1", "ProvOtherNumber2", "ProvOrganization", "ProvTypeOrganization",
    "ProvSVCAddr1", "ProvSVCAddr2", "ProvSVCCity", "ProvSVCState", "ProvSVCZip", "ProvSVCPhone",
    "ProvPAYTOAddr1", "ProvPAYTOAddr2", "ProvPAYTOCity", "ProvPAYTOState", "ProvPAYTOZip",
    "ProvPAYTOPhone", "ProvLastName", "ProvFirstName", "ProvMI", "ProvSpeciality",
    "SpecialityLicenseNo", "StateLicenseNo", "DentistLicenseNo", "AnesthesiaLicenseNo",
    "ProvParticipateInd",
};
const char* const kClaimStore[] = {
    "PatControlNo", "PatLastName", "PatFirstName", "PatMI", "PatGeneration", "PatDateOfBirth",
    "PatSex", "PatTypeOfResidence", "PatAddr1", "PatAddr2", "PatCity", "PatState", "PatZip",
    "PatPhone", "PatMaritalStatus", "PatStudentStatus", "PatEmploymentStatus", "PatDeathInd",
    "PatDateOfDeath", "OtherInsuranceInd", "ClaimEditingInd", "TypeOfClaimInd", "LegalRepInd",
    "OriginCode", "PayorClmControlNo", "ProviderNumber", "ClaimIDNo", "EmplRelatedInd",
    "AccidentInd", "SymptomInd", "AccidentSymptomDate", "ExtCauseOfAccident", "ResponsibilityInd",
    "AccidentState", "AccidentHour", "AbuseInd", "ReleaseOfInfoInde", "ReleaseOfInfoDate",
    "SameSimilarSympInd", "SameSimilarSympDate", "DisabilityType", "DisabilityFromDate",
    "DisabilityToDate", "ReferProvNPI", "ReferProvUPIN", "ReferProvTaxType", "ReferProvTaxId",
    "ReferProvLast", "ReferProvFirst", "ReferProvMI", "ReferProvState", "ReferProvEntityType",
    "AdmissionDate1", "DischargeDate1", "LabInd", "LabCharges", "DiagnosisCode1", "DiagnosisCode2",
    "DiagnosisCode3", "DiagnosisCode4", "ProvAssignInd", "ProvSignatureInd", "ProvSignatureDate",
    "FacilityLabName", "FacilityLabNPI", "FacilityLabAddress1", "FacilityLabAddress2",
    "FacilityLabCity", "FacilityLabState", "FacilityLabZipCode", "DocumentationInd",
    "TypeOfDocumentation", "FunctnlStatusCode", "SpecialProgramInd", "ChampusNonavailInd",
    "SupvProvInd", "SupvProvNPI", "SupvProvLast", "SupvProvFirst", "SupvProvMI", "SupvProvState",
    "EMTParamedicLast", "EMTParamedicFirst", "EMTParamedicMI", "SubResubmissionCode",
    "ResubReferenceNo", "DateLastSeen", "DateDocumentSent", "HomeboundInd", "BloodUnitsPaid",
    "BloodUnitsRemaining", "CPOProvNumber", "IDENumber", "ExtraNarrative",
};
const char* const kLineStore[] = {
    "LineItemControlNo", "SvcFromDate", "SvcToDate", "PlaceOfSvc", "TypeOfSvcCode",
    "HCPCSProcedureCode", "HCPCSModifier1", "HCPCSModifier2", "HCPCSModifier3", "LineCharges",
    "DiagCodePointer1", "DiagCodePointer2", "DiagCodePointer3", "DiagCodePointer4", "UnitsOfSvc",
    "AnesthesiaOxygenMin", "EmergencyInd", "COBInd", "HPSAInd", "RenderingProvNPI",
    "ReferringProvNPI", "ReferringProvState", "PurSvcInd", "DisallowedCostCont", "DisallowedOther",
    "ReviewByCodeInd", "MultiProcedureInd", "MammographyCertNo", "ClassFindings",
    "PodiatrySvcCond", "CliaIdNo", "PrimaryPaidAmount", "HCPCSModifier4", "ProviderSpecialty",
    "PodiatryTherapyInd", "PodiatryTherapyType", "HospiceEmployedProvInd", "HGBHCGDate",
    "HGBResult", "HCTResult", "PatientWeight", "EPODosage", "SerumCreatineDate", "CreatineResult",
    "ObligatedAcceptAmt", "DrugDiscountAmt", "TypeOfUnitsInd", "ApprovedAmt", "PaidAmt",
    "BeneLiabilityAmt", "BalanceBillLimitChg", "LimitChargePrcnt", "PerformProvPhone",
    "ProformProvTaxType", "PerformProvTaxId", "PerformProvAssignInd", "PretransplantIndicator",
    "ICD_10_PCS", "UniversalProductCode", "DiagCodePointer5", "DiagCodePointer6",
    "DiagCodePointer7", "DiagCodePointer8",
};
const char* const kPolicyStore[] = {
    "ClaimFilingInd", "SourceOfPay", "InsuranceTypeCode", "NationalPayerId", "PayorName",
    "GroupNo", "GroupName", "PPOHMOInd", "PPOId", "PriorAuthNo", "AssignOfBenefits",
    "PatSignatureSource", "PatRelToInsured", "InsuredIdNo", "InsuredLastName", "InsuredFirstName",
    "InsuredMI", "InsuredGeneration", "InsuredSex", "InsuredDateOfBirth", "InsuredEmplStatus",
    "SupplementalInsInd", "InsuranceLocationId", "MedicaidIdNo", "SupplementalPatientId",
    "Assign4081Ind", "COBRoutingInd", "PayorAddr1", "PayorAddr2", "PayorCity", "PayorState",
    "PayorZip", "DisallowedCostCont", "DisallowedOther", "AllowedAmount", "DeductibleAmount",
    "CoinsuranceAmount", "PayorAmountPaid", "ZeroPayInd", "AdjudicationInd1", "AdjudicationInd2",
    "AdjudicationInd3", "ChampusSpnsrBranch", "ChampusSpnsrGrade", "ChampusSpnsrStatus",
    "InsCardEffectDate", "InsrCardTermDate", "BalanceDue", "EOMBDate1", "EOMBDate2", "EOMBDate3",
    "EOMBDate4", "ClaimReceiptDate", "AmtPaidToBene", "BeneCheckEFTTraceNo", "BeneCheckDate",
    "AmtPaidToProv", "ProvCheckEFTTraceNo", "InterestPaid", "ApprovedAmt", "ContractAgreementInd",
    "InsuredAddr1", "InsuredAddr2", "InsuredCity", "InsuredState", "InsuredZip", "InsuredPhone",
    "InsuredRetireDate", "InsuredSpouseRetire", "InsuredEmplrName", "InsuredEmplrAddr1",
    "InsuredEmplrAddr2", "InsuredEmplrCity", "InsuredEmplrState", "InsuredEmplrZip",
    "EmployeeIdNo",
};
const char* const kPolicyTexts[] = {
    "insuredID2", "insuredID2Type", "patPolicyID", "patPolicyID2", "patPolicyID2Type",
    "medicare2ndType", "propCasClaimNum", "priorAuthType", "medicaidIDNoType", "subcriberCFI",
    "InsrSecID", "InsrSecIDType", "AcceptAssign", "medicareAssign", "insrSet2010AAToInd",
    "insrExclud2310BREF", "relOfInfo", "l2300PWK01", "insrExclud2310BPRV", "l2300CN104",
};

GUID Guid(const char* text) { return testutil::GuidFromText(std::wstring(text, text + strlen(text))); }

std::string Hex(unsigned long id) {
  char buf[16];
  snprintf(buf, sizeof buf, "0x%08lX", id);
  return buf;
}

// The expected interface, member by member, in the dump's form (see typelib_dump.h).
class Expected {
 public:
  // A public object variable: get, the reserved position, set by reference.
  void Object(const std::string& name, const std::string& type, unsigned long id) {
    lines.push_back(Hex(id) + " get " + name + "() : " + type);
    std::string reserved = "~";  // hidden and restricted
    reserved += Hex(0x6003FF00 + reserved_++);
    lines.push_back(reserved + " func reserved" + name + "() : void");
    lines.push_back(Hex(id) + " set " + name + "(" + type + ") : void");
  }
  // A public value variable: get and let.
  void Value(const std::string& name, const std::string& type, unsigned long id) {
    lines.push_back(Hex(id) + " get " + name + "() : " + type);
    lines.push_back(Hex(id) + " let " + name + "(" + type + ") : void");
  }
  void Text(const std::string& name, unsigned long id) { Value(name, "BSTR", id); }
  void Get(const std::string& name, const std::string& type, unsigned long id) {
    lines.push_back(Hex(id) + " get " + name + "() : " + type);
  }
  // A write-only property: a let taking its argument by reference.
  void Put(const std::string& name, const std::string& type, unsigned long id) {
    lines.push_back(Hex(id) + " let " + name + "(" + type + "*) : void");
  }
  void Line(const std::string& line) { lines.push_back(line); }
  std::vector<std::string> lines;

 private:
  unsigned long reserved_ = 0;
};

class ClaimTypeLibrary : public testutil::TypeLibraryTest {
 protected:
  ClaimTypeLibrary() : TypeLibraryTest(L"sendarro7.dll") {}
  // The class's id and default interface id, and the default interface's members.
  void CheckClass(const char* clsid, const char* iid, const Expected& members) {
    EXPECT_EQ(clsid, GuidText(Guid(clsid)));  // well-formed
    EXPECT_EQ(iid, GuidText(testutil::DefaultInterfaceOf(lib, Guid(clsid)))) << clsid;
    EXPECT_EQ(members.lines, DescribeInterface(lib, Guid(iid))) << iid;
  }
};

}  // namespace

TEST_F(ClaimTypeLibrary, OutputModeTypes) {
  EXPECT_EQ((std::vector<std::string>{"OutputModeNSF=0", "OutputModeHCFA=1", "OutputMode837=2"}),
            testutil::DescribeEnum(lib, Guid("{9F624562-FB32-4DB7-B4E2-85966C90C893}")));
}

TEST_F(ClaimTypeLibrary, FileHeader) {
  EXPECT_EQ("{6218A0CE-49C1-420F-A599-0C3219349AB0}", GuidText(CLSID_FileHeader));
  Expected e;
  e.Object("OutFields", "_OutputFields*", 0x40030000);
  e.Object("Batchs", "_Batchs*", 0x40030001);
  e.Value("OutputMode", "OutputModeTypes", 0x40030002);
  const char* texts[] = {"EDIContactName", "EDIContactType", "EDIContactNum", "receiverName", "receiverNum",
                         "intrchgSndrID", "intrchgSndrIDType", "intrchgRcvrIDType", "ISA01", "ISA02",
                         "ISA03", "ISA04", "ISA05", "ISA06", "ISA07", "ISA08", "ISA14", "GS02", "GS03"};
  for (unsigned long i = 0; i < 19; ++i) e.Text(texts[i], 0x40030003 + i);
  e.Get("ServiceLineCount", "long", 0x68030021);
  e.Get("ClaimCount", "long", 0x68030020);
  e.Get("BatchCount", "long", 0x6803001F);
  e.Get("TotalCharges", "CURRENCY", 0x6803001E);
  e.Get("TotalPaidAmt", "CURRENCY", 0x6803001D);
  e.Get("TotalAllowedAmt", "CURRENCY", 0x6803001C);
  ASSERT_EQ(28u, std::size(kHeaderProperties));
  for (unsigned long i = 0; i < 28; ++i) e.Put(kHeaderProperties[i], "BSTR", 0x6803001B - i);
  EXPECT_EQ(Hex(0x6803000C) + " let receiverID(BSTR*) : void", e.lines[2 * 3 + 20 * 2 + 6 + 15]);
  CheckClass("{6218A0CE-49C1-420F-A599-0C3219349AB0}", "{B9255DBF-90A2-420B-911F-EFDD1A65B527}", e);
}

TEST_F(ClaimTypeLibrary, Batch) {
  EXPECT_EQ("{35445804-B97B-4D6A-920C-013B317A9D87}", GuidText(CLSID_Batch));
  Expected e;
  unsigned long id = 0x40030000;
  for (const char* t : {"reIssue", "prov837PrimID", "prov837PrimIDType", "prov837SecID", "prov837SecIDType",
                        "prov837OtherInsID", "prov837OtherInsIDType", "provPayToName", "provPayToIDType",
                        "provPayToID", "provSvcName", "provSvcIDType", "provSvcID"})
    e.Text(t, id++);
  e.Value("fileAsGroup", "VARIANT_BOOL", id++);
  e.Text("EDINumber", id++);
  e.Object("prov837SecIDCol", "IDispatch*", id++);
  e.Object("prov837SecIDTypeCol", "IDispatch*", id++);
  e.Value("prov837SameAsPayTo", "short", id++);
  e.Value("usingBillingService", "VARIANT_BOOL", id++);
  for (const char* t : {"billServName", "billServAddr1", "billServAddr2", "billServCity", "billServState",
                        "billServZip", "billServIDType", "billServID"})
    e.Text(t, id++);
  e.Object("OutFields", "_OutputFields*", id++);
  e.Object("Claims", "_Claims*", id++);
  EXPECT_EQ(0x4003001Du, id);  // 29 typed members
  e.Get("ServiceLineCount", "long", 0x68030029);
  e.Get("ClaimCount", "long", 0x68030028);
  e.Get("TotalCharges", "CURRENCY", 0x68030027);
  e.Get("TotalPaidAmt", "CURRENCY", 0x68030026);
  e.Get("TotalAllowedAmt", "CURRENCY", 0x68030025);
  ASSERT_EQ(37u, std::size(kBatchStore));
  for (unsigned long i = 0; i < 37; ++i) e.Put(kBatchStore[i], "BSTR", 0x68030024 - i);
  CheckClass("{35445804-B97B-4D6A-920C-013B317A9D87}", "{79C574A5-73F5-4110-838E-41EFB8F3CAEB}", e);
}

TEST_F(ClaimTypeLibrary, Claim) {
  EXPECT_EQ("{247652D9-35AE-4F42-9AB4-639EBDD3C5C4}", GuidText(CLSID_Claim));
  Expected e;
  e.Object("OutFields", "_OutputFields*", 0x40030000);
  e.Object("InsurancePolicies", "_InsurancePolicies*", 0x40030001);
  e.Object("ServiceLines", "_ServiceLines*", 0x40030002);
  unsigned long id = 0x40030003;
  for (const char* t : {"ReferProvSCode", "ReferDate", "SupvProvNPIType", "FacilityLabNPIType",
                        "specialProgramCode", "servAuthExcpCode"})
    e.Text(t, id++);
  e.Value("payerPaidAmount", "double", id++);
  e.Value("patResponsAmount", "double", id++);
  for (const char* t : {"payerPaymentDate", "ReferProvSecIDType", "ReferProvSecID"}) e.Text(t, id++);
  e.Object("prov837SecIDCol", "IDispatch*", id++);
  e.Object("prov837SecIDTypeCol", "IDispatch*", id++);
  e.Value("fileAsGroup", "VARIANT_BOOL", id++);
  e.Value("clmFreqTypeCode", "short", id++);
  for (const char* t : {"clmOrgRefNum", "supvProvSecID", "supvProvSecIDType"}) e.Text(t, id++);
  e.Object("prov837OtherInsSecIDCol", "IDispatch*", id++);
  e.Object("prov837OtherInsSecIDTypeCol", "IDispatch*", id++);
  e.Text("facilityOtherID", id++);
  e.Text("facilityOtherIDType", id++);
  EXPECT_EQ(0x40030019u, id);  // 25 typed members
  e.Get("ServiceLineCount", "long", 0x68030062);
  e.Get("TotalCharges", "CURRENCY", 0x68030061);
  e.Get("TotalPaidAmt", "CURRENCY", 0x68030060);
  e.Get("TotalAllowedAmt", "CURRENCY", 0x6803005F);
  e.Get("TotalDisalCostContChgs", "CURRENCY", 0x6803005E);
  e.Get("TotalDisalOtherChgs", "CURRENCY", 0x6803005D);
  e.Get("PatControlNo", "BSTR", 0x6803005C);
  e.Put("PatControlNo", "BSTR", 0x6803005C);
  ASSERT_EQ(94u, std::size(kClaimStore));
  unsigned long put = 0x6803005B;
  for (const char* f : kClaimStore) {
    std::string name = f;
    if (name != "PatControlNo" && name != "ReferProvEntityType") e.Put(name, "BSTR", put--);
  }
  EXPECT_EQ(0x6802FFFFu, put);  // ExtraNarrative took 0x68030000
  e.Put("ReferProvEntityType", "BSTR", 0x68030063);
  CheckClass("{247652D9-35AE-4F42-9AB4-639EBDD3C5C4}", "{97ED92A7-0B2F-441B-A9D0-A708F09A5AAA}", e);
}

TEST_F(ClaimTypeLibrary, ClaimsEarlierInterfaceIsAnAliasOfClaim) {
  ITypeInfo* ti = nullptr;
  ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(Guid("{6ED04252-27CA-4EA7-B9C6-55A78667A8F0}"), &ti));
  BSTR name = nullptr;
  ti->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
  EXPECT_STREQ(L"Claim___v0", name);
  SysFreeString(name);
  TYPEATTR* attr = nullptr;
  ASSERT_HRESULT_SUCCEEDED(ti->GetTypeAttr(&attr));
  EXPECT_EQ(TKIND_ALIAS, attr->typekind);
  ASSERT_EQ(VT_USERDEFINED, attr->tdescAlias.vt);
  ITypeInfo* target = nullptr;
  ASSERT_HRESULT_SUCCEEDED(ti->GetRefTypeInfo(attr->tdescAlias.hreftype, &target));
  TYPEATTR* targetAttr = nullptr;
  target->GetTypeAttr(&targetAttr);
  EXPECT_EQ("{97ED92A7-0B2F-441B-A9D0-A708F09A5AAA}", GuidText(targetAttr->guid));
  target->ReleaseTypeAttr(targetAttr);
  target->Release();
  ti->ReleaseTypeAttr(attr);
  ti->Release();
}

TEST_F(ClaimTypeLibrary, ServiceLine) {
  EXPECT_EQ("{E0A05769-3491-4B73-BE2C-7C0A3BB1F38C}", GuidText(CLSID_ServiceLine));
  const std::set<std::string> amounts = {"LineCharges", "DisallowedCostCont", "DisallowedOther", "ApprovedAmt",
                                         "PaidAmt"};
  ASSERT_EQ(63u, std::size(kLineStore));
  auto idOf = [&](const std::string& field) {
    unsigned long n = static_cast<unsigned long>(std::find(std::begin(kLineStore), std::end(kLineStore), field) -
                                                 std::begin(kLineStore)) + 1;
    return 0x68030000 + (63 - n);
  };
  Expected e;
  e.Text("EPSDTInd", 0x40030000);
  e.Object("OutFields", "_OutputFields*", 0x40030001);
  e.Get("LineItemControlNo", "BSTR", 0x6803003E);
  for (const char* f : kLineStore) e.Put(f, amounts.count(f) ? "CURRENCY" : "BSTR", idOf(f));
  for (const char* f : {"LineCharges", "PaidAmt", "ApprovedAmt", "DisallowedCostCont", "DisallowedOther"})
    e.Get(f, "CURRENCY", idOf(f));
  // The ids the Part names.
  EXPECT_EQ(0x6803003Eu, idOf("LineItemControlNo"));
  EXPECT_EQ(0x68030035u, idOf("LineCharges"));
  EXPECT_EQ(0x6803000Eu, idOf("PaidAmt"));
  EXPECT_EQ(0x6803000Fu, idOf("ApprovedAmt"));
  EXPECT_EQ(0x68030027u, idOf("DisallowedCostCont"));
  EXPECT_EQ(0x68030026u, idOf("DisallowedOther"));
  EXPECT_EQ(0x68030000u, idOf("DiagCodePointer8"));
  CheckClass("{E0A05769-3491-4B73-BE2C-7C0A3BB1F38C}", "{AD2241A0-A1ED-491F-A9FB-0FD84653AD80}", e);
}

namespace {
Expected PolicyMembers(bool withLastTwo) {
  Expected e;
  for (unsigned long i = 0; i < 18; ++i) e.Text(kPolicyTexts[i], 0x40030000 + i);
  e.Object("insrSecProvIDs", "IDispatch*", 0x40030012);
  e.Object("OutFields", "_OutputFields*", 0x40030013);
  for (unsigned long n = 1; n <= 76; ++n) e.Put(kPolicyStore[n - 1], "BSTR", 0x68030000 + (76 - n));
  if (withLastTwo) {
    e.Text("insrExclud2310BPRV", 0x4003004C);
    e.Text("l2300CN104", 0x4003004D);
  }
  return e;
}
}  // namespace

TEST_F(ClaimTypeLibrary, InsurancePolicyAndItsEarlierInterface) {
  EXPECT_EQ("{B0DA1B53-3375-4B86-A45C-F585F3EE048B}", GuidText(CLSID_InsurancePolicy));
  ASSERT_EQ(76u, std::size(kPolicyStore));
  ASSERT_EQ(20u, std::size(kPolicyTexts));
  EXPECT_STREQ("insrExclud2310BPRV", kPolicyTexts[18]);
  EXPECT_STREQ("l2300CN104", kPolicyTexts[19]);
  Expected full = PolicyMembers(true);
  EXPECT_EQ(Hex(0x6803004B) + " let ClaimFilingInd(BSTR*) : void", full.lines[18 * 2 + 6]);
  CheckClass("{B0DA1B53-3375-4B86-A45C-F585F3EE048B}", "{7C268B9F-A5B3-4606-9A8A-A2FB433C37EE}", full);
  // The earlier interface: every member but the last two, at the same positions.
  const GUID v0 = Guid("{9F3B829D-D080-40C5-88BE-316D4C793799}");
  EXPECT_EQ(PolicyMembers(false).lines, DescribeInterface(lib, v0));
  ITypeInfo* ti = nullptr;
  ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(v0, &ti));
  BSTR name = nullptr;
  ti->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
  EXPECT_STREQ(L"InsurancePolicy___v0", name);
  SysFreeString(name);
  ti->Release();
}

TEST_F(ClaimTypeLibrary, Collections) {
  struct Family {
    const char* clsid;
    const char* iid;
    const char* item;
  } unkeyed[] = {
      {"{780FD5CE-185F-41E3-86C8-74519CA5B516}", "{28CD6B98-A4EB-4E05-AF05-D7D1FCF29BBF}", "_Claim*"},
      {"{7E76D78E-229C-4265-9331-3372F6F51CF0}", "{DF5CD9EA-A712-4D18-9400-A16B10B0494A}", "_ServiceLine*"},
      {"{E504E530-2CE8-405C-9F23-CF818FD04AAE}", "{2495E186-89A6-48FA-B843-3132F967D872}", "_InsurancePolicy*"},
  };
  for (const Family& f : unkeyed) {
    Expected e;
    e.Line("0x60030001 func Add() : " + std::string(f.item));
    e.Line("0x00000000 get Item(VARIANT*) : " + std::string(f.item));
    e.Line("0x68030000 get Count() : long");
    e.Line("0x60030002 func Remove(VARIANT*) : void");
    e.Line("~-4 get NewEnum() : IUnknown*");
    CheckClass(f.clsid, f.iid, e);
  }
  EXPECT_EQ("{780FD5CE-185F-41E3-86C8-74519CA5B516}", GuidText(CLSID_Claims));
  EXPECT_EQ("{7E76D78E-229C-4265-9331-3372F6F51CF0}", GuidText(CLSID_ServiceLines));
  EXPECT_EQ("{E504E530-2CE8-405C-9F23-CF818FD04AAE}", GuidText(CLSID_InsurancePolicies));
  EXPECT_EQ("{3F8B0210-F587-47DD-BCBA-64F7EC0860B0}", GuidText(CLSID_Batchs));
  Expected b;
  b.Line("0x60030001 func BRExists(BSTR*) : VARIANT_BOOL");
  b.Line("0x60030002 func Add(BSTR*) : _Batch*");
  b.Line("0x00000000 get Item(VARIANT*) : _Batch*");
  b.Line("0x68030000 get Count() : long");
  b.Line("0x60030003 func Remove(VARIANT*) : void");
  b.Line("~-4 get NewEnum() : IUnknown*");
  CheckClass("{3F8B0210-F587-47DD-BCBA-64F7EC0860B0}", "{AE197CC8-F700-4644-875B-EDAC2346BCA5}", b);
}

// ---- registration and interface ids of the objects -------------------------------------------

namespace {

struct ClassIds {
  const wchar_t* progId;
  const char* clsid;
  const char* iid;
};
const ClassIds kClasses[] = {
    {L"sendarro7.FileHeader", "{6218A0CE-49C1-420F-A599-0C3219349AB0}", "{B9255DBF-90A2-420B-911F-EFDD1A65B527}"},
    {L"sendarro7.Batch", "{35445804-B97B-4D6A-920C-013B317A9D87}", "{79C574A5-73F5-4110-838E-41EFB8F3CAEB}"},
    {L"sendarro7.Claim", "{247652D9-35AE-4F42-9AB4-639EBDD3C5C4}", "{97ED92A7-0B2F-441B-A9D0-A708F09A5AAA}"},
    {L"sendarro7.ServiceLine", "{E0A05769-3491-4B73-BE2C-7C0A3BB1F38C}", "{AD2241A0-A1ED-491F-A9FB-0FD84653AD80}"},
    {L"sendarro7.InsurancePolicy", "{B0DA1B53-3375-4B86-A45C-F585F3EE048B}", "{7C268B9F-A5B3-4606-9A8A-A2FB433C37EE}"},
    {L"sendarro7.Batchs", "{3F8B0210-F587-47DD-BCBA-64F7EC0860B0}", "{AE197CC8-F700-4644-875B-EDAC2346BCA5}"},
    {L"sendarro7.Claims", "{780FD5CE-185F-41E3-86C8-74519CA5B516}", "{28CD6B98-A4EB-4E05-AF05-D7D1FCF29BBF}"},
    {L"sendarro7.ServiceLines", "{7E76D78E-229C-4265-9331-3372F6F51CF0}", "{DF5CD9EA-A712-4D18-9400-A16B10B0494A}"},
    {L"sendarro7.InsurancePolicies", "{E504E530-2CE8-405C-9F23-CF818FD04AAE}", "{2495E186-89A6-48FA-B843-3132F967D872}"},
};
const char* const kClaimV0 = "{6ED04252-27CA-4EA7-B9C6-55A78667A8F0}";
const char* const kPolicyV0 = "{9F3B829D-D080-40C5-88BE-316D4C793799}";

std::wstring RegValue(const std::wstring& key, const wchar_t* name = nullptr) {
  wchar_t value[256] = {};
  DWORD bytes = sizeof value, type = 0;
  HKEY h;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return L"<missing>";
  LONG rc = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
  RegCloseKey(h);
  return rc == ERROR_SUCCESS ? value : L"<no value>";
}

std::wstring Wide(const char* s) { return std::wstring(s, s + strlen(s)); }

com::Ptr<IUnknown> Create(const char* clsid) {
  com::Ptr<IUnknown> obj;
  EXPECT_HRESULT_SUCCEEDED(CoCreateInstance(Guid(clsid), nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                            reinterpret_cast<void**>(obj.out())));
  return obj;
}

}  // namespace

TEST(ClaimRegistration, ProgIdsClassIdsAndApartment) {
  for (const ClassIds& c : kClasses) {
    CLSID clsid;
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(c.progId, &clsid)) << c.clsid;
    EXPECT_EQ(c.clsid, GuidText(clsid));
    EXPECT_EQ(L"Apartment", RegValue(L"CLSID\\" + Wide(c.clsid) + L"\\InprocServer32", L"ThreadingModel"));
    // Each default interface is registered as an Automation interface of the library.
    EXPECT_EQ(L"{40FBDD15-DFC0-4715-B44E-CD3162EF272C}", RegValue(L"Interface\\" + Wide(c.iid) + L"\\TypeLib"));
  }
}

TEST(ClaimRegistration, EarlierInterfaceIds) {
  EXPECT_EQ(L"{00020424-0000-0000-C000-000000000046}",
            RegValue(L"Interface\\" + Wide(kClaimV0) + L"\\ProxyStubClsid32"));
  EXPECT_EQ(L"{97ED92A7-0B2F-441B-A9D0-A708F09A5AAA}", RegValue(L"Interface\\" + Wide(kClaimV0) + L"\\Forward"));
  EXPECT_EQ(L"{40FBDD15-DFC0-4715-B44E-CD3162EF272C}", RegValue(L"Interface\\" + Wide(kClaimV0) + L"\\TypeLib"));
  EXPECT_EQ(L"{40FBDD15-DFC0-4715-B44E-CD3162EF272C}", RegValue(L"Interface\\" + Wide(kPolicyV0) + L"\\TypeLib"));
}

TEST(ClaimObjects, AnswerTheirInterfaceIdsAndEarlierOnes) {
  for (const ClassIds& c : kClasses) {
    auto obj = Create(c.clsid);
    ASSERT_TRUE(obj) << c.clsid;
    com::Ptr<IUnknown> itf, earlier;
    ASSERT_HRESULT_SUCCEEDED(obj->QueryInterface(Guid(c.iid), reinterpret_cast<void**>(itf.out()))) << c.clsid;
    com::Ptr<IDispatch> disp;
    ASSERT_HRESULT_SUCCEEDED(obj->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(disp.out())));
    EXPECT_EQ(static_cast<IUnknown*>(disp.get()), itf.get());
    const bool isClaim = std::string(c.clsid) == "{247652D9-35AE-4F42-9AB4-639EBDD3C5C4}";
    const bool isPolicy = std::string(c.clsid) == "{B0DA1B53-3375-4B86-A45C-F585F3EE048B}";
    // The earlier id gives the same interface as the default one, and only on its own class.
    HRESULT hr = obj->QueryInterface(Guid(kClaimV0), reinterpret_cast<void**>(earlier.out()));
    EXPECT_EQ(isClaim ? S_OK : E_NOINTERFACE, hr) << c.clsid;
    if (isClaim) {
      EXPECT_EQ(itf.get(), earlier.get());
    }
    hr = obj->QueryInterface(Guid(kPolicyV0), reinterpret_cast<void**>(earlier.out()));
    EXPECT_EQ(isPolicy ? S_OK : E_NOINTERFACE, hr) << c.clsid;
    if (isPolicy) {
      EXPECT_EQ(itf.get(), earlier.get());
    }
    // Errors are reported through IErrorInfo on the default interface.
    com::Ptr<ISupportErrorInfo> sei;
    ASSERT_HRESULT_SUCCEEDED(obj->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(sei.out())));
    EXPECT_EQ(S_OK, sei->InterfaceSupportsErrorInfo(Guid(c.iid)));
  }
}

// ---- every write-only property, late-bound by name ---------------------------------------------

namespace {

using testutil::Call;

com::Ptr<IDispatch> GetObject(IDispatch* d, const wchar_t* name) {
  com::Variant v;
  EXPECT_EQ(0, Call(d, name, DISPATCH_PROPERTYGET, {}, &v)) << "get " << testing::PrintToString(std::wstring(name));
  return v.vt == VT_DISPATCH ? com::Ptr<IDispatch>(v.pdispVal) : nullptr;
}

std::wstring GetText(IDispatch* d, const wchar_t* name) {
  com::Variant v;
  EXPECT_EQ(0, Call(d, name, DISPATCH_PROPERTYGET, {}, &v));
  return v.vt == VT_BSTR ? com::FromBstr(v.bstrVal) : L"<not text>";
}

// The object's store seen through IDispatch: each field's object, held for quick re-reading.
class StoreView {
 public:
  explicit StoreView(IDispatch* owner) {
    com::Ptr<IDispatch> store = GetObject(owner, L"OutFields");
    com::Variant count;
    EXPECT_EQ(0, Call(store.get(), L"Count", DISPATCH_PROPERTYGET, {}, &count));
    for (long i = 1; i <= count.lVal; ++i) {
      VARIANT at;
      at.vt = VT_I4;
      at.lVal = i;
      com::Variant f;
      EXPECT_EQ(0, Call(store.get(), L"Item", DISPATCH_PROPERTYGET, {at}, &f));
      fields_.emplace_back(GetText(f.pdispVal, L"Name"), com::Ptr<IDispatch>(f.pdispVal));
    }
  }
  std::map<std::wstring, std::wstring> Values() {
    std::map<std::wstring, std::wstring> out;
    for (auto& [name, f] : fields_) out[name] = GetText(f.get(), L"Value");
    return out;
  }
  std::vector<std::wstring> Names() const {
    std::vector<std::wstring> out;
    for (auto& nf : fields_) out.push_back(nf.first);
    return out;
  }

 private:
  std::vector<std::pair<std::wstring, com::Ptr<IDispatch>>> fields_;
};

struct Property {
  std::string name;   // the property
  std::string field;  // the field it stores under
  bool amount;        // takes a Currency
};

// Writes each property by name with a value of its own and checks that exactly its field
// changed, to exactly that value; and that the property has no get (where the Part gives none).
void CheckWriteOnlyProperties(const char* clsid, const std::vector<Property>& props,
                              const std::set<std::string>& withGet) {
  auto obj = Create(clsid);
  com::Ptr<IDispatch> d;
  ASSERT_HRESULT_SUCCEEDED(obj->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(d.out())));
  StoreView view(d.get());
  auto before = view.Values();
  ASSERT_EQ(props.size(), before.size()) << clsid;
  int n = 0;
  for (const Property& p : props) {
    ++n;
    const std::wstring name = Wide(p.name.c_str()), field = Wide(p.field.c_str());
    VARIANT arg;
    std::wstring expected;
    com::Variant owned;
    if (p.amount) {
      arg.vt = VT_CY;
      arg.cyVal.int64 = 10000LL * n + 2500;  // n.25
      expected = std::to_wstring(n) + L".25";
    } else {
      expected = L"value " + std::to_wstring(n) + L" of " + name;
      owned.vt = VT_BSTR;
      owned.bstrVal = SysAllocString(expected.c_str());
      arg = owned;
    }
    EXPECT_EQ(0, Call(d.get(), name, DISPATCH_PROPERTYPUT, {arg}, nullptr)) << p.name;
    auto after = view.Values();
    for (auto& [f, v] : after) {
      if (f == field)
        EXPECT_EQ(expected, v) << p.name << " stores under " << p.field;
      else
        EXPECT_EQ(before[f], v) << p.name << " changed " << testing::PrintToString(f);
    }
    EXPECT_EQ(1u, after.count(field)) << p.name;
    before = after;
    if (!withGet.count(p.name)) {
      com::Variant none;
      EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Call(d.get(), name, DISPATCH_PROPERTYGET, {}, &none)) << p.name;
    }
  }
}

std::vector<Property> Same(const char* const* names, size_t count, const std::set<std::string>& amounts = {}) {
  std::vector<Property> out;
  for (size_t i = 0; i < count; ++i) out.push_back({names[i], names[i], amounts.count(names[i]) != 0});
  return out;
}

}  // namespace

TEST(WriteOnlyProperties, FileHeader) {
  std::vector<Property> props;
  for (const char* p : kHeaderProperties) props.push_back({p, std::string(p) == "receiverID" ? "ReceiverId" : p, false});
  CheckWriteOnlyProperties("{6218A0CE-49C1-420F-A599-0C3219349AB0}", props, {});
}

TEST(WriteOnlyProperties, Batch) {
  CheckWriteOnlyProperties("{35445804-B97B-4D6A-920C-013B317A9D87}", Same(kBatchStore, std::size(kBatchStore)), {});
}

TEST(WriteOnlyProperties, Claim) {
  CheckWriteOnlyProperties("{247652D9-35AE-4F42-9AB4-639EBDD3C5C4}", Same(kClaimStore, std::size(kClaimStore)),
                           {"PatControlNo"});
}

TEST(WriteOnlyProperties, ServiceLine) {
  const std::set<std::string> amounts = {"LineCharges", "DisallowedCostCont", "DisallowedOther", "ApprovedAmt",
                                         "PaidAmt"};
  std::set<std::string> withGet = amounts;
  withGet.insert("LineItemControlNo");
  CheckWriteOnlyProperties("{E0A05769-3491-4B73-BE2C-7C0A3BB1F38C}",
                           Same(kLineStore, std::size(kLineStore), amounts), withGet);
}

TEST(WriteOnlyProperties, InsurancePolicy) {
  CheckWriteOnlyProperties("{B0DA1B53-3375-4B86-A45C-F585F3EE048B}", Same(kPolicyStore, std::size(kPolicyStore)),
                           {});
}

TEST(WriteOnlyProperties, StoresAreInStoreOrder) {
  struct {
    const char* clsid;
    const char* const* names;
    size_t count;
  } classes[] = {
      {"{6218A0CE-49C1-420F-A599-0C3219349AB0}", kHeaderStore, std::size(kHeaderStore)},
      {"{35445804-B97B-4D6A-920C-013B317A9D87}", kBatchStore, std::size(kBatchStore)},
      {"{247652D9-35AE-4F42-9AB4-639EBDD3C5C4}", kClaimStore, std::size(kClaimStore)},
      {"{E0A05769-3491-4B73-BE2C-7C0A3BB1F38C}", kLineStore, std::size(kLineStore)},
      {"{B0DA1B53-3375-4B86-A45C-F585F3EE048B}", kPolicyStore, std::size(kPolicyStore)},
  };
  for (auto& c : classes) {
    auto obj = Create(c.clsid);
    com::Ptr<IDispatch> d;
    ASSERT_HRESULT_SUCCEEDED(obj->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(d.out())));
    std::vector<std::wstring> expected;
    for (size_t i = 0; i < c.count; ++i) expected.push_back(Wide(c.names[i]));
    EXPECT_EQ(expected, StoreView(d.get()).Names()) << c.clsid;
  }
}

TEST(WriteOnlyProperties, AmountsTakeWhatAHostPasses) {
  auto obj = Create("{E0A05769-3491-4B73-BE2C-7C0A3BB1F38C}");
  com::Ptr<IDispatch> d;
  ASSERT_HRESULT_SUCCEEDED(obj->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(d.out())));
  // A script passes a double, or a variable (a Variant by reference).
  VARIANT dbl;
  dbl.vt = VT_R8;
  dbl.dblVal = 125.5;
  EXPECT_EQ(0, Call(d.get(), L"LineCharges", DISPATCH_PROPERTYPUT, {dbl}, nullptr));
  com::Variant inner;
  inner.vt = VT_R8;
  inner.dblVal = -3.25;
  VARIANT ref;
  ref.vt = VT_BYREF | VT_VARIANT;
  ref.pvarVal = &inner;
  EXPECT_EQ(0, Call(d.get(), L"PaidAmt", DISPATCH_PROPERTYPUT, {ref}, nullptr));
  EXPECT_EQ(VT_R8, inner.vt);
  EXPECT_EQ(-3.25, inner.dblVal);  // left unchanged
  auto values = StoreView(d.get()).Values();
  EXPECT_EQ(L"125.5", values[L"LineCharges"]);
  EXPECT_EQ(L"-3.25", values[L"PaidAmt"]);
  com::Variant back;
  EXPECT_EQ(0, Call(d.get(), L"PaidAmt", DISPATCH_PROPERTYGET, {}, &back));
  EXPECT_EQ(VT_CY, back.vt);
  EXPECT_EQ(-32500, back.cyVal.int64);
  // A text that is no amount: 13 from the put's conversion, nothing stored.
  com::Variant letters;
  letters.vt = VT_BSTR;
  letters.bstrVal = SysAllocString(L"abc");
  EXPECT_EQ(DISP_E_TYPEMISMATCH, Call(d.get(), L"ApprovedAmt", DISPATCH_PROPERTYPUT, {letters}, nullptr));
  EXPECT_EQ(L"", StoreView(d.get()).Values()[L"ApprovedAmt"]);
}
