// Write837 driving the registered EDI document by class id: the set-up, the envelope, the
// submitter, receiver and billing provider levels, and the end, on a fixed clock.
#include "write837_fixture.h"

namespace claimfile::Edi837 {
namespace {

TEST(ControlNumber, IsDaysLess38000ThenSecondsUnpadded) {
  EXPECT_EQ(L"114236005", ControlNumberAt(At(10, 0, 5)));
  EXPECT_EQ(L"11427", ControlNumberAt(At(0, 0, 7)));
  // 1 June 2031 is day 48000: the days count on from 0 so ISA13 keeps its nine digits.
  SYSTEMTIME june2031 = InJune2031(23, 59, 59);
  EXPECT_EQ(L"086399", ControlNumberAt(june2031));
  june2031.wDay = 2;
  EXPECT_EQ(L"186399", ControlNumberAt(june2031));
  EXPECT_EQ(L"C:\\837_4010.SEF", GuidePath(L"C:\\"));
  EXPECT_EQ(L"C:\\app\\837_4010.SEF", GuidePath(L"C:\\app"));
}

TEST_F(Write837Test, HeaderWithoutBatchesIsTheEnvelopeOnly) {
  ASSERT_TRUE(Run());
  EXPECT_EQ(kISA + kGSToREF + "SE*4*000042~GE*1*000042~IEA*1*114236005~", Output());
  EXPECT_EQ(L"000042", StoreOf(header->OutFields).ValueOf(L"SubNo"));
  EXPECT_EQ("", Log());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(out->file(L"X.LOG").c_str()));
  EXPECT_EQ("", Boxes());
}

TEST_F(Write837Test, BatchWithoutClaimsWritesSubmitterAndReceiverOnly) {
  AddBatch(L"P1").billServName = L"";
  ASSERT_TRUE(Run());
  EXPECT_EQ(kISA + kGSToREF +
                "NM1*41*2*ACME BILLING*****46*E123~PER*IC*JANE ROE*TE*2125551234~NM1*40*2*BIG PAYER*****46*R99~"
                "SE*7*000042~GE*1*000042~IEA*1*114236005~",
            Output());
}

TEST_F(Write837Test, EnvelopeBranches) {
  struct Case {
    const wchar_t *isa01, *gs02, *gs03, *subType, *subNo, *password, *subId;
    SYSTEMTIME clock;
    std::string isa, gs;
    std::string log = "";  // a missing value logs its line, and the answer is False
  } cases[] = {
      {L"", L"", L"", L"RCV99", L"42", L"secret", L"lower", At(10, 0, 5),
       "ISA*00*          *01*secret    *ZZ*SENDER1        *ZZ*RCV99          *070301*1000*U*00401*114236005*0*T*:",
       "GS*HC*lower*RCV99*20070301*1000*000042*X*004010X098A1"},
      {L"", L"", L"", L"", L"1234567", L"", L"SUBID", At(0, 0, 7),
       "ISA*00*          *00*          *ZZ*SENDER1        *ZZ*FMIXED         *070301*0000*U*00401*000011427*0*T*:",
       "GS*HC*SUBID*FMIXED*20070301*0000*1234567*X*004010X098A1"},
      {L"03", L"gsme", L"", L"RCV99", L"42", L"", L"SUBID", At(10, 0, 5),
       "ISA*03*PW        *01*SEC       *ZZ*ME             *01*YOU            *070301*1000*U*00401*114236005*1*T*:",
       "GS*HC*GSME*FMIXED*20070301*1000*000042*X*004010X098A1"},
      {L"03", L"gsme", L"rcv", L"RCV99", L"42", L"", L"SUBID", At(10, 0, 5),
       "ISA*03*PW        *01*SEC       *ZZ*ME             *01*YOU            *070301*1000*U*00401*114236005*1*T*:",
       "GS*HC*GSME*RCV*20070301*1000*000042*X*004010X098A1"},
      {L"", L"", L"", L"RCV99", L"", L"", L"SUBID", At(10, 0, 5),
       "ISA*00*          *00*          *ZZ*SENDER1        *ZZ*RCV99          *070301*1000*U*00401*114236005*0*T*:",
       "GS*HC*SUBID*RCV99*20070301*1000*114236005*X*004010X098A1",  // the interchange's number stands in
       "Missing Submission Number  Find at:Electronic Filing Information\r\n"},
      // Blanks are no number, and neither are letters: logged, and the interchange's number stands in.
      {L"", L"", L"", L"RCV99", L"   ", L"", L"SUBID", At(10, 0, 5),
       "ISA*00*          *00*          *ZZ*SENDER1        *ZZ*RCV99          *070301*1000*U*00401*114236005*0*T*:",
       "GS*HC*SUBID*RCV99*20070301*1000*114236005*X*004010X098A1",
       "Missing Submission Number  Find at:Electronic Filing Information\r\n"},
      {L"", L"", L"", L"RCV99", L"ABC", L"", L"SUBID", At(10, 0, 5),
       "ISA*00*          *00*          *ZZ*SENDER1        *ZZ*RCV99          *070301*1000*U*00401*114236005*0*T*:",
       "GS*HC*SUBID*RCV99*20070301*1000*114236005*X*004010X098A1",
       "Missing Submission Number (\"ABC\" is not a number of 1 to 9 digits)  Find at:Electronic Filing "
       "Information\r\n"},
      {L"", L"", L"", L"RCV99", L"42", L"", L"SUBID", InJune2031(2, 46, 40),
       "ISA*00*          *00*          *ZZ*SENDER1        *ZZ*RCV99          *310601*0246*U*00401*000010000*0*T*:",
       "GS*HC*SUBID*RCV99*20310601*0246*000042*X*004010X098A1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.isa);
    TearDown();
    SetUp();
    FileHeader& h = *header;
    h.ISA01 = c.isa01, h.ISA02 = L"pw", h.ISA03 = L"01", h.ISA04 = L"sec", h.ISA05 = L"zz", h.ISA06 = L"me";
    h.ISA07 = L"01", h.ISA08 = L"you", h.ISA14 = L"1", h.GS02 = c.gs02, h.GS03 = c.gs03;
    StoreField(h.OutFields, L"SubType", c.subType);
    StoreField(h.OutFields, L"SubNo", c.subNo);
    StoreField(h.OutFields, L"Password", c.password);
    StoreField(h.OutFields, L"SubId", c.subId);
    InjectClock(c.clock);
    EXPECT_EQ(c.log.empty(), Run());
    EXPECT_EQ(c.isa, Segment("ISA"));
    EXPECT_EQ(c.gs, Segment("GS"));
    size_t gs06 = 0;
    for (int i = 0; i < 6; ++i) gs06 = c.gs.find('*', gs06) + 1;
    EXPECT_EQ("ST*837*" + c.gs.substr(gs06, c.gs.find('*', gs06) - gs06), Segment("ST")) << "ST02 is GS06";
    EXPECT_EQ(c.log, Log());
  }
}

TEST_F(Write837Test, ContactNumber) {
  struct Case {
    const wchar_t *type, *number;
    std::string per, log;
  } cases[] = {
      {L"TE", L"(212) 555-1234 x12", "PER*IC*JANE ROE*TE*2125551234*EX*12", ""},
      {L"TE", L"212-555-1234", "PER*IC*JANE ROE*TE*2125551234", ""},
      {L"em", L"(212) 555-1234 x12", "PER*IC*JANE ROE*em*2125551234", ""},
      {L"EM", L"jane@Example.com", "PER*IC*JANE ROE*EM*JANE@EXAMPLE.COM", ""},
      {L"FX", L"212 555 1234 5", "PER*IC*JANE ROE*FX*2125551234", ""},
      {L"TE", L"", "PER*IC*JANE ROE*TE", "Missing EDI Contact Number  Find at:Electronic Filing Information\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.per);
    TearDown();
    SetUp();
    AddBatch(L"P1");
    header->EDIContactType = c.type, header->EDIContactNum = c.number;
    EXPECT_EQ(c.log.empty(), Run());
    EXPECT_EQ(c.per, Segment("PER"));
    EXPECT_EQ(c.log, Log());
  }
}

TEST_F(Write837Test, HeadsComeFromTheFirstBatchAndHLNumbersRunOnAcrossBatches) {
  Batch& first = AddBatch(L"P1");
  AddClaim(first);
  AddClaim(first);
  Batch& second = AddBatch(L"P2");
  second.EDINumber = L"E999", second.billServName = L"Other Service";
  AddClaim(second);
  expected = Counts{6, 3, 3};
  ASSERT_TRUE(Run());
  const std::string body = Body();
  EXPECT_EQ(0u, body.find("NM1*41*2*BILLING CO*****46*E123~PER*IC*JANE ROE*TE*2125551234~NM1*40*2*BIG PAYER"));
  EXPECT_EQ(std::string::npos, body.find("E999"));
  const std::string provider = kOrganisationProvider.substr(11);  // after the HL
  const std::string claimLoop =
      "CLM*C1*100***11::0*Y~HI*BK:7840~LX*1~SV1*HC:99213*100*UN*1***1~DTP*472*D8*20070301~";
  EXPECT_EQ("HL*1**20*1~" + provider + SubscriberLevel(2, 1) + claimLoop + "HL*3**20*1~" + provider +
                SubscriberLevel(4, 3) + claimLoop + "HL*5**20*1~" + provider + SubscriberLevel(6, 5) + claimLoop,
            body.substr(body.find("HL*1*")));
}

TEST(ProviderChange, PayToAgainstTheRenderingProvider) {
  struct Case {
    const wchar_t *payTo, *last, *first, *idType, *payToId, *primId;
    bool changed;
  } cases[] = {
      {L"SMITH JOHN", L"Smith", L"John", L"", L"1", L"2", false},
      {L"john smith", L"Smith", L"John", L"24", L"1", L"2", false},
      {L"Smith Clinic", L"Smith", L"John", L"", L"1", L"1", true},
      {L"", L"", L"", L"", L"", L"", true},
      {L"SMITH JOHN", L"Smith", L"John", L"XX", L"12-345", L"12345", false},
      {L"SMITH JOHN", L"Smith", L"John", L"XX", L"12345", L"12346", true},
      {L"SMITH JOHN", L"Smith", L"John", L"xx", L"12345", L"12346", false},
  };
  for (const Case& c : cases) {
    auto b = Batch::New();
    b->provPayToName = c.payTo, b->provPayToIDType = c.idType, b->provPayToID = c.payToId, b->prov837PrimID = c.primId;
    StoreField(b->OutFields, L"ProvLastName", c.last);
    StoreField(b->OutFields, L"ProvFirstName", c.first);
    EXPECT_EQ(c.changed, ProviderChanged(*b)) << std::string(c.payTo, c.payTo + wcslen(c.payTo));
  }
}

TEST_F(Write837Test, BillingProviderBranches) {
  const std::string heads = "NM1*41*2*ACME BILLING*****46*E123~PER*IC*JANE ROE*TE*2125551234~NM1*40*2*BIG PAYER*****46*R99~";
  const std::string specialty = "Missing Provider Specialty (Taxonomy) Code for Smith Clinic  Find at:Provider/EFile Tab\r\n";
  struct Case {
    bool service, person, group;
    const wchar_t *speciality, *gs03;
    std::string body, log;
  } cases[] = {
      {false, false, false, L"207q00000x", L"", kOrganisationProvider, ""},
      {false, false, true, L"207q00000x", L"", "HL*1**20*1~NM1*85*2*SMITH CLINIC*****XX*12345~N3*1 MAIN ST~"
                                                "N4*SPRINGFIELD*ILLINOIS*627011234~", ""},
      {false, true, true, L"207q00000x", L"", "HL*1**20*1~PRV*BI*ZZ*207Q00000X~NM1*85*1*SMITH*JOHN*Q***24*998877~"
                                               "N3*1 MAIN ST~N4*SPRINGFIELD*ILLINOIS*627011234~", ""},
      {false, false, false, L"", L"431420764", "HL*1**20*1~NM1*85*2*SMITH CLINIC*****XX*12345~N3*1 MAIN ST~"
                                               "N4*SPRINGFIELD*ILLINOIS*627011234~", specialty},
      {false, false, false, L"", L" 431420764", "HL*1**20*1~NM1*85*2*SMITH CLINIC*****XX*12345~N3*1 MAIN ST~"
                                                "N4*SPRINGFIELD*ILLINOIS*627011234~", ""},
      {true, false, false, L"207q00000x", L"", "HL*1**20*1~PRV*PT*ZZ*207Q00000X~NM1*85*2*BILLING CO*****FI*11222~"
                                               "N3*9 SIDE RD~N4*BOSTON*MA*02101~NM1*87*2*SMITH CLINIC*****XX*12345~"
                                               "N3*1 MAIN ST~N4*SPRINGFIELD*IL*627011234~", ""},
      {true, false, false, L"", L"431420764", "HL*1**20*1~NM1*85*2*BILLING CO*****FI*11222~"
                                              "N3*9 SIDE RD~N4*BOSTON*MA*02101~NM1*87*2*SMITH CLINIC*****XX*12345~"
                                              "N3*1 MAIN ST~N4*SPRINGFIELD*IL*627011234~", specialty},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    TearDown();
    SetUp();
    Batch& b = AddBatch(L"P1");
    b.usingBillingService = c.service;
    if (!c.service) b.billServName = L"";
    StoreField(b.OutFields, L"ProvSpeciality", c.speciality);
    header->GS02 = L"G", header->GS03 = c.gs03;
    Claim& claim = AddClaim(b);
    claim.fileAsGroup = c.group;
    Policy(claim).insrSet2010AAToInd = c.person ? L"Y" : L"y";
    EXPECT_EQ(c.log.empty(), Run());
    EXPECT_EQ(c.body, Body().substr(Body().find("HL*1*")).substr(0, c.body.size()));
    EXPECT_EQ(c.log, Log());
  }
}

TEST_F(Write837Test, EmptyProviderValuesLogTheirLinesInOrder) {
  Batch& b = AddBatch(L"P1");
  b.provPayToName = L"", b.prov837PrimID = L"", b.provPayToID = L"";
  StoreField(b.OutFields, L"ProvPAYTOAddr1", L"");
  StoreField(b.OutFields, L"ProvPAYTOState", L"");
  Policy(AddClaim(b)).insrSet2010AAToInd = L"Y";
  EXPECT_FALSE(Run());
  EXPECT_EQ("Missing PayTo/BillTo Provider Tax ID for Smith  Find at:Provider/HCFA Details Tab\r\n"
            "Missing Pay-To Provider ID for   Find at:Company Information or Provider/Demographics Tab\r\n"
            "Missing Pay-To Provider Address for   Find at:Company Information or Provider/Demographics Tab\r\n"
            "Missing Pay-To Provider State for   Find at:Company Information or Provider/HCFA Details Tab or "
            "Provider/Demographics Tab\r\n",
            Log());
}

TEST_F(Write837Test, UHINMarkerBesideTheDataFolderSetsISA08Once) {
  for (bool beside : {false, true}) {
    TearDown();
    SetUp();
    const std::wstring marker = beside ? data->path() + L"UHIN.txt" : data->file(L"UHIN.txt");
    CloseHandle(CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    AddClaim(AddBatch(L"P1"));
    Batch& second = AddBatch(L"P2");
    second.provPayToID = L"77777";
    AddClaim(second);
    EXPECT_TRUE(Run());
    EXPECT_EQ(beside ? "12345          " : "RCV99          ", Segment("ISA").substr(54, 15));
    DeleteFileW(marker.c_str());
  }
}

TEST_F(Write837Test, SecondaryIdentifiers) {
  const std::string type14 = "  Find at:Provider/HCFA Details Tab\r\n", at10 = "  Find at:Insurance Comp/HCFA Details Tab\r\n";
  struct Case {
    bool service, person, group;
    std::vector<std::wstring> ids, types, policyIds;  // policyIds {L"-"}: never set
    const wchar_t *medicaidType, *medicaidNo;
    std::string refs, log;
  } cases[] = {
      {false, false, false, {}, {}, {L"-"}, L"1D", L"", "", ""},
      {false, false, false, {L"abc-1", L"x2"}, {L"1C", L""}, {L"-"}, L"", L"", "REF*1C*ABC-1~REF**X2~",
       "Missing Bill-To Provider Secondary ID Type for Smith, John with Payer One" + type14},
      {false, false, true, {L"c1"}, {L"1C"}, {L"-"}, L"1D", L"", "REF*1D~",
       "Missing Pay-To Provider Secondary ID for Smith Clinic" + at10},
      {false, false, true, {}, {}, {L"abc|1b", L" noqual "}, L"1D", L"m123", "REF*1D*M123~REF*1b*ABC~REF**NOQUAL~",
       "Missing Pay-To Provider Secondary ID Type for Smith Clinic with Payer One" + at10},
      {false, true, false, {}, {}, {L"-"}, L"1D", L"m123", "", ""},
      {false, true, false, {L"p1", L"p2"}, {L"0B"}, {L"-"}, L"", L"", "REF*0B*P1~REF**P2~",
       "Missing Pay-To Provider Secondary ID Type for Smith Clinic" + type14},
      {true, false, true, {}, {}, {L"q|zz"}, L"1D", L"m9", "REF*1D*M9~REF*1D*M9~REF*zz*Q~", ""},
      {true, false, false, {L"c1"}, {L""}, {L"-"}, L"", L"", "REF**C1~REF**C1~",
       "Missing Pay-To Provider Secondary ID Type for Smith, John with Payer One" + type14 +
           "Missing Pay-To Provider Secondary ID Type for Smith, John with Payer One" + type14},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.refs);
    TearDown();
    SetUp();
    Batch& b = AddBatch(L"P1");
    b.usingBillingService = c.service;
    Claim& claim = AddClaim(b);
    claim.fileAsGroup = c.group;
    claim.prov837SecIDCol = Ids(c.ids);
    claim.prov837SecIDTypeCol = Ids(c.types);
    InsurancePolicy& p = Policy(claim);
    p.insrSet2010AAToInd = c.person ? L"Y" : L"";
    if (c.policyIds != std::vector<std::wstring>{L"-"}) p.insrSecProvIDs = Ids(c.policyIds);
    p.medicaidIDNoType = c.medicaidType;
    StoreField(p.OutFields, L"MedicaidIdNo", c.medicaidNo);
    EXPECT_EQ(c.log.empty(), Run());
    std::string refs, body = Body();
    for (size_t at = 0; (at = body.find("REF*", at)) != std::string::npos; at = body.find('~', at) + 1)
      refs += body.substr(at, body.find('~', at) + 1 - at);
    EXPECT_EQ(c.refs, refs);
    EXPECT_EQ(c.log, Log());
    EXPECT_EQ("", Boxes());
  }
}

TEST_F(Write837Test, SeparatorInDataStopsTheWritingAndKeepsAnOlderOutput) {
  const std::string remove =
      ".\rElectronic files use symbols as internal delimiters.  Symbols that are reserved for the 837 include: "
      "*, :, ~.  Please remove these symbols from this client's data.\r";
  struct Case {
    const wchar_t *payTo, *receiver, *subId;
    std::string firstLine, element, value;  // the component's description names the element and value
  } cases[] = {
      {L"Smith*Clinic", L"Big Payer", L"SUBID", "Error found in 2000NBS-1 for Doe, Jane", "NM103", "SMITH*CLINIC"},
      {L"Smith Clinic", L"Big:Payer", L"SUBID", "Error found in 1000B", "NM103", "BIG:PAYER"},
      {L"Smith Clinic", L"Big Payer", L"S~1", "Error found in A", "GS02", "S~1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.firstLine);
    TearDown();
    SetUp();
    const std::string older = "older output";
    HANDLE h = CreateFileW(OutputPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD wrote = 0;
    WriteFile(h, older.data(), static_cast<DWORD>(older.size()), &wrote, nullptr);
    CloseHandle(h);
    Batch& b = AddBatch(L"P1");
    b.provPayToName = c.payTo;
    AddClaim(b);
    header->receiverName = c.receiver;
    StoreField(header->OutFields, L"SubId", c.subId);
    EXPECT_FALSE(Run());
    const std::string text =
        c.firstLine + remove + "The value \"" + c.value + "\" of " + c.element + " holds a separator character\r";
    EXPECT_EQ("Error Creating File: " + text + "\n", Boxes());
    EXPECT_EQ(text + "\r\n", Log());
    EXPECT_EQ(older, Output());
  }
}

TEST_F(Write837Test, OneLogPerExport) {
  header->intrchgSndrID = L"";
  const std::string line = "Missing Interchange Submitter ID  Find at:Electronic Filing Information\r\n";
  EXPECT_FALSE(Run());
  EXPECT_EQ("IEA*1*114236005~", Output().substr(Output().size() - 16));  // saved all the same
  EXPECT_FALSE(Run());  // a second header of the same export appends
  EXPECT_EQ(line + line, Log());
  header->intrchgSndrID = L"SENDER1";
  EXPECT_FALSE(Run());  // nothing missing, but the export has logged
  StartExport();
  EXPECT_TRUE(Run());  // a new export without missing data leaves the old log alone
  EXPECT_EQ(line + line, Log());
  header->intrchgSndrID = L"";
  StartExport();
  EXPECT_FALSE(Run());  // a new export's first line empties it
  EXPECT_EQ(line, Log());
}

TEST_F(Write837Test, FailuresOfTheSetUpAndTheSaveAnswerFalseWithTheirBox) {
  testutil::TempDir noGuide;
  const std::wstring noLogPath = out->file(L"none\\X.LOG");
  const std::string noLog(noLogPath.begin(), noLogPath.end());
  struct Case {
    std::wstring appFolder, output;
    std::string boxStart;
    bool longReceiverId = false;
    bool noSenderId = false;  // a line to log
  } cases[] = {
      {appFolder, L"ab", "Error Creating File: Error found in A - 5, Invalid procedure call or argument\n"},
      {noGuide.path(), OutputPath(), "Error Creating File: Error found in A - 12310, "},
      {appFolder, out->file(L"none\\X.837"), "Error Creating File: Error found in SAVE - 12320, "},
      {appFolder, OutputPath(), "Error Creating File: Error found in 2000NBS-1 - 12304, ", true},
      // A log that cannot be made names itself.
      {appFolder, out->file(L"none\\X.837"),
       "Error Creating File: Error found in A - 76, Path not found (log " + noLog + ")\n",
       false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.boxStart);
    boxes.Clear();
    InjectFolders(Folders{c.appFolder, data->path(), data->path(), data->path(), data->path()});
    const std::wstring marker = data->path() + L"UHIN.txt";
    if (c.longReceiverId) {
      CloseHandle(CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      AddClaim(AddBatch(L"P1")).fileAsGroup = false;
      header->Batchs->Item(1)->provPayToID = L"1234567890123456";
    }
    header->intrchgSndrID = c.noSenderId ? L"" : L"SENDER1";
    EXPECT_FALSE(Run(c.output));
    DeleteFileW(marker.c_str());
    EXPECT_EQ(c.boxStart, Boxes().substr(0, c.boxStart.size()));
    EXPECT_EQ(1u, boxes.shown().size());
    EXPECT_EQ("", Output());
  }
}

}  // namespace
}  // namespace claimfile::Edi837
