// The subscriber level (2000B, SBR), the subscriber and payer names (2010BA, 2010BB) and the
// patient level (2000C, PAT, 2010CA) of each claim.
#include <functional>

#include "write837_fixture.h"
#include "x837/writer837.h"

namespace claimfile::Edi837 {
namespace {

class SubscriberLevelsTest : public Write837Test {
 protected:
  // A claim in a batch of its own, patient Jane Doe.
  Claim& OneClaim() { return AddClaim(AddBatch(L"P1")); }
  // The body from the claim's 2000B on.
  // The subscriber and patient levels: from the subscriber's HL to the claim loop.
  std::string Levels() const {
    const std::string body = Body();
    const size_t from = body.find("HL*2*");
    return body.substr(from, body.find("~CLM*", from) + 1 - from);
  }
  // Write837's steps with the setting SbrDMGAlways taken as the given text.
  bool RunWithSbrDMGAlways(const std::wstring& setting) {
    com::Ptr<IDispatch> doc;
    EXPECT_HRESULT_SUCCEEDED(CoCreateInstance(kDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                              reinterpret_cast<void**>(doc.out())));
    InitPaths();
    Writer837 writer(*header, doc.get());
    writer.ControlNumber = ControlNumberAt(Now());
    writer.SetUp(OutputPath());
    writer.SbrDMGAlways = setting;
    writer.WriteEnvelope();
    writer.WriteBatches();
    return writer.End(OutputPath());
  }
};

void SetPatient(Claim& c) {
  for (auto [name, value] : {std::pair{L"PatLastName", L"Roe"}, {L"PatFirstName", L"Jim"}, {L"PatMI", L"k"},
                             {L"PatGeneration", L"junior third"}, {L"PatAddr1", L"7 Oak Ave"},
                             {L"PatCity", L"Joliet"}, {L"PatState", L"il"}, {L"PatZip", L"60431-22"},
                             {L"PatDateOfBirth", L"12/25/2001"}, {L"PatSex", L"m"}})
    StoreField(c.OutFields, name, value);
}

const std::string kPayer = "NM1*PR*2*Payer One*****PI*P0001~N3*PO BOX 1~N4*CHICAGO*IL*606010001~";

TEST_F(SubscriberLevelsTest, LevelsByRelationship) {
  struct Case {
    const char* name;
    std::function<void(Claim&, InsurancePolicy&)> set;
    std::string levels, log;
  } cases[] = {
      {"the patient is the subscriber, every optional value given",
       [](Claim& c, InsurancePolicy& p) {
         SetPatient(c);
         StoreField(p.OutFields, L"GroupName", L"Acme Group");
         StoreField(p.OutFields, L"InsuredLastName", L"AbcdefghijAbcdefghijAbcdefghijAbcdefghij");
         StoreField(p.OutFields, L"InsuredMI", L"q");
         StoreField(p.OutFields, L"InsuredAddr2", L"apt 2");
         StoreField(p.OutFields, L"PayorName", L"Payer NamePayer NamePayer NamePayer Name");
         p.medicare2ndType = L"12", p.insuredID2 = L"ab-12-c", p.insuredID2Type = L"1w", p.propCasClaimNum = L"pc-9";
         p.InsrSecID = L"abcdefghijabcdefghijabcdefghijabcdefghij", p.InsrSecIDType = L"fy";
         p.patPolicyID = L"pp1", p.patPolicyID2 = L"s-2";
       },
       "HL*2*1*22*0~SBR*P*18*G-77*Acme Group*12****CI~NM1*IL*1*ABCDEFGHIJABCDEFGHIJABCDEFGHIJABCDE*JANE*Q***MI*ABC123~"
       "N3*5 ELM ST*APT 2~N4*PEORIA*IL*61602~DMG*D8*19700304*F~REF*1w*ab12c~REF*Y4*pc-9~"
       "NM1*PR*2*Payer NamePayer NamePayer NamePayer*****PI*P0001~N3*PO BOX 1~N4*CHICAGO*IL*606010001~"
       "REF*FY*ABCDEFGHIJABCDEFGHIJABCDEFGHIJ~",
       ""},
      {"another patient with both policy ids and the property-casualty number",
       [](Claim& c, InsurancePolicy& p) {
         SetPatient(c);
         StoreField(p.OutFields, L"PatRelToInsured", L"01");
         p.insuredID2 = L"ab-12-c", p.insuredID2Type = L"1w", p.propCasClaimNum = L"pc-9";
         p.patPolicyID = L"pp1", p.patPolicyID2 = L"s-2", p.patPolicyID2Type = L"1l";
       },
       "HL*2*1*22*1~SBR*P**G-77******CI~NM1*IL*1*DOE*JANE****MI*ABC123~DMG*D8*19700304*F~REF*1w*ab12c~" + kPayer +
           "HL*3*2*23*0~PAT*01~NM1*QC*1*ROE*JIM*K**JUNIOR THI*MI*PP1~N3*7 OAK AVE~N4*JOLIET*IL*6043122~"
           "DMG*D8*20011225*M~REF*1l*S-2~REF*Y4*PC-9~",
       ""},
      {"an empty relationship code: a patient level with an empty PAT, the Y4 its only REF",
       [](Claim& c, InsurancePolicy& p) {
         SetPatient(c);
         StoreField(p.OutFields, L"PatRelToInsured", L"");
         StoreField(p.OutFields, L"InsuredDateOfBirth", L"  ");
         p.propCasClaimNum = L"pc-9";
       },
       "HL*2*1*22*1~SBR*P**G-77******CI~NM1*IL*1*DOE*JANE****MI*ABC123~" + kPayer +
           "HL*3*2*23*0~NM1*QC*1*ROE*JIM*K**JUNIOR THI~N3*7 OAK AVE~N4*JOLIET*IL*6043122~DMG*D8*20011225*M~"
           "REF*Y4*PC-9~",
       "Missing Relationship to Insured for Roe and Doe  Find at:Client Setup/Parties Tab\r\n"},
      {"a relationship code with a blank is not the subscriber's",
       [](Claim& c, InsurancePolicy& p) {
         SetPatient(c);
         StoreField(p.OutFields, L"PatRelToInsured", L"18 ");
         StoreField(p.OutFields, L"InsuredDateOfBirth", L"");
       },
       "HL*2*1*22*1~SBR*P**G-77******CI~NM1*IL*1*DOE*JANE****MI*ABC123~" + kPayer +
           "HL*3*2*23*0~PAT*18 ~NM1*QC*1*ROE*JIM*K**JUNIOR THI~N3*7 OAK AVE~N4*JOLIET*IL*6043122~"
           "DMG*D8*20011225*M~",
       ""},
      {"line breaks and tabs inside a value are blanks",
       [](Claim&, InsurancePolicy& p) {
         StoreField(p.OutFields, L"InsuredAddr1", L"5 Elm St\r\nApt 4");
         StoreField(p.OutFields, L"InsuredCity", L"Peoria\t");
       },
       "HL*2*1*22*0~SBR*P*18*G-77******CI~NM1*IL*1*DOE*JANE****MI*ABC123~N3*5 ELM ST  APT 4~N4*PEORIA *IL*61602~"
       "DMG*D8*19700304*F~" + kPayer,
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    Claim& claim = OneClaim();
    c.set(claim, Policy(claim));
    EXPECT_EQ(c.log.empty(), Run());
    EXPECT_EQ(c.levels, Levels());
    EXPECT_EQ(c.log, Log());
  }
}

TEST_F(SubscriberLevelsTest, MissingDataLinesWithTheirScreens) {
  const std::string suffix = " for Jane Doe with Payer One  Find at:";
  const std::string general = "Client Setup/General Tab\r\n", company = " for Payer One  Find at:Insurance Comp/General Tab\r\n";
  struct Case {
    const wchar_t* relationship;
    bool receiver;
    std::string levels, log;
  } cases[] = {
      {L"18", false,
       "HL*2*1*22*0~SBR*P*18*G-77~NM1*IL*1*DOE*JANE****MI~DMG*D8~REF**x~NM1*PR*2*Payer One*****PI~REF**Y~",
       "Missing Claim Filing Ind. Code" + suffix + "Client Setup/Insurance Tab\r\n"
       "Missing Ins ID Number" + suffix + "Client Setup/Insurance Tab\r\n"
       "Missing Insured's Address" + suffix + general + "Missing Insured's City" + suffix + general +
       "Missing Insured's State" + suffix + general + "Missing Insured's Zip Code" + suffix + general +
       "Missing Insured's Date of Birth" + suffix + general + "Missing Insured's Gender" + suffix + general +
       "Missing Insured's Secondary ID Type" + suffix + "Client Setup/Insurance Tab\r\n"
       "Missing Insurance Company National Payer ID for Payer One  Find at:Insurance Comp/EFile Tab\r\n"
       "Missing Insurance Company Address" + company + "Missing Insurance Company City" + company +
       "Missing Insurance Company State" + company + "Missing Insurance Company Zip Code" + company +
       "Missing Secondary ID Type" + company},
      {L"01", true,
       "HL*2*1*22*1~SBR*P**G-77~NM1*IL*1*DOE*JANE****MI~REF**x~NM1*PR*2*Payer One*****PI~REF**Y~"
       "HL*3*2*23*0~PAT*01~NM1*QC*1*ROE*JIM~DMG*D8~REF**Z~",
       "Missing Claim Filing Ind. Code" + suffix + "Client Setup/Insurance Tab/Claim Filing Ind. (BL, MB, MC, CI)\r\n"
       "Missing Ins ID Number" + suffix + "Client Setup/Insurance Tab\r\n"
       "Missing Insured's Secondary ID Type" + suffix + "Client Setup/Insurance Tab\r\n"
       "Missing Insurance Company National Payer ID for Payer One  Find at:Insurance Company Setup/Efile Tab "
       "(5 digit code supplied by Gateway)\r\n"
       "Missing Insurance Company Address" + company + "Missing Insurance Company City" + company +
       "Missing Insurance Company State" + company + "Missing Insurance Company Zip Code" + company +
       "Missing Secondary ID Type" + company +
       "Missing Patient Address for Jim Roe  Find at:" + general + "Missing Patient City for Jim Roe  Find at:" +
       general + "Missing Patient State for Jim Roe  Find at:" + general +
       "Missing Patient Zip Code for Jim Roe  Find at:" + general +
       "Missing Patient Date of Birth for Jim Roe  Find at:" + general +
       "Missing Patient Gender for Jim Roe  Find at:" + general +
       "Missing Patient Secondary Policy ID Type for Jim Roe  Find at:Client Setup/Insurance Tab/Additional Ins. "
       "Info\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.levels);
    TearDown();
    SetUp();
    if (c.receiver) header->GS02 = L"G", header->GS03 = L"431420764";
    Claim& claim = OneClaim();
    StoreField(claim.OutFields, L"PatLastName", L"Roe");
    StoreField(claim.OutFields, L"PatFirstName", L"Jim");
    InsurancePolicy& p = Policy(claim);
    for (const wchar_t* name : {L"InsuredIdNo", L"InsuredAddr1", L"InsuredCity", L"InsuredState", L"InsuredZip",
                                L"InsuredDateOfBirth", L"InsuredSex", L"NationalPayerId", L"PayorAddr1", L"PayorCity",
                                L"PayorState", L"PayorZip"})
      StoreField(p.OutFields, name, L"");
    StoreField(p.OutFields, L"PatRelToInsured", c.relationship);
    p.subcriberCFI = L"", p.insuredID2 = L"x", p.InsrSecID = L"y", p.patPolicyID2 = L"z";
    EXPECT_FALSE(Run());
    EXPECT_EQ(c.levels, Levels());
    EXPECT_EQ(c.log, Log());
    EXPECT_EQ("", Boxes());
  }
}

TEST_F(SubscriberLevelsTest, HLNumbersOfSubscriberAndPatientRunOnToTheNextClaim) {
  Batch& b = AddBatch(L"P1");
  for (const wchar_t* relationship : {L"18", L"18", L"01", L"18"}) {
    Claim& c = AddClaim(b);
    SetPatient(c);
    StoreField(Policy(c).OutFields, L"PatRelToInsured", relationship);
  }
  EXPECT_TRUE(Run());
  std::string hls, body = Body();
  for (size_t at = 0; (at = body.find("HL*", at)) != std::string::npos; at = body.find('~', at) + 1)
    hls += body.substr(at, body.find('~', at) + 1 - at);
  EXPECT_EQ("HL*1**20*1~HL*2*1*22*0~HL*3**20*1~HL*4*3*22*0~HL*5**20*1~HL*6*5*22*1~HL*7*6*23*0~HL*8**20*1~"
            "HL*9*8*22*0~",
            hls);
}

TEST_F(SubscriberLevelsTest, SubscriberDemographicsBySetting) {
  const std::string gender = "Missing Insured's Gender for Jane Doe with Payer One  Find at:Client Setup/General Tab\r\n";
  const std::string birth =
      "Missing Insured's Date of Birth for Jane Doe with Payer One  Find at:Client Setup/General Tab\r\n";
  struct Case {
    const wchar_t *relationship, *setting, *birth, *sex;
    std::string dmg, log;
  } cases[] = {
      {L"01", L"", L"3/4/1970", L"f", "DMG*D8*19700304*F", ""},
      {L"01", L"", L"   ", L"f", "", ""},
      {L"01", L"N", L"3/4/1970", L"f", "", ""},
      {L"01", L"", L"3/4/1970", L"", "DMG*D8*19700304", gender},
      {L"18", L"Y", L"", L"f", "DMG*D8**F", birth},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dmg);
    TearDown();
    SetUp();
    Claim& claim = OneClaim();
    SetPatient(claim);
    InsurancePolicy& p = Policy(claim);
    StoreField(p.OutFields, L"PatRelToInsured", c.relationship);
    StoreField(p.OutFields, L"InsuredDateOfBirth", c.birth);
    StoreField(p.OutFields, L"InsuredSex", c.sex);
    EXPECT_EQ(c.log.empty(), RunWithSbrDMGAlways(c.setting));
    const std::string body = Body();
    const size_t from = body.find("NM1*IL*"), to = body.find("NM1*PR*");
    const std::string subscriber = body.substr(from, to - from);
    const size_t dmg = subscriber.find("DMG*");
    EXPECT_EQ(c.dmg, dmg == std::string::npos ? "" : subscriber.substr(dmg, subscriber.find('~', dmg) - dmg));
    EXPECT_EQ(c.log, Log());
  }
}

TEST_F(SubscriberLevelsTest, CountersPast32767NameTheLimitAndTheClaim) {
  Batch& b = AddBatch(L"P1");
  AddClaim(b);
  SetPatient(AddClaim(b));
  com::Ptr<IDispatch> doc;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(kDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                            reinterpret_cast<void**>(doc.out())));
  InitPaths();
  Writer837 writer(*header, doc.get());
  writer.SetUp(OutputPath());
  writer.WriteEnvelope();
  writer.WriteBatches();  // the last claim written stays the current one
  const std::wstring at = L", reached at claim 2 of the file (Roe, Jim). Split the claims into smaller files.";
  struct Case { std::function<short()> step; long error; std::wstring description; } cases[] = {
      {[&] { short n = 32766; return writer.Advance(n, kHLSegments); }, 0, L""},
      {[&] { short n = 32767; return writer.Advance(n, kHLSegments); }, 6,
       L"Overflow: more than 32,767 HL segments in one interchange" + at},
      {[&] { return writer.Short(32767, L"lines"); }, 0, L""},
      {[&] { return writer.Short(32768, L"service lines in one claim"); }, 6,
       L"Overflow: more than 32,767 service lines in one claim" + at},
  };
  for (const Case& c : cases) {
    long error = 0;
    std::wstring description;
    try {
      EXPECT_EQ(32767, c.step());
    } catch (const vb::RuntimeError& e) {
      error = e.number();
      description = e.description();
    }
    EXPECT_EQ(c.error, error);
    EXPECT_EQ(c.description, description);
  }
  writer.Release();
}

TEST_F(SubscriberLevelsTest, SeparatorNamesThePositionOfItsLoop) {
  struct Case {
    const wchar_t* relationship;
    bool ofClaim;
    const wchar_t *field, *value;
    std::string position;
  } cases[] = {
      {L"18", false, L"ClaimFilingInd", L"P*", "2000B-1"},
      {L"18", false, L"InsuredFirstName", L"Ja:ne", "2000BA-1"},
      {L"18", false, L"NationalPayerId", L"p~1", "2000BB-1"},
      {L"0*1", false, L"GroupName", L"", "2000BB-1"},
      {L"01", true, L"PatGeneration", L"jr*", "2000CA-1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    TearDown();
    SetUp();
    Claim& claim = OneClaim();
    InsurancePolicy& p = Policy(claim);
    StoreField(p.OutFields, L"PatRelToInsured", c.relationship);
    StoreField(c.ofClaim ? claim.OutFields : p.OutFields, c.field, c.value);
    EXPECT_FALSE(Run());
    const std::string first = "Error Creating File: Error found in " + c.position + " for Doe, Jane.\r";
    EXPECT_EQ(first, Boxes().substr(0, first.size()));
    EXPECT_EQ(1u, boxes.shown().size());
    EXPECT_EQ("", Output());
  }
}

}  // namespace
}  // namespace claimfile::Edi837
