// The service lines (2400): LX numbering per claim, the SV1 table, the service date, the
// type-of-service override and the two line warnings.
#include "write837_fixture.h"

namespace claimfile::Edi837 {
namespace {

using Fields = std::vector<std::pair<const wchar_t*, const wchar_t*>>;

// A line of 3/1/2007, 99213, 125.5, one unit at place 11, pointer 1; then the given fields
// ("EPSDTInd" is the line's member).
ServiceLine& AddLine(Claim& claim, const Fields& fields = {}) {
  ServiceLine& line = *claim.ServiceLines->Add();
  Fields all = {{L"SvcFromDate", L"3/1/2007"}, {L"SvcToDate", L"3/1/2007"}, {L"HCPCSProcedureCode", L"99213"},
                {L"LineCharges", L"125.5"},    {L"UnitsOfSvc", L"1"},         {L"PlaceOfSvc", L"11"},
                {L"DiagCodePointer1", L"1"}};
  all.insert(all.end(), fields.begin(), fields.end());
  for (auto [name, value] : all) {
    if (std::wstring(name) == L"EPSDTInd")
      line.EPSDTInd = value;
    else
      StoreField(line.OutFields, name, value);
  }
  return line;
}

// A suite of its own: the fixture of each test file is a class of that file. Its claims start
// without lines: each test adds its own.
class ServiceLineTest : public Write837Test {
 protected:
  Claim& AddClaim(Batch& b) {
    Claim& c = Write837Test::AddClaim(b);
    c.ServiceLines->Remove(1L);
    return c;
  }
};

const std::string kSV1 = "SV1*HC:99213*125.5*UN*1***1~", kDay = "DTP*472*D8*20070301~";

TEST_F(ServiceLineTest, LinesAreNumberedFromOneInEachClaim) {
  Batch& b = AddBatch(L"P1");
  Claim& first = AddClaim(b);
  AddLine(first);
  AddLine(first, {{L"SvcToDate", L"3/3/2007"}});
  AddLine(first, {{L"HCPCSModifier1", L"25"}});
  AddLine(AddClaim(b));
  ASSERT_TRUE(Run());
  const std::string provider = kOrganisationProvider.substr(11);
  const std::string claim = "~HI*BK:7840~";  // after CLM01 C1, CLM02 the claim's charges, place 11
  EXPECT_EQ("HL*1**20*1~" + provider + SubscriberLevel(2, 1) + "CLM*C1*376.5***11::0*Y" + claim + "LX*1~" + kSV1 +
                kDay + "LX*2~" + kSV1 + "DTP*472*RD8*20070301-20070303~" + "LX*3~SV1*HC:99213:25*125.5*UN*1***1~" +
                kDay + "HL*3**20*1~" + provider + SubscriberLevel(4, 3) + "CLM*C1*125.5***11::0*Y" + claim +
                "LX*1~" + kSV1 + kDay,
            Body().substr(Body().find("HL*1*")));
}

TEST_F(ServiceLineTest, LineSegmentsAndWarnings) {
  const std::string zero = "A zero charge amount was entered for Jane Doe on 03/01/2007  Find at:Client Ledger\r\n";
  const std::string illness = "Date of Current Illness is later than service date of 03/01/07 for Jane Doe  Find "
                              "at:Client Setup/Insurance Tab/HCFA Details\r\n";
  struct Case {
    std::vector<Fields> lines;
    const char* tos;  // TOS.txt, nullptr: none
    const wchar_t* accident;
    std::string segments, log;
  } cases[] = {
      {{{{L"HCPCSModifier1", L"2559"}, {L"HCPCSProcedureCode", L"j1234"}}}, nullptr, L"",
       "LX*1~SV1*HC:j1234:25:59*125.5*UN*1***1~" + kDay, ""},
      {{{{L"HCPCSModifier1", L"25GT59QWXX"}}, {{L"HCPCSModifier1", L"255"}}}, nullptr, L"",
       "LX*1~SV1*HC:99213:25:GT:59:QW*125.5*UN*1***1~" + kDay + "LX*2~SV1*HC:99213:25:5*125.5*UN*1***1~" + kDay, ""},
      // Place of service only where it differs from the first line's, case and all.
      {{{}, {{L"PlaceOfSvc", L"22"}}, {}}, nullptr, L"",
       "LX*1~" + kSV1 + kDay + "LX*2~SV1*HC:99213*125.5*UN*1*22**1~" + kDay + "LX*3~" + kSV1 + kDay, ""},
      {{{{L"PlaceOfSvc", L"1a"}}, {{L"PlaceOfSvc", L"1A"}}}, nullptr, L"",
       "LX*1~" + kSV1 + kDay + "LX*2~SV1*HC:99213*125.5*UN*1*1A**1~" + kDay, ""},
      {{{{L"EmergencyInd", L"n"}, {L"EPSDTInd", L"N"}}, {{L"EmergencyInd", L"1"}, {L"EPSDTInd", L"x"}},
        {{L"EPSDTInd", L"Y"}}},
       nullptr, L"",
       "LX*1~" + kSV1 + kDay + "LX*2~SV1*HC:99213*125.5*UN*1***1**Y**Y~" + kDay +
           "LX*3~SV1*HC:99213*125.5*UN*1***1****Y~" + kDay,
       ""},
      // SV106 only for a primary payer listed in TOS.txt.
      {{{{L"TypeOfSvcCode", L"01"}}, {{L"TypeOfSvcCode", L"5.0"}}, {}}, "other\r\npay01\r\n", L"",
       "LX*1~SV1*HC:99213*125.5*UN*1**1*1~" + kDay + "LX*2~SV1*HC:99213*125.5*UN*1**5*1~" + kDay +
           "LX*3~SV1*HC:99213*125.5*UN*1**0*1~" + kDay,
       ""},
      {{{{L"TypeOfSvcCode", L"01"}}}, "other\r\n", L"", "LX*1~" + kSV1 + kDay, ""},
      {{{{L"TypeOfSvcCode", L"01"}}}, nullptr, L"", "LX*1~" + kSV1 + kDay, ""},
      // An empty to-date is one day.
      {{{{L"SvcToDate", L""}}}, nullptr, L"", "LX*1~" + kSV1 + kDay, ""},
      {{{{L"LineCharges", L"0"}}, {{L"LineCharges", L""}}, {{L"LineCharges", L"0.01"}}}, nullptr, L"",
       "LX*1~SV1*HC:99213*0*UN*1***1~" + kDay + "LX*2~SV1*HC:99213**UN*1***1~" + kDay +
           "LX*3~SV1*HC:99213*0.01*UN*1***1~" + kDay,
       zero + zero},
      {{{}, {{L"SvcFromDate", L"2007-03-09"}, {L"SvcToDate", L"2007-03-09"}}, {}}, nullptr, L" 3/2/2007 ",
       "LX*1~" + kSV1 + kDay + "LX*2~" + kSV1 + "DTP*472*D8*20070309~LX*3~" + kSV1 + kDay, illness + illness},
      {{{}}, nullptr, L"3/1/2007", "LX*1~" + kSV1 + kDay, ""},
      // No day count without a from-date: the line goes out without the warning.
      {{{{L"SvcFromDate", L""}, {L"SvcToDate", L""}}, {{L"SvcFromDate", L"soon"}, {L"SvcToDate", L"soon"}}},
       nullptr, L"3/9/2007", "LX*1~" + kSV1 + "DTP*472*D8~LX*2~" + kSV1 + "DTP*472*D8*soon~", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.segments);
    TearDown();
    SetUp();
    if (c.tos) testutil::WriteBytes(data->file(L"TOS.txt"), c.tos);
    Claim& claim = AddClaim(AddBatch(L"P1"));
    StoreField(Policy(claim).OutFields, L"NationalPayerId", L"Pay01");
    StoreField(claim.OutFields, L"AccidentSymptomDate", c.accident);
    for (const Fields& line : c.lines) AddLine(claim, line);
    EXPECT_EQ(c.log.empty(), Run());
    EXPECT_EQ(c.segments, Body().substr(Body().find("LX*1~")));
    EXPECT_EQ(c.log, Log());
  }
}

TEST_F(ServiceLineTest, FailuresInALineStopTheFileWithTheLinePosition) {
  const std::string remove =
      ".\rElectronic files use symbols as internal delimiters.  Symbols that are reserved for the 837 include: "
      "*, :, ~.  Please remove these symbols from this client's data.\r";
  struct Case {
    Fields line;
    const wchar_t* accident;
    std::string boxEnd;
  } cases[] = {
      {{{L"UnitsOfSvc", L"1*2"}}, L"", " for Doe, Jane" + remove + "The value \"1*2\" of SV104 holds a separator character\r\n"},
      {{}, L"someday", " - 13, Type mismatch (claim C1 of Doe, Jane)\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.boxEnd);
    TearDown();
    SetUp();
    Claim& claim = AddClaim(AddBatch(L"P1"));
    StoreField(claim.OutFields, L"AccidentSymptomDate", c.accident);
    AddLine(claim, c.line);
    EXPECT_FALSE(Run());
    const std::string box = Boxes();
    EXPECT_EQ(1u, boxes.shown().size());
    EXPECT_EQ(0u, box.find("Error Creating File: Error found in 2400-"));  // then the claim's 2000A
    EXPECT_EQ(box.size() - c.boxEnd.size(), box.rfind(c.boxEnd));
    EXPECT_EQ("", Output());
  }
}

// Runs in a prefix of its own: it changes the user locale of the prefix for the time of the run.
TEST_F(ServiceLineTest, ChargesUnderADecimalComma) {
  testutil::UserLocaleSetting thousands(LOCALE_STHOUSAND, L"."), decimal(LOCALE_SDECIMAL, L",");
  Claim& claim = AddClaim(AddBatch(L"P1"));
  AddLine(claim, {{L"LineCharges", L"125,5"}});
  AddLine(claim, {{L"LineCharges", L"0,5"}});  // no zero charge
  EXPECT_TRUE(Run());
  EXPECT_EQ("LX*1~" + kSV1 + kDay + "LX*2~SV1*HC:99213*0.5*UN*1***1~" + kDay, Body().substr(Body().find("LX*1~")));
}

}  // namespace
}  // namespace claimfile::Edi837
