// The claim loop (2300) and the claim provider loops (2310A, B, D, E) of each claim.
#include <functional>

#include "write837_fixture.h"

namespace claimfile::Edi837 {
namespace {

// ParentHL as the subscriber level leaves it: the HL01 of the first claim's 2000A.
const std::string kParentHL = "1";
const std::string kRemoveSymbols =
    ".\rElectronic files use symbols as internal delimiters.  Symbols that are reserved for the 837 include: "
    "*, :, ~.  Please remove these symbols from this client's data.\r";

class ClaimLevelTest : public Write837Test {
 protected:
  using Setup = std::function<void(Batch&, Claim&)>;
  // One batch with one claim, changed by setup, then written.
  bool RunClaim(const Setup& setup) {
    TearDown();
    SetUp();
    Batch& b = AddBatch(L"P1");
    b.billServName = L"";
    Claim& c = AddClaim(b);
    setup(b, c);
    return Run();
  }
  // The body from the claim's CLM to its first service line.
  std::string ClaimPart() const {
    const std::string body = Body();
    const size_t from = body.find("CLM*");
    return body.substr(from, body.find("~LX*", from) + 1 - from);
  }
  static void Set(Claim& c, const wchar_t* field, const wchar_t* value) { StoreField(c.OutFields, field, value); }
  static void SetPolicy(Claim& c, const wchar_t* field, const wchar_t* value) {
    StoreField(c.InsurancePolicies->Item(1)->OutFields, field, value);
  }
};

TEST_F(ClaimLevelTest, ClaimInformation) {
  struct Case {
    Setup setup;
    std::string claim;
  } cases[] = {
      {[](Batch&, Claim& c) {
         Set(c, L"PatControlNo", L"pc-9");
         StoreField(c.ServiceLines->Add()->OutFields, L"LineCharges", L"25.50");
         c.clmFreqTypeCode = 7, c.specialProgramCode = L"03", c.servAuthExcpCode = L"ab1", c.clmOrgRefNum = L" orig ";
         InsurancePolicy& p = *c.InsurancePolicies->Item(1);
         p.medicareAssign = L"A", p.AcceptAssign = L"Y", p.relOfInfo = L"Y", p.l2300PWK01 = L"OZ";
         p.l2300CN104 = L"abc", p.priorAuthType = L"G1";
         SetPolicy(c, L"PatSignatureSource", L"Bob");
         SetPolicy(c, L"PriorAuthNo", L"pa7");
         Set(c, L"AccidentInd", L"AA"), Set(c, L"AccidentState", L"ut");
         Set(c, L"DateLastSeen", L"2/1/2007"), Set(c, L"AccidentSymptomDate", L"1/15/2007");
         Set(c, L"SameSimilarSympDate", L"12/1/2006"), Set(c, L"AdmissionDate1", L"1/16/2007");
         Set(c, L"DischargeDate1", L"1/18/2007");
         Set(c, L"DiagnosisCode2", L"401.1"), Set(c, L"DiagnosisCode3", L"2500"), Set(c, L"DiagnosisCode4", L"V700");
       },
       "CLM*pc-9*125.5***11::7*Y*A*Y*Y*B*AA:::UT*03~DTP*304*D8*20070201~DTP*431*D8*20070115~"
       "DTP*438*D8*20061201~DTP*439*D8*20070115~DTP*435*D8*20070116~DTP*096*D8*20070118~PWK*OZ*AA~"
       "CN1*09***abc~REF*4N*AB1~REF*G1*PA7~REF*F8*ORIG~HI*BK:7840*BF:401.1*BF:2500*BF:V700~"},
      // Onset without an accident, numbered between last seen and admission; the prior
      // authorisation alone is reference 1; a gap in the diagnoses keeps its element.
      {[](Batch&, Claim& c) {
         c.InsurancePolicies->Item(1)->relOfInfo = L"N";
         SetPolicy(c, L"PatSignatureSource", L"B");
         SetPolicy(c, L"PriorAuthNo", L"p1");
         Set(c, L"AccidentState", L"ut"), Set(c, L"AccidentSymptomDate", L"1/15/2007");
         Set(c, L"DateLastSeen", L"2/1/2007"), Set(c, L"AdmissionDate1", L"1/16/2007");
         Set(c, L"DiagnosisCode3", L"4011");
       },
       "CLM*C1*100***11::0*Y***N~DTP*304*D8*20070201~DTP*431*D8*20070115~DTP*435*D8*20070116~REF**P1~"
       "HI*BK:7840**BF:4011~"},
      // An empty or lower-case accident indicator is not "N"; blank dates are not written.
      {[](Batch&, Claim& c) {
         Set(c, L"AccidentInd", L""), Set(c, L"AccidentState", L"ny"), Set(c, L"DateLastSeen", L"  ");
         c.clmOrgRefNum = L"  ";
       },
       "CLM*C1*100***11::0*Y*****:::NY~DTP*439*D8~HI*BK:7840~"},
      {[](Batch&, Claim& c) { Set(c, L"AccidentInd", L"n"), Set(c, L"AccidentSymptomDate", L"3/1/2007"); },
       "CLM*C1*100***11::0*Y*****n~DTP*431*D8*20070301~DTP*439*D8*20070301~HI*BK:7840~"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.claim);
    EXPECT_TRUE(RunClaim(c.setup));
    EXPECT_EQ(c.claim, ClaimPart());
  }
}

TEST_F(ClaimLevelTest, CLM16OverrideByClaimOrByPayer) {
  struct Case {
    const char* lines;
    bool set;
  } cases[] = {{nullptr, false}, {"C1,PAY01\r\n", true}, {"c1 , pay01", false}, {" all,pay01 ", true},
               {"ALL,PAY02\r\nC2,PAY01", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines ? c.lines : "no file");
    EXPECT_TRUE(RunClaim([&](Batch&, Claim& claim) {
      if (c.lines) testutil::WriteBytes(data->file(L"CLM16.txt"), c.lines);
      SetPolicy(claim, L"NationalPayerId", L" pay01 ");
    }));
    EXPECT_EQ(c.set ? "CLM*C1*100***11::0*Y**********P" : "CLM*C1*100***11::0*Y", Segment("CLM"));
  }
}

TEST_F(ClaimLevelTest, MissingDiagnosisIsLoggedAndTheFileSaved) {
  EXPECT_FALSE(RunClaim([](Batch&, Claim& c) {
    Set(c, L"DiagnosisCode1", L""), Set(c, L"DiagnosisCode2", L"4011");
  }));
  EXPECT_EQ("CLM*C1*100***11::0*Y~", ClaimPart());
  EXPECT_EQ("Warning - Missing Diagnosis for Doe  Find at:Client Setup/Diagnosis Tab\r\n", Log());
}

TEST_F(ClaimLevelTest, FailuresShowTheirPosition) {
  // The separator box ends with the component's description of the element and its value.
  auto holds = [](const std::string& value, const std::string& element) {
    return "The value \"" + value + "\" of " + element + " holds a separator character\r\n";
  };
  struct Case {
    Setup setup;
    std::string box;
  } cases[] = {
      {[](Batch&, Claim& c) { c.ServiceLines->Remove(1); },
       "Error found in 2300-" + kParentHL + " - 9, Subscript out of range (claim C1 of Doe, Jane)\n"},
      // A claim without a policy stops at the billing provider, the first to read it.
      {[](Batch&, Claim& c) { c.InsurancePolicies->Remove(1); },
       "Error found in 2000NBS-1 - 9, Subscript out of range (claim C1 of Doe, Jane)\n"},
      {[](Batch&, Claim& c) { Set(c, L"PatControlNo", L"C~1"); },
       "Error found in 2300-" + kParentHL + " for Doe, Jane" + kRemoveSymbols + holds("C~1", "CLM01")},
      {[](Batch&, Claim& c) { Set(c, L"ReferProvLast", L"A*B"); },
       "Error found in 2310A-" + kParentHL + " for Doe, Jane" + kRemoveSymbols + holds("A*B", "NM103")},
      {[](Batch& b, Claim&) { b.prov837SameAsPayTo = 2, StoreField(b.OutFields, L"ProvFirstName", L"J:R"); },
       "Error found in 2310BFG-" + kParentHL + " for Doe, Jane" + kRemoveSymbols + holds("J:R", "NM104")},
      {[](Batch&, Claim& c) { Set(c, L"FacilityLabName", L"Lab*1"); },
       "Error found in 2310D-" + kParentHL + " for Doe, Jane" + kRemoveSymbols + holds("LAB*1", "NM103")},
      {[](Batch&, Claim& c) { Set(c, L"SupvProvLast", L"Roe~"); },
       "Error found in 2310E-" + kParentHL + " for Doe, Jane" + kRemoveSymbols + holds("ROE~", "NM103")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    EXPECT_FALSE(RunClaim(c.setup));
    EXPECT_EQ("Error Creating File: " + c.box, Boxes());
    EXPECT_EQ("", Output());
  }
}

TEST_F(ClaimLevelTest, ProviderLoopsNumberedInTheOrderWritten) {
  const std::string referring = "NM1*DN*1*LEE*ANN*M***24*123~PRV*RF*ZZ*207R~REF*1G*ab~";
  const std::string rendering = "NM1*82*1*SMITH*JOHN*Q***24*998877~PRV*PE*ZZ*207Q00000X~";
  const std::string facility = "NM1*77*2*CITY LAB*****XX*N9~N3*12 MAIN ST*STE 2~N4*BOSTON*MA*02101~REF*1A*X-1~";
  const std::string supervising = "NM1*DQ*1*ROE*RAY*JR***XX*NPI7~REF*0BX*S-9~";
  auto referrer = [](Claim& c, const wchar_t* type) {
    Set(c, L"ReferProvLast", L"Lee"), Set(c, L"ReferProvFirst", L"ann"), Set(c, L"ReferProvMI", L"mae");
    Set(c, L"ReferProvEntityType", type), Set(c, L"ReferProvTaxType", L"24"), Set(c, L"ReferProvTaxId", L"1-23");
  };
  auto lab = [](Claim& c, const wchar_t* address) {
    Set(c, L"FacilityLabName", L"City Lab"), Set(c, L"FacilityLabNPI", L"n9"), Set(c, L"FacilityLabAddress1", address);
    Set(c, L"FacilityLabAddress2", L"Ste 2"), Set(c, L"FacilityLabCity", L"Boston");
    Set(c, L"FacilityLabState", L"ma"), Set(c, L"FacilityLabZipCode", L"02-101");
    c.facilityOtherID = L"x-1", c.facilityOtherIDType = L"1abc";
  };
  auto supervisor = [](Claim& c) {
    Set(c, L"SupvProvLast", L"Roe"), Set(c, L"SupvProvFirst", L"Ray"), Set(c, L"SupvProvMI", L"jr");
    Set(c, L"SupvProvNPI", L"npi7");
    c.SupvProvNPIType = L"XX", c.supvProvSecID = L" s-9 ", c.supvProvSecIDType = L" 0bx ";
  };
  struct Case {
    Setup setup;
    std::string loops;
  } cases[] = {
      {[&](Batch&, Claim& c) {
         referrer(c, L"2");
         c.ReferProvSCode = L"207r", c.ReferProvSecIDType = L"1G", c.ReferProvSecID = L"ab";
         supervisor(c);
       },
       referring + supervising},
      {[&](Batch& b, Claim& c) {
         b.prov837SameAsPayTo = 2;
         referrer(c, L"2");
         c.ReferProvSCode = L"207r", c.ReferProvSecIDType = L"1G", c.ReferProvSecID = L"ab";
         lab(c, L"12 main st");
         supervisor(c);
       },
       referring + rendering + facility + supervising},
      // An organisation; a tax id of punctuation only; an entity type that is no number is a person.
      {[&](Batch&, Claim& c) { referrer(c, L"1"), Set(c, L"ReferProvTaxId", L"--"); }, "NM1*DN*2*LEE~"},
      {[&](Batch&, Claim& c) { referrer(c, L""); }, "NM1*DN*1*LEE*ANN*M***24*123~"},
      {[&](Batch&, Claim& c) { referrer(c, L"x"); }, "NM1*DN*1*LEE*ANN*M***24*123~"},
      // A facility at the pay-to address in another case is not named; a blank other id is none.
      {[&](Batch&, Claim& c) { lab(c, L"1 main St"); }, ""},
      {[&](Batch&, Claim& c) { lab(c, L"12 Main St"), Set(c, L"FacilityLabNPI", L""), c.facilityOtherID = L" "; },
       "NM1*77*2*CITY LAB*****XX~N3*12 MAIN ST*STE 2~N4*BOSTON*MA*02101~"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.loops);
    EXPECT_TRUE(RunClaim(c.setup));
    EXPECT_EQ("CLM*C1*100***11::0*Y~HI*BK:7840~" + c.loops, ClaimPart());
    EXPECT_EQ("", Log());
  }
}

TEST_F(ClaimLevelTest, RenderingProviderCondition) {
  struct Case {
    short sameAsPayTo;
    const wchar_t* set2010AA;
    bool group, changed, written;
  } cases[] = {
      {2, L"Y", false, false, true}, {1, L"", true, true, false},   {0, L"Y", true, true, false},
      {0, L"y", false, true, true},  {3, L"", true, false, true},   {0, L"", false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.sameAsPayTo << c.group << c.changed);
    RunClaim([&](Batch& b, Claim& claim) {
      b.prov837SameAsPayTo = c.sameAsPayTo;
      if (!c.changed) b.provPayToName = L"John Smith", b.provPayToIDType = L"24";
      claim.fileAsGroup = c.group;
      claim.InsurancePolicies->Item(1)->insrSet2010AAToInd = c.set2010AA;
    });
    EXPECT_EQ(c.written, ClaimPart().find("NM1*82*1*SMITH*JOHN*Q***24*998877~") != std::string::npos);
  }
}

TEST_F(ClaimLevelTest, ClaimProviderChecks) {
  const std::string at6 = "  Find at:Client Setup/Insurance Tab/HCFA Details\r\n";
  const std::string at7 = "  Find at:Client Setup/EFile Tab\r\n", at14 = "  Find at:Provider/HCFA Details Tab\r\n";
  const std::string taxonomy = "Missing Rendering Provider Specialty (Taxonomy) Code for Smith  Find at:Provider/EFile Tab\r\n";
  const std::string rendering = "NM1*82*1*SMITH*JOHN*Q***24*998877~";
  // The rendering provider of a group claim without a speciality, filed to the receiver that
  // wants the taxonomy when gs03 is 431420764; excluded is both exclusion flags.
  auto renderer = [this](Batch& b, Claim& c, const wchar_t* gs03, const wchar_t* excluded) {
    b.prov837SameAsPayTo = 2;
    StoreField(b.OutFields, L"ProvSpeciality", L"");
    header->GS02 = L"G", header->GS03 = gs03;
    c.fileAsGroup = true;
    InsurancePolicy& p = *c.InsurancePolicies->Item(1);
    p.medicaidIDNoType = L"1D", p.insrExclud2310BPRV = p.insrExclud2310BREF = excluded;
    StoreField(p.OutFields, L"MedicaidIdNo", L"M1");
    c.prov837SecIDCol = Ids({L"a1"}), c.prov837SecIDTypeCol = Ids({L"1B"});
  };
  struct Case {
    Setup setup;
    std::string loops, log;
  } cases[] = {
      {[](Batch&, Claim& c) {
         Set(c, L"ReferProvLast", L"Lee"), Set(c, L"ReferProvEntityType", L"1"), c.ReferProvSecID = L"a";
       },
       "NM1*DN*2*LEE~REF**a~", "Missing Secondary Referring Prov ID Type Jane Doe" + at6},
      {[&](Batch& b, Claim& c) {
         renderer(b, c, L"431420764", L"");
         b.prov837PrimIDType = L"", b.prov837PrimID = L"-";
         c.prov837SecIDCol = Ids({L"a1", L"b2"});  // a type collection shorter than the ids
       },
       "NM1*82*1*SMITH*JOHN*Q~REF*1B*A1~REF**B2~",
       "Missing Rendering Provider Tax ID Type for Smith" + at14 + "Missing Rendering Provider Tax ID for Smith" +
           at14 + taxonomy + "Missing Pay-To Provider Secondary ID Type for Smith Clinic" + at14},
      {[&](Batch& b, Claim& c) { renderer(b, c, L"431420764", L"Y"); }, rendering, ""},
      {[&](Batch& b, Claim& c) { renderer(b, c, L"431420764", L"y"); }, rendering + "REF*1B*A1~", taxonomy},
      {[&](Batch& b, Claim& c) { renderer(b, c, L"431420765", L""); }, rendering + "REF*1B*A1~", ""},
      {[](Batch&, Claim& c) {
         Set(c, L"FacilityLabName", L"Lab"), Set(c, L"FacilityLabAddress1", L"2 Elm"), Set(c, L"FacilityLabCity", L"X");
         c.facilityOtherID = L"x1";
       },
       "NM1*77*2*LAB*****XX~N3*2 ELM~N4*X~REF**X1~", "Missing Facility NPI Type for Doe" + at7},
      {[](Batch&, Claim& c) { Set(c, L"SupvProvLast", L"Roe"), c.supvProvSecID = L"s9", c.supvProvSecIDType = L"  "; },
       "NM1*DQ*1*ROE~REF**S9~",
       "Missing Sup. Provider NPI Type for Doe" + at7 + "Missing Sup. Provider NPI Number for Doe" + at7 +
           "Missing Supervising Provider Secondary ID Type for Doe" + at7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.loops);
    EXPECT_EQ(c.log.empty(), RunClaim(c.setup));
    EXPECT_EQ("CLM*C1*100***11::0*Y~HI*BK:7840~" + c.loops, ClaimPart());
    EXPECT_EQ(c.log, Log());
  }
}

}  // namespace
}  // namespace claimfile::Edi837
