// The fixture of the writer's tests: a header with its envelope values, batches and claims
// built in C++, Write837 run against the registered EDI document on a fixed clock, and what it
// saved, logged and showed.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/file_header.h"
#include "model/general_collection.h"
#include "model/model_support.h"
#include "recording_presenter.h"
#include "test_util.h"
#include "x837/edi837.h"

namespace claimfile::Edi837 {
namespace {

using testutil::ReadBytes;

// {10038AC2-5972-4783-8124-8A658BFAFA0F}
const CLSID kDocument = {0x10038AC2, 0x5972, 0x4783, {0x81, 0x24, 0x8A, 0x65, 0x8B, 0xFA, 0xFA, 0x0F}};

inline SYSTEMTIME At(WORD hour, WORD minute, WORD second) {
  SYSTEMTIME t{};
  t.wYear = 2007, t.wMonth = 3, t.wDay = 1, t.wHour = hour, t.wMinute = minute, t.wSecond = second;
  return t;
}
// A time on 1 June 2031, the first day whose count less 38000 has five digits.
inline SYSTEMTIME InJune2031(WORD hour, WORD minute, WORD second) {
  SYSTEMTIME t = At(hour, minute, second);
  t.wYear = 2031, t.wMonth = 6, t.wDay = 1;
  return t;
}

inline std::wstring ExeFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return FolderOf(path);
}

inline com::Ptr<IDispatch> Ids(std::vector<std::wstring> items) {
  auto c = GeneralCollection::New();
  for (const auto& i : items) c->Add(i);
  return com::Ptr<IDispatch>(c.get());
}

const std::string kEnvelopeEnd = "REF*87*004010X098A1~";
const std::string kISA =
    "ISA*00*          *00*          *ZZ*SENDER1        *ZZ*RCV99          *070301*1000*U*00401*114236005*0*T*:~";
const std::string kGSToREF =
    "GS*HC*SUBID*RCV99*20070301*1000*000042*X*004010X098A1~ST*837*000042~"
    "BHT*0019*00*000042*20070301*1000*CH~REF*87*004010X098A1~";
const std::string kOrganisationProvider =
    "HL*1**20*1~PRV*BI*ZZ*207Q00000X~NM1*85*2*SMITH CLINIC*****XX*12345~N3*1 MAIN ST~"
    "N4*SPRINGFIELD*ILLINOIS*627011234~";

class Write837Test : public testing::Test {
 protected:
  // Each case starts afresh: a new header, empty folders, no export under way.
  void SetUp() override {
    header = FileHeader::New();
    data = std::make_unique<testutil::TempDir>();
    out = std::make_unique<testutil::TempDir>();
    boxes.Clear();
    expected.reset();
    StartExport();
    InjectFolders(Folders{appFolder, data->path(), data->path(), data->path(), data->path()});
    InjectClock(At(10, 0, 5));
    FileHeader& h = *header;
    for (auto [name, value] : {std::pair{L"SubId", L"SUBID"}, {L"SubType", L"RCV99"}, {L"SubNo", L"42"},
                               {L"TestProdInd", L"T"}, {L"SubName", L"Acme Billing"}})
      StoreField(h.OutFields, name, value);
    h.intrchgSndrIDType = h.intrchgRcvrIDType = L"ZZ";
    h.intrchgSndrID = L"SENDER1";
    h.EDIContactName = L"Jane Roe", h.EDIContactType = L"TE", h.EDIContactNum = L"212-555-1234";
    h.receiverName = L"Big Payer", h.receiverNum = L"R99";
  }
  void TearDown() override {
    StartExport();
    InjectFolders(std::nullopt);
    InjectClock(std::nullopt);
  }

  Batch& AddBatch(const wchar_t* key) {
    Batch& b = *header->Batchs->Add(key);
    for (auto [name, value] : {std::pair{L"ProvLastName", L"Smith"}, {L"ProvFirstName", L"John"},
                               {L"ProvMI", L"q"}, {L"ProvSpeciality", L"207q00000x"},
                               {L"ProvPAYTOAddr1", L"1 Main St"}, {L"ProvPAYTOCity", L"Springfield"},
                               {L"ProvPAYTOState", L"Illinois"}, {L"ProvPAYTOZip", L"62701-1234"}})
      StoreField(b.OutFields, name, value);
    b.EDINumber = L"E123";
    b.provPayToName = L"Smith Clinic", b.provPayToIDType = L"XX", b.provPayToID = L"12-345";
    b.prov837PrimIDType = L"24", b.prov837PrimID = L"99-8877";
    b.billServName = L"Billing Co", b.billServIDType = L"FI", b.billServID = L"11-222";
    b.billServAddr1 = L"9 Side Rd", b.billServCity = L"Boston", b.billServState = L"Mass", b.billServZip = L"02101";
    b.prov837SameAsPayTo = 1;  // no rendering provider loop (2310B) unless a test asks for one
    return b;
  }
  Claim& AddClaim(Batch& b) {
    Claim& c = *b.Claims->Add();
    StoreField(c.OutFields, L"PatLastName", L"Doe");
    StoreField(c.OutFields, L"PatFirstName", L"Jane");
    StoreField(c.InsurancePolicies->Add()->OutFields, L"PayorName", L"Payer One");
    CompleteSubscriber(Policy(c));
    // What every claim loop needs: a service line, a diagnosis; no accident.
    StoreField(c.OutFields, L"PatControlNo", L"C1");
    StoreField(c.OutFields, L"AccidentInd", L"N");
    StoreField(c.OutFields, L"DiagnosisCode1", L"7840");
    // One complete line: 3/1/2007, 99213, 100, one unit at place 11, diagnosis pointer 1.
    ServiceLine& line = *c.ServiceLines->Add();
    for (auto [name, value] : {std::pair{L"SvcFromDate", L"3/1/2007"}, {L"SvcToDate", L"3/1/2007"},
                               {L"HCPCSProcedureCode", L"99213"}, {L"LineCharges", L"100"}, {L"UnitsOfSvc", L"1"},
                               {L"PlaceOfSvc", L"11"}, {L"DiagCodePointer1", L"1"}})
      StoreField(line.OutFields, name, value);
    return c;
  }
  InsurancePolicy& Policy(Claim& c) { return *c.InsurancePolicies->Item(1); }

  bool Run(const std::wstring& output = L"") {
    com::Ptr<IDispatch> doc;
    EXPECT_HRESULT_SUCCEEDED(CoCreateInstance(kDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                              reinterpret_cast<void**>(doc.out())));
    const std::wstring path = output.empty() ? OutputPath() : output;
    const std::string before = ReadBytes(path);
    const bool answer = Write837(path, *header, doc.get());
    KeepInterchange(path, before);
    return answer;
  }
  // What Run saved (a file it made or changed) is copied into the build tree's folder of saved
  // interchanges as <suite>.<test>-<n>.837, which tests/x837/parse_interchanges.js parses strictly;
  // with the HL, CLM and LX counts a case sets in `expected` beside it, as <name>.expect.
  struct Counts {
    int hl, clm, lx;
  };
  std::optional<Counts> expected;
  void KeepInterchange(const std::wstring& path, const std::string& before) {
#ifdef X837_INTERCHANGES
    const std::string saved = ReadBytes(path);
    if (saved.empty() || saved == before) return;
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(test->test_suite_name()) + "." + test->name() + "-" + std::to_string(++kept);
    const std::wstring folder = L"" X837_INTERCHANGES;
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"\\" + std::wstring(name.begin(), name.end());
    testutil::WriteBytes(file + L".837", saved);
    if (expected)
      testutil::WriteBytes(file + L".expect", "{\"hl\": " + std::to_string(expected->hl) + ", \"clm\": " +
                                                  std::to_string(expected->clm) + ", \"lx\": " +
                                                  std::to_string(expected->lx) + "}\n");
#endif
  }
  int kept = 0;
  std::wstring OutputPath() const { return out->file(L"X.837"); }
  std::string Output() const { return ReadBytes(OutputPath()); }
  std::string Log() const { return ReadBytes(out->file(L"X.LOG")); }
  // The transaction set between the envelope's REF and SE.
  std::string Body() const {
    const std::string o = Output();
    const size_t from = o.find(kEnvelopeEnd) + kEnvelopeEnd.size();
    return o.substr(from, o.find("~SE*") + 1 - from);
  }
  std::string Segment(const std::string& id) const {
    std::string o = "~";
    o += Output();
    const size_t at = o.find("~" + id + "*");
    return at == std::string::npos ? "" : o.substr(at + 1, o.find('~', at + 1) - at - 1);
  }
  std::string Boxes() const {
    std::string s;
    for (const auto& b : boxes.shown()) s += std::string(b.title.begin(), b.title.end()) + ": " +
                                             std::string(b.prompt.begin(), b.prompt.end()) + "\n";
    return s;
  }

  // ---- Subscriber levels -------------------------------------------------------------------
  // The first policy of every claim AddClaim makes: the patient is the subscriber, and every
  // value the subscriber and payer loops check is given.
  static void CompleteSubscriber(InsurancePolicy& p) {
    for (auto [name, value] :
         {std::pair{L"ClaimFilingInd", L"P"}, {L"PatRelToInsured", L"18"}, {L"GroupNo", L"g-77"},
          {L"InsuredLastName", L"Doe"}, {L"InsuredFirstName", L"Jane"}, {L"InsuredIdNo", L"abc123"},
          {L"InsuredAddr1", L"5 Elm St"}, {L"InsuredCity", L"Peoria"}, {L"InsuredState", L"il"},
          {L"InsuredZip", L"61602"}, {L"InsuredDateOfBirth", L"3/4/1970"}, {L"InsuredSex", L"f"},
          {L"NationalPayerId", L"p0001"}, {L"PayorAddr1", L"PO Box 1"}, {L"PayorCity", L"Chicago"},
          {L"PayorState", L"IL"}, {L"PayorZip", L"60601-0001"}})
      StoreField(p.OutFields, name, value);
    p.subcriberCFI = L"ci";
  }
  // The 2000B, 2010BA and 2010BB of that policy, the 2000B being HL hl under the 2000A parent.
  static std::string SubscriberLevel(int hl, int parent) {
    return "HL*" + std::to_string(hl) + "*" + std::to_string(parent) +
           "*22*0~SBR*P*18*G-77******CI~NM1*IL*1*DOE*JANE****MI*ABC123~N3*5 ELM ST~N4*PEORIA*IL*61602~"
           "DMG*D8*19700304*F~NM1*PR*2*Payer One*****PI*P0001~N3*PO BOX 1~N4*CHICAGO*IL*606010001~";
  }

  const std::wstring appFolder = ExeFolder();
  std::unique_ptr<testutil::TempDir> data, out;
  vb::ScopedRecordingPresenter boxes;
  com::Ptr<FileHeader> header;
};

}  // namespace
}  // namespace claimfile::Edi837
