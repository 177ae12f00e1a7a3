// The other payer's group of a claim with more than one policy: 2320 and 2330A, B, C and E.
#include "write837_fixture.h"

namespace claimfile::Edi837 {
namespace {

// ParentHL as the subscriber level leaves it for the position texts: the first claim's 2000A.
const std::string kParentHL = "1";
// 2320, 2330A and 2330B of the second policy below, without the claim's amounts or the payer's
// address, payment date and secondary id.
const std::string kSbr = "SBR*P*01*GRP-9**C1****CI~";
const std::string kDmgOI = "DMG*D8*19500704*F~OI***Y*B**Y~";
const std::string k2330A = "NM1*IL*1*ROE*RICHARD*K**JR*MI*W123-45~N3*5 ELM ST*APT 2~N4*SALEM*OR*973011234~";
const std::string k2330B = "NM1*PR*2*PAYER TWO*****PI*NP77~";
const std::string kFromDmg = kDmgOI + k2330A + k2330B;
const std::string kBase = kSbr + kFromDmg;

class OtherSubscriberTest : public Write837Test {
 protected:
  // A claim whose second policy (when it has one) holds every value the group reads.
  Claim& AddOtherPayerClaim(int policies = 2) {
    Claim& c = AddClaim(AddBatch(L"P1"));
    if (policies < 2) return c;
    other = c.InsurancePolicies->Add().get();
    if (policies > 2) StoreField(c.InsurancePolicies->Add()->OutFields, L"PayorName", L"Payer Three");
    for (auto [name, value] :
         {std::pair{L"PayorName", L"Payer Two"}, {L"ClaimFilingInd", L"P"}, {L"PatRelToInsured", L"01"},
          {L"GroupNo", L"grp-9"}, {L"InsuranceTypeCode", L"C1"}, {L"InsuredDateOfBirth", L"7/4/1950"},
          {L"InsuredSex", L"f"}, {L"PatSignatureSource", L"B"}, {L"InsuredLastName", L"Roe"},
          {L"InsuredFirstName", L"Richard"}, {L"InsuredMI", L"k"}, {L"InsuredGeneration", L"jr"},
          {L"InsuredIdNo", L"w123-45"}, {L"InsuredAddr1", L"5 Elm St"}, {L"InsuredAddr2", L"apt 2"},
          {L"InsuredCity", L"Salem"}, {L"InsuredState", L"or"}, {L"InsuredZip", L"97301-1234"},
          {L"NationalPayerId", L"np77"}, {L"PayorAddr1", L"PO Box 9"}, {L"PayorCity", L"Austin"},
          {L"PayorState", L"tx"}, {L"PayorZip", L"73301"}})
      StoreField(other->OutFields, name, value);
    other->subcriberCFI = L"ci", other->AcceptAssign = L"Y";
    return c;
  }
  void Set(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> fields) {
    for (auto [name, value] : fields) StoreField(other->OutFields, name, value);
  }
  // From the claim's last SBR up to its service lines.
  std::string Group() const {
    const std::string body = Body();
    // The other subscriber's SBR follows the claim loop (the subscriber level's comes before it).
    const size_t claim = body.find("~CLM*");
    const size_t from = claim == std::string::npos ? claim : body.find("~SBR*", claim);
    const size_t to = body.find("~LX*", from);
    return from == std::string::npos ? "" : body.substr(from + 1, to == std::string::npos ? to : to - from);
  }
  InsurancePolicy* other = nullptr;
};

TEST_F(OtherSubscriberTest, PolicyCountAndSettledAmounts) {
  struct Case {
    int policies;
    const wchar_t* firstFilingInd;
    double paid, patient;
    std::string group;
  } cases[] = {
      {1, L"S", 1, 1, ""},
      {2, L"P", 1, 1, kBase},
      {2, L"s", 1, 1, kBase},
      {2, L"S", 0, 0, "SBR*P*01*GRP-9**C1****CI~AMT*D*0~AMT*F2*0~" + kFromDmg},
      {3, L"S", 1234567.25, 0.00001, "SBR*P*01*GRP-9**C1****CI~AMT*D*1234567.25~AMT*F2*0.00001~" + kFromDmg},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.group);
    TearDown();
    SetUp();
    Claim& claim = AddOtherPayerClaim(c.policies);
    StoreField(Policy(claim).OutFields, L"ClaimFilingInd", c.firstFilingInd);
    claim.payerPaidAmount = c.paid, claim.patResponsAmount = c.patient;
    EXPECT_TRUE(Run());
    EXPECT_EQ(c.group, Group());
    EXPECT_EQ(c.policies == 1, Body().find("~OI*") == std::string::npos);
  }
}

TEST_F(OtherSubscriberTest, PatientAndProviderLoopsTakeTheNextNumbers) {
  struct Case {
    const wchar_t *patPolicyID, *patPolicyID2, *medicaidNo;
    std::vector<std::wstring> ids;
    std::string after2330B;
  } cases[] = {
      {L"", L"", L"", {}, ""},
      {L"", L"pp2", L"", {}, "NM1*QC*1*Doe*****MI~REF*1w*PP2~"},
      {L"", L"", L"", {L"id-one", L"abcdefghijklmnopqrstuvwxyz0123456789"},
       "NM1*82*1~REF*1C*ID-ONE~REF*G2*ABCDEFGHIJKLMNOPQRSTUVWXYZ0123~"},
      {L"pp1", L"", L"mcd-abcdefghijklmnopqrstuvwxyz01234", {L"a", L"b", L"c"},
       "NM1*QC*1*Doe*****MI*PP1~NM1*82*1~REF*1D*MCD-ABCDEFGHIJKLMNOPQRSTUVWXYZ~"},
      {L"pp1", L"pp2", L"", {L"id-one"}, "NM1*QC*1*Doe*****MI*PP1~REF*1w*PP2~NM1*82*1~REF*1C*ID-ONE~"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.after2330B);
    TearDown();
    SetUp();
    Claim& claim = AddOtherPayerClaim();
    other->patPolicyID = c.patPolicyID, other->patPolicyID2 = c.patPolicyID2, other->patPolicyID2Type = L"1w";
    other->medicaidIDNoType = L"1D";
    Set({{L"MedicaidIdNo", c.medicaidNo}});
    claim.prov837OtherInsSecIDCol = Ids(c.ids);
    claim.prov837OtherInsSecIDTypeCol = Ids({L"1C", L"G2"});
    EXPECT_TRUE(Run());
    EXPECT_EQ(kBase + c.after2330B, Group());
  }
}

// The payer's address follows the host's GS03; the screen codes follow the GS03 as written.
TEST_F(OtherSubscriberTest, PayerAddressAndMissingDataByReceiver) {
  auto line = [](const std::string& message, const std::string& screen) {
    return message + "  Find at:" + screen + "\r\n";
  };
  const std::string general = "Client Setup/General Tab", insuranceTab = "Client Setup/Insurance Tab";
  const std::string company = "Insurance Comp/General Tab", roe = " for Roe with Payer Two";
  struct Case {
    const wchar_t *gs02, *gs03, *subType;
    bool flag, address;
  } cases[] = {
      {L"G", L"431420764", L"RCV99", true, true},
      {L"", L"431420764", L"RCV99", false, true},
      {L"", L"", L"431420764", true, false},
      {L"G", L"431420764 ", L"RCV99", false, false},
  };
  for (const Case& c : cases) {
    for (bool missing : {false, true}) {
      SCOPED_TRACE(std::to_string(c.flag) + std::to_string(c.address) + std::to_string(missing));
      TearDown();
      SetUp();
      header->GS02 = c.gs02, header->GS03 = c.gs03;
      StoreField(header->OutFields, L"SubType", c.subType);
      Claim& claim = AddOtherPayerClaim();
      claim.payerPaymentDate = L"3/15/2007";
      other->insuredID2 = L"ab-12", other->insuredID2Type = L"SY";
      other->InsrSecID = L"abcdefghijklmnopqrstuvwxyz0123456789wxyz", other->InsrSecIDType = L"2u";
      if (!missing) {
        EXPECT_TRUE(Run());
        EXPECT_EQ(kSbr + kDmgOI + k2330A + "REF*SY*AB-12~" + k2330B +
                      (c.address ? "N3*PO BOX 9~N4*AUSTIN*TX*73301~" : "") +
                      "DTP*573*D8*20070315~REF*2U*ABCDEFGHIJKLMNOPQRSTUVWXYZ0123~",
                  Group());
        EXPECT_EQ("", Log());
        continue;
      }
      for (const wchar_t* name : {L"InsuranceTypeCode", L"InsuredDateOfBirth", L"InsuredSex", L"InsuredIdNo",
                                  L"InsuredAddr1", L"InsuredAddr2", L"InsuredCity", L"InsuredState", L"InsuredZip",
                                  L"NationalPayerId", L"PayorAddr1", L"PayorCity", L"PayorState", L"PayorZip"})
        Set({{name, L""}});
      other->subcriberCFI = other->insuredID2Type = other->InsrSecIDType = L"";
      claim.prov837OtherInsSecIDCol = Ids({L"a-1", L"b-2"});
      claim.prov837OtherInsSecIDTypeCol = Ids({L""});  // one type short of the ids
      EXPECT_FALSE(Run());
      std::string log = line("Missing Insurance Type Code for Doe with Payer Two", insuranceTab) +
                        line("Missing Claim Filing Ind. Code for Doe with Payer Two",
                             c.flag ? "Client Setup/Insurance Tab/Claim Filing Ind. (BL, MB, MC, CI)" : insuranceTab) +
                        line("Missing Date of birth for Roe", general + " or Client Setup/Parties Tab") +
                        line("Missing Gender for Roe", general + " or Client Setup/Parties Tab") +
                        line("Missing Insurance ID Number for Doe with Payer Two", insuranceTab) +
                        line("Missing Address" + roe, general) + line("Missing City" + roe, general) +
                        line("Missing State" + roe, general) + line("Missing Zip Code" + roe, general) +
                        line("Missing Secondary Insurance ID Type" + roe, general) +
                        line("Missing Insurance Company National Payer ID for Payer Two",
                             c.flag ? "Insurance Company Setup/Efile Tab (5 digit code supplied by Gateway)"
                                    : "Insurance Comp/EFile Tab");
      if (c.address)
        log += line("Missing Insurance Company Address for Payer Two", company) +
               line("Missing Insurance Company City for Payer Two", company) +
               line("Missing Insurance Company State for Payer Two", company) +
               line("Missing Insurance Company Zip Code for Payer Two", company);
      const std::string provider =
          line("Missing Pay-To Provider Secondary ID Type for Smith, John with Payer Two", "Provider/HCFA Details Tab");
      EXPECT_EQ(log + line("Missing Secondary ID Type for Payer Two", company) + provider + provider, Log());
      EXPECT_EQ("SBR*P*01*GRP-9~DMG*D8~OI***Y*B**Y~NM1*IL*1*ROE*RICHARD*K**JR*MI~REF**AB-12~"
                "NM1*PR*2*PAYER TWO*****PI~DTP*573*D8*20070315~REF**ABCDEFGHIJKLMNOPQRSTUVWXYZ0123~"
                "NM1*82*1~REF**A-1~REF**B-2~",
                Group());
    }
  }
}

TEST_F(OtherSubscriberTest, SeparatorStopsTheWritingWithItsPosition) {
  struct Case {
    void (*spoil)(Claim&, InsurancePolicy&);
    std::string position;
  } cases[] = {
      {[](Claim&, InsurancePolicy& p) { StoreField(p.OutFields, L"GroupNo", L"g*1"); }, "2320-"},
      {[](Claim&, InsurancePolicy& p) { StoreField(p.OutFields, L"InsuredFirstName", L"Ri~ch"); }, "2330A-"},
      {[](Claim&, InsurancePolicy& p) { StoreField(p.OutFields, L"PayorName", L"Payer*Two"); }, "2330B-"},
      {[](Claim&, InsurancePolicy& p) { p.patPolicyID = L"p:1"; }, "2330C-"},
      {[](Claim& c, InsurancePolicy&) {
         c.prov837OtherInsSecIDCol = Ids({L"a*1"});
         c.prov837OtherInsSecIDTypeCol = Ids({L"1C"});
       },
       "2330E-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    TearDown();
    SetUp();
    Claim& claim = AddOtherPayerClaim();
    c.spoil(claim, *other);
    EXPECT_FALSE(Run());
    const std::string first = "Error found in " + c.position + kParentHL + " for Doe, Jane.\rElectronic files";
    EXPECT_EQ("Error Creating File: " + first, Boxes().substr(0, first.size() + 21));
    EXPECT_EQ(first, Log().substr(0, first.size()));
    EXPECT_EQ("", Output());
  }
}

}  // namespace
}  // namespace claimfile::Edi837
