// EDIFile.Export: the walk over the file headers in their output modes, the 837 through the
// registered EDI document, and every failure ending in one box with valid837 False and nothing
// half-written in the output's folder.
#include <functional>
#include <set>

#include "../x837/write837_fixture.h"
#include "dispatch_call.h"
#include "nsf/edi_file.h"
#include "nsf/nsf_format.h"
#include "nsf_fixture.h"

namespace claimfile::Edi837 {
namespace {


// The names in a folder.
std::set<std::wstring> Listing(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do
    if (found.cFileName != std::wstring(L".") && found.cFileName != std::wstring(L"..")) names.insert(found.cFileName);
  while (FindNextFileW(h, &found));
  FindClose(h);
  return names;
}

// A presenter that also runs a probe while each box is up.
class ProbingPresenter : public vb::ScopedRecordingPresenter {
 public:
  std::function<void()> probe;
  long MessageBox(const std::wstring& prompt, long buttons, const std::wstring& title) override {
    if (probe) probe();
    return ScopedRecordingPresenter::MessageBox(prompt, buttons, title);
  }
};

// The writer's fixture, with its header held by an EDIFile under the key "837".
class ExportTest : public Write837Test {
 public:
  using Write837Test::header;
  void SetUp() override {
    Write837Test::SetUp();
    State().CurrentPosition.clear();
    file = EDIFile::New();
    auto held = file->FileHeader(L"837");
    for (auto& f : *header->OutFields) StoreField(held->OutFields, f->Name, f->Value);
    FileHeader& h = *held;
    h.intrchgSndrIDType = header->intrchgSndrIDType, h.intrchgRcvrIDType = header->intrchgRcvrIDType;
    h.intrchgSndrID = header->intrchgSndrID, h.EDIContactName = header->EDIContactName;
    h.EDIContactType = header->EDIContactType, h.EDIContactNum = header->EDIContactNum;
    h.receiverName = header->receiverName, h.receiverNum = header->receiverNum;
    h.OutputMode = OutputMode837;
    header = held;
    file->OutputFileName = OutputPath();
  }
  // A header in NSF mode with one claim.
  FileHeader& NsfHeader(const wchar_t* key) {
    FileHeader& h = *file->FileHeader(key);
    h.OutputMode = OutputModeNSF;
    Batch& b = nsftest::AddBatch(h, L"P", {{L"BatchNo", L"1"}});
    nsftest::AddLine(nsftest::AddClaim(b, {{L"PatControlNo", key}}), {{L"LineCharges", L"10"}});
    return h;
  }
  // The one box of a failed export: its title, icon and text.
  void ExpectOneErrorBox(const std::string& text) {
    ASSERT_EQ(1u, probing.shown().size());
    const auto& b = probing.shown()[0];
    EXPECT_EQ(L"Error Creating File", b.title);
    EXPECT_EQ(vb::vbExclamation | vb::vbOKOnly, b.buttons);
    EXPECT_EQ(text, std::string(b.prompt.begin(), b.prompt.end()));
  }

  ProbingPresenter probing;  // installed after the fixture's presenter, so it is the one shown to
  com::Ptr<EDIFile> file;
  nsftest::FixedClock clock{{nsftest::Moment(2007, 3, 1, 10, 0, 5)}};
};

TEST_F(ExportTest, NothingToWriteOpensNoFile) {
  header->OutputMode = OutputModeHCFA;
  EXPECT_FALSE(file->valid837());
  for (int headers : {1, 0}) {
    if (headers == 0) file->Remove(1L);
    file->DoExport();
    EXPECT_TRUE(file->valid837());
    EXPECT_TRUE(Listing(out->path()).empty());
  }
  EXPECT_TRUE(probing.shown().empty());
}

TEST_F(ExportTest, NsfHeadersShareOneFileThatReplacesAnEarlierOne) {
  header->OutputMode = OutputModeHCFA;
  NsfHeader(L"FIRST");
  NsfHeader(L"SECOND");
  testutil::WriteBytes(out->file(L"X.837"), "EARLIER");
  file->DoExport();
  EXPECT_TRUE(probing.shown().empty());
  EXPECT_TRUE(file->valid837());
  auto records = nsftest::Records(Output());
  EXPECT_EQ("AA0 BA0 BA1 CA0 EA0 EA1 FA0 XA0 YA0 ZA0 AA0 BA0 BA1 CA0 EA0 EA1 FA0 XA0 YA0 ZA0", nsftest::Ids(records));
  EXPECT_EQ("FIRST ", nsftest::Cols(records[3], 6, 11));
  EXPECT_EQ("SECOND", nsftest::Cols(records[13], 6, 11));
  EXPECT_EQ(std::set<std::wstring>{L"X.837"}, Listing(out->path()));
}

TEST_F(ExportTest, An837HeaderThroughANewDocument) {
  AddClaim(AddBatch(L"P1"));
  file->ediDocStillProcessing = true;
  file->DoExport();
  EXPECT_TRUE(probing.shown().empty());
  EXPECT_TRUE(file->valid837()) << Log();
  EXPECT_EQ("ISA*", Output().substr(0, 4));
  EXPECT_EQ(std::set<std::wstring>{L"X.837"}, Listing(out->path())) << "no log";
  EXPECT_FALSE(file->oEdiDoc()) << "released after the header";
  EXPECT_FALSE(file->ediDocStillProcessing) << "ProgressComplete of the save reached the object";
}

TEST_F(ExportTest, AValidationLogClearsValid837AndEachExportStartsItsLogAnew) {
  Claim& c = AddClaim(AddBatch(L"P1"));
  StoreField(c.OutFields, L"DiagnosisCode1", L"");
  file->DoExport();
  EXPECT_FALSE(file->valid837());
  EXPECT_TRUE(probing.shown().empty());
  const std::string log = Log();
  EXPECT_NE(std::string::npos, log.find("Find at:"));
  file->DoExport();
  EXPECT_FALSE(file->valid837());
  EXPECT_EQ(log, Log()) << "the second export's log replaces the first's";
}

TEST_F(ExportTest, TheDocumentHoldsOption29AndItsEventsWhileTheWriterRuns) {
  Claim& c = AddClaim(AddBatch(L"P1"));
  StoreField(Policy(c).OutFields, L"InsuredLastName", L"DO*E");  // a separator in the data stops the writer
  long option = 0;
  probing.probe = [&] {
    com::Variant v;
    ASSERT_TRUE(file->oEdiDoc());
    ASSERT_EQ(S_OK, testutil::CallId(file->oEdiDoc().get(), 29, DISPATCH_PROPERTYGET, {}, &v));
    option = v.lVal;
  };
  file->DoExport();
  EXPECT_EQ(2, option);
  EXPECT_FALSE(file->valid837());
  EXPECT_FALSE(file->oEdiDoc());

  // A document the host sets: its events drive ediDocStillProcessing, until another replaces it.
  com::Ptr<IEdiDocument> first, second;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(EDIFile::kEdiDocumentClass, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IEdiDocument, reinterpret_cast<void**>(first.out())));
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(EDIFile::kEdiDocumentClass, nullptr, CLSCTX_INPROC_SERVER,
                                            IID_IEdiDocument, reinterpret_cast<void**>(second.out())));
  StoreField(Policy(c).OutFields, L"InsuredLastName", L"DOE");
  file->SetEdiDoc(first);
  StartExport();
  std::vector<bool> seen;  // the object's flag as a later sink of the same document sees it
  auto watcher = nsf::DocumentEvents::Connect(first.get(), [&](bool) { seen.push_back(file->ediDocStillProcessing); });
  EXPECT_TRUE(Write837(OutputPath(), *header, first.get()));
  EXPECT_EQ((std::vector<bool>{true, false}), seen);
  file->SetEdiDoc(second);
  file->ediDocStillProcessing = true;
  EXPECT_TRUE(Write837(OutputPath(), *header, first.get()));
  EXPECT_TRUE(file->ediDocStillProcessing) << "the replaced document's events no longer arrive";
  watcher->Disconnect();
}

// Every failure: one box, valid837 False, and the folder as it was (an earlier file unchanged,
// nothing under a new name, no temporary file).
TEST_F(ExportTest, FailuresLeaveTheFolderAsItWas) {
  enum class Folder { Earlier, Missing, ReadOnly, HeldOpen };
  struct Case {
    const char* what;
    Folder folder;
    std::function<void(ExportTest&)> arrange;
    std::string box;  // the text after "Error found in  - "
    bool hostDocument = false;  // the host has set oEdiDoc before the export: it stays
  };
  // The 837 header of the fixture steps aside for an NSF header, unless a case needs it.
  auto nsf = [](ExportTest& t) {
    t.header->OutputMode = OutputModeHCFA;
    return &t.NsfHeader(L"A");
  };
  // The NSF header's claim, with a second line when `line` is 2, whose values are set.
  auto lineOf = [&](ExportTest& t, int line, nsftest::Values values) {
    Claim& c = *nsf(t)->Batchs->Item(1)->Claims->Item(1);
    ServiceLine& l = line == 1 ? *c.ServiceLines->Item(1) : nsftest::AddLine(c);
    for (auto [name, value] : values) StoreField(l.OutFields, name, value);
  };
  const Case cases[] = {
      {"missing folder", Folder::Missing, nsf, "76, Path not found (file <target>)"},
      {"read-only folder", Folder::ReadOnly, nsf, "75, Path/File access error (file <target>)"},
      {"target held open without sharing", Folder::HeldOpen, nsf, "70, Permission denied (file <target>)"},
      {"overlong BatchNo mid-file", Folder::Earlier,
       [&](ExportTest& t) {
         nsf(t);
         StoreField(t.NsfHeader(L"B").Batchs->Item(1)->OutFields, L"BatchNo", L"12345");
       },
       "5, Invalid procedure call or argument (record BA0, field BatchNo \"12345\")"},
      {"overlong line control number", Folder::Earlier,
       [&](ExportTest& t) {
         Claim& c = *nsf(t)->Batchs->Item(1)->Claims->Item(1);
         StoreField(c.OutFields, L"PatLastName", L"Doe");
         StoreField(c.OutFields, L"PatFirstName", L"Jane");
         StoreField(c.ServiceLines->Item(1)->OutFields, L"LineItemControlNo", L"123456789012345678");
       },
       "5, Invalid procedure call or argument (record FA0, field LineItemControlNo \"123456789012345678\", "
       "claim A of Doe, Jane)"},
      {"a 100th line", Folder::Earlier,
       [&](ExportTest& t) {
         Claim& c = *nsf(t)->Batchs->Item(1)->Claims->Item(1);
         for (int i = 0; i < 99; ++i) nsftest::AddLine(c);
       },
       "5, Invalid procedure call or argument (record FA0, the line's sequence number at columns 4-5 \"100\", "
       "claim A)"},
      {"a claim's charges past XA0's seven digits", Folder::Earlier,
       [&](ExportTest& t) {
         Claim& c = *nsf(t)->Batchs->Item(1)->Claims->Item(1);
         StoreField(c.ServiceLines->Item(1)->OutFields, L"LineCharges", L"60000");
         nsftest::AddLine(c, {{L"LineCharges", L"40000"}});
       },
       "5, Invalid procedure call or argument (record XA0, the claim's TotalCharges at columns 78-84 \"100000\", "
       "claim A)"},
      {"a line amount stored as letters", Folder::Earlier,
       [&](ExportTest& t) {
         StoreField(nsf(t)->Batchs->Item(1)->Claims->Item(1)->ServiceLines->Item(1)->OutFields, L"LineCharges", L"ten");
       },
       "13, Type mismatch: LineCharges \"ten\" is not an amount (record FA0, claim A)"},
      // Amounts that FA0 prints and the claim's total refuses: the field, the line and the value.
      {"a line amount that reads as a number only to IsNumeric", Folder::Earlier,
       [&](ExportTest& t) { lineOf(t, 1, {{L"LineCharges", L"$12.50"}}); },
       "13, Type mismatch: LineCharges \"$12.50\" of service line 1 is not an amount (record XA0, claim A)"},
      {"a bracketed line amount on a second line", Folder::Earlier,
       [&](ExportTest& t) { lineOf(t, 2, {{L"LineCharges", L"(5)"}}); },
       "13, Type mismatch: LineCharges \"(5)\" of service line 2 is not an amount (record XA0, claim A)"},
      {"a line amount after a blank, on a line with a control number", Folder::Earlier,
       [&](ExportTest& t) { lineOf(t, 1, {{L"LineItemControlNo", L"7"}, {L"LineCharges", L" 12.5"}}); },
       "13, Type mismatch: LineCharges \" 12.5\" of the service line with LineItemControlNo \"7\" is not an amount "
       "(record XA0, claim A)"},
      {"a paid amount that does not read, in a later claim of a later batch", Folder::Earlier,
       [&](ExportTest& t) {
         Batch& b = nsftest::AddBatch(*nsf(t), L"Q", {{L"BatchNo", L"2"}});
         nsftest::AddLine(nsftest::AddClaim(b, {{L"PatControlNo", L"B"}}));
         nsftest::AddLine(nsftest::AddClaim(b, {{L"PatControlNo", L"C"}}), {{L"PaidAmt", L"$8"}});
       },
       "13, Type mismatch: PaidAmt \"$8\" of service line 1 is not an amount (record XA0, claim C)"},
      {"a policy amount that does not read", Folder::Earlier,
       [&](ExportTest& t) { nsftest::AddPolicy(*nsf(t)->Batchs->Item(1)->Claims->Item(1), {{L"AllowedAmount", L"12.50 USD"}}); },
       "13, Type mismatch: AllowedAmount \"12.50 USD\" is not an amount (record DA1, claim A)"},
      {"the host's document after a failed NSF export", Folder::Missing, nsf, "76, Path not found (file <target>)",
       true},
      {"NSF and 837 headers under one name", Folder::Earlier, [](ExportTest& t) { t.NsfHeader(L"A"); },
       "5, NSF and 837 file headers would both write <target>; export them one at a time"},
      {"two 837 headers under one name", Folder::Earlier,
       [](ExportTest& t) { t.file->FileHeader(L"again")->OutputMode = OutputMode837; },
       "5, 2 file headers in 837 mode would each save an interchange as <target>; export them one at a time"},
      {"a failure out of Write837", Folder::Earlier,
       [](ExportTest& t) {
         SYSTEMTIME bad = At(10, 0, 5);
         bad.wMonth = 13;  // no control number can be formed
         InjectClock(bad);
       },
       "5, Invalid procedure call or argument"},
  };
  const std::string earlier = "EARLIER\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    probing.Clear();
    std::wstring folder = out->path();
    if (c.folder == Folder::Missing) folder += L"\\missing";
    if (c.folder == Folder::ReadOnly) {
      folder = L"" NSF_READONLY_FOLDER;
      const std::wstring probe = folder + L"\\probe.tmp";
      HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        DeleteFileW(probe.c_str());
        ADD_FAILURE() << "the read-only folder of the fixture can be written by this user";
        continue;
      }
    }
    const std::wstring target = folder + L"\\claims.nsf";
    if (c.folder == Folder::Earlier || c.folder == Folder::HeldOpen) testutil::WriteBytes(target, earlier);
    const auto before = Listing(folder);
    file->OutputFileName = target;
    c.arrange(*this);
    com::Ptr<IEdiDocument> hostDocument;
    if (c.hostDocument) {
      ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(EDIFile::kEdiDocumentClass, nullptr, CLSCTX_INPROC_SERVER,
                                                IID_IEdiDocument, reinterpret_cast<void**>(hostDocument.out())));
      file->SetEdiDoc(hostDocument);
    }
    HANDLE held = c.folder == Folder::HeldOpen ? CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                             0, nullptr)
                                               : INVALID_HANDLE_VALUE;
    file->DoExport();
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);

    std::string box = c.box;
    const size_t at = box.find("<target>");
    if (at != std::string::npos) box.replace(at, 8, std::string(target.begin(), target.end()));
    ExpectOneErrorBox("Error found in  - " + box);
    EXPECT_FALSE(file->valid837());
    EXPECT_EQ(hostDocument.get(), file->oEdiDoc().get());
    EXPECT_EQ(before, Listing(folder));
    if (c.folder == Folder::Missing) {
      EXPECT_TRUE(Listing(out->path()).empty()) << "the missing folder is not made";
    } else {
      EXPECT_EQ(earlier, testutil::ReadBytes(target));
    }
  }
}

}  // namespace
}  // namespace claimfile::Edi837
