// One interchange that takes most branches of the writer at once, compared byte for byte: two
// batches (the first through a billing service), four claims, TOS.txt, CLM16.txt and the UHIN
// marker present, the receiver "431420764", a fixed clock. Nothing is missing, so the answer is
// True and no log is made.
#include "write837_fixture.h"

namespace claimfile::Edi837 {
namespace {

using Values = std::initializer_list<std::pair<const wchar_t*, const wchar_t*>>;

void Fill(const com::Ptr<OutputFields>& store, Values values) {
  for (auto [name, value] : values) StoreField(store, name, value);
}

// The expected interchange, one segment a line. The saved file holds no line breaks: each
// segment ends with "~" only.
const char* const kGolden[] = {
    // Envelope: the receiver's GS03 (so ReceiverFlag), ISA08 replaced by the first pay-to id
    // (UHIN marker), SubNo 42 padded.
    "ISA*00*          *00*          *ZZ*SENDER1        *ZZ*1234567890     *070301*1000*U*00401*114236005*0*T*:",
    "GS*HC*SUBID*431420764*20070301*1000*000042*X*004010X098A1",
    "ST*837*000042",
    "BHT*0019*00*000042*20070301*1000*CH",
    "REF*87*004010X098A1",
    // 1000A from the first batch's billing service name, 1000B.
    "NM1*41*2*MIDWEST BILLING CO*****46*E100",
    "PER*IC*JANE ROE*TE*2125551234",
    "NM1*40*2*BIG PAYER*****46*R99",

    // Claim 1, batch 1 through the billing service: 2010AA billing service and 2010AB pay-to,
    // each with the claim's secondary id (run P); patient is the subscriber (HL04 0, SBR02 18,
    // address, DMG, Y4 in its own case), no 2000C; CLM16 by "C1001,60054"; DTP 304 found as
    // "dateLastSeen" and 431 without 439 (AccidentInd N); prior authorisation REF(1); HI with
    // code 3 empty; 2310A person referring with PRV and REF kept as stored, 2310B (pay-to is
    // not the provider) with PRV and REF, 2310D facility at another address, 2310E supervising
    // with its trimmed REF; one policy (no 2320); line 1 one modifier D8, line 2 two modifiers,
    // SV105 22, SV109, RD8.
    "HL*1**20*1",
    "PRV*PT*ZZ*207Q00000X",
    "NM1*85*2*MIDWEST BILLING CO*****24*369876543",
    "N3*400 COMMERCE DR",
    "N4*PEORIA*IL*61602",
    "REF*1D*AB12",
    "NM1*87*2*WELBY FAMILY PRACTICE*****XX*1234567890",
    "N3*12 MAIN ST*SUITE 4",
    "N4*SPRINGFIELD*IL*627011234",
    "REF*1D*AB12",
    "HL*2*1*22*0",
    "SBR*P*18*GRP-100*Acme Corp*****CI",
    "NM1*IL*1*DOE*JOHN*A***MI*XYZ123",
    "N3*5 ELM ST*APT 2",
    "N4*PEORIA*IL*616020001",
    "DMG*D8*19700405*M",
    "REF*Y4*pc-77",
    "NM1*PR*2*Acme Health*****PI*60054",
    "N3*PO BOX 100",
    "N4*HARTFORD*CT*06101",
    "CLM*C1001*205.5***11::1*Y*A*Y*Y*S******P",
    "DTP*304*D8*20070220",
    "DTP*431*D8*20070215",
    "REF*G1*PA-9",
    "HI*BK:7840*BF:4011**BF:25000",
    "NM1*DN*1*KILDARE*JAMES*R***XX*1112223333",
    "PRV*RF*ZZ*208D00000X",
    "REF*1G*ref-1",
    "NM1*82*1*WELBY*MARCUS*T***24*361234567",
    "PRV*PE*ZZ*207Q00000X",
    "REF*1D*AB12",
    "NM1*77*2*PEORIA IMAGING*****XX*FNPI77",
    "N3*77 LAKE AVE",
    "N4*PEORIA*IL*61603",
    "REF*1G*LAB-55",
    "NM1*DQ*1*CASEY*BEN*K***XX*SV123",
    "REF*0B*0B-9",
    "LX*1",
    "SV1*HC:99213:25*125.5*UN*1***1",
    "DTP*472*D8*20070301",
    "LX*2",
    "SV1*HC:73610:25:59*80*UN*2*22**2**Y",
    "DTP*472*RD8*20070301-20070303",

    // Claim 2, batch 1: no secondary ids (no REF under 2010AA/AB); patient is not the
    // subscriber: 2000B HL04 1 without SBR02, 2010BA with DMG (SbrDMGAlways empty) and the
    // secondary id without hyphens, 2010BB REF; 2000C HL 5 under 4 with PAT, NM107 and the
    // upper-cased Y4; first policy "S"; accident "AA" (CLM11, 431 and 439), admission and
    // discharge, no CLM10 (relOfInfo N), CLM12; REF 4N and F8; 2310B without PRV (excluded);
    // facility left out (12 main st is the pay-to address); three policies, the second
    // reported: 2320 with the AMT pair, 2330A with REF, 2330B with N3/N4 (receiver), DTP 573
    // and REF, 2330C loop 3 with REF, 2330E loop 4 from the collection; TOS lists the primary
    // payer: SV106 on both lines; line 1 three modifiers and SV111, line 2 four modifiers, RD8.
    "HL*3**20*1",
    "PRV*PT*ZZ*207Q00000X",
    "NM1*85*2*MIDWEST BILLING CO*****24*369876543",
    "N3*400 COMMERCE DR",
    "N4*PEORIA*IL*61602",
    "NM1*87*2*WELBY FAMILY PRACTICE*****XX*1234567890",
    "N3*12 MAIN ST*SUITE 4",
    "N4*SPRINGFIELD*IL*627011234",
    "HL*4*3*22*1",
    "SBR*S********CI",
    "NM1*IL*1*ROE*MARY****MI*INS-200",
    "DMG*D8*19750601*F",
    "REF*SY*123456",
    "NM1*PR*2*Bright Mutual*****PI*55555",
    "N3*1 INSURANCE PLZ",
    "N4*OMAHA*NE*68102",
    "REF*2U*SEC-9",
    "HL*5*4*23*0",
    "PAT*19",
    "NM1*QC*1*ROE*ANNA*B**JR*MI*PP-1",
    "N3*8 OAK RD",
    "N4*PEORIA*IL*61604",
    "DMG*D8*20011225*F",
    "REF*Y4*PCX-1",
    "CLM*C1002*190.75***11::1*Y*C*Y*N**AA:::IL*03",
    "DTP*431*D8*20070228",
    "DTP*439*D8*20070228",
    "DTP*435*D8*20070227",
    "DTP*096*D8*20070228",
    "REF*4N*AE-1",
    "REF*F8*ORIG-55",
    "HI*BK:V700",
    "NM1*82*1*WELBY*MARCUS*T***24*361234567",
    "SBR*P*01*G2**C1****BL",
    "AMT*D*60.25",
    "AMT*F2*0",
    "DMG*D8*19720707*M",
    "OI***Y*B**Y",
    "NM1*IL*1*ROE*PAUL*C**SR*MI*SP-300",
    "N3*9 PINE LN",
    "N4*PEORIA*IL*61605",
    "REF*1W*AB-12",
    "NM1*PR*2*SECOND PAYER*****PI*66666",
    "N3*2 SECOND ST*FL 3",
    "N4*LINCOLN*NE*685081111",
    "DTP*573*D8*20070220",
    "REF*2U*NB-7",
    "NM1*QC*1*Roe*****MI*Q-55",
    "REF*1W*Z-1",
    "NM1*82*1",
    "REF*G2*G2-11",
    "REF*1B*ABC",
    "LX*1",
    "SV1*HC:90658:25:GT:59*40*UN*1**1*1****Y",
    "DTP*472*D8*20070301",
    "LX*2",
    "SV1*HC:99214:25:GT:59:QW*150.75*UN*1**5*1",
    "DTP*472*RD8*20070301-20070302",

    // Claim 3, batch 2 without a billing service: no 1000A/1000B again; organisation billing
    // provider (2010AA from the pay-to name, state kept whole, no pay-to loop), pay-to is the
    // provider (no 2310B); patient is the spouse: 2010BA without DMG (no date of birth),
    // 2000C with empty middle initial and generation; CLM16 by "ALL,77777"; DTP 438 as
    // instance 1; PWK and CN1; 2310A organisation referring without ids (NM1 loop 1), facility
    // as loop 2; second policy without patient ids: no 2330C, 2330E loop 3 by the Medicaid
    // number (its collection item not written); payer not in TOS: no SV106; no modifier.
    "HL*6**20*1",
    "PRV*BI*ZZ*363LF0000X",
    "NM1*85*2*HART CARA*****XX*5566677",
    "N3*300 RIVER RD",
    "N4*ROCKFORD*ILLINOIS*61101",
    "HL*7*6*22*1",
    "SBR*P**H-9******MB",
    "NM1*IL*1*STONE*CARL****MI*111223333A",
    "NM1*PR*2*Medicare Part B*****PI*77777",
    "N3*PO BOX 7",
    "N4*CHICAGO*IL*60607",
    "HL*8*7*23*0",
    "PAT*01",
    "NM1*QC*1*STONE*DANA",
    "N3*40 HILL ST",
    "N4*ROCKFORD*IL*61102",
    "DMG*D8*19500102*F",
    "CLM*C2001*65***11::1*Y*A*Y*Y*C******P",
    "DTP*438*D8*20070201",
    "PWK*OZ*AA",
    "CN1*09***ctr-1",
    "HI*BK:4019*BF:2724",
    "NM1*DN*2*ROCKFORD CLINIC",
    "NM1*77*2*RIVER LAB*****XX*1999999984",
    "N3*55 LAB WAY",
    "N4*ROCKFORD*IL*61104",
    "SBR*S*18***47****MC",
    "DMG*D8*19500102*F",
    "OI***Y*C**Y",
    "NM1*IL*1*STONE*DANA****MI*MD-4444",
    "N3*40 HILL ST",
    "N4*ROCKFORD*IL*61102",
    "NM1*PR*2*ILLINOIS MEDICAID*****PI*IL-MCD",
    "N3*201 S GRAND AVE",
    "N4*SPRINGFIELD*IL*62763",
    "NM1*82*1",
    "REF*1D*MCD-778899",
    "LX*1",
    "SV1*HC:99212*65*UN*1***1",
    "DTP*472*D8*20070301",

    // Claim 4, batch 2: person billing provider (insrSet2010AAToInd Y: NM1*85*1 from the
    // provider's name and primary id, its REF from the claim ids), so no 2310B; patient is the
    // subscriber, the secondary id keeps its case without hyphens; no dates; one policy;
    // EmergencyInd n and EPSDTInd N: no SV109, no SV111.
    "HL*9**20*1",
    "PRV*BI*ZZ*363LF0000X",
    "NM1*85*1*HART*CARA*J***XX*5566677",
    "N3*300 RIVER RD",
    "N4*ROCKFORD*ILLINOIS*61101",
    "REF*G2*HC-1",
    "HL*10*9*22*0",
    "SBR*P*18*******CI",
    "NM1*IL*1*LAKE*IVY****MI*IV-1",
    "N3*3 BAY CT",
    "N4*ROCKFORD*IL*61103",
    "DMG*D8*19881031*F",
    "REF*SY*s1",
    "NM1*PR*2*Acme Health*****PI*60054",
    "N3*PO BOX 100",
    "N4*HARTFORD*CT*06101",
    "CLM*C2002*200***11::1*Y*A*Y*Y*S",
    "HI*BK:7231",
    "LX*1",
    "SV1*HC:99395*200*UN*1***1",
    "DTP*472*D8*20070302",

    // Trailers: 169 segments from ST to SE.
    "SE*169*000042",
    "GE*1*000042",
    "IEA*1*114236005",
};

class GoldenInterchangeTest : public Write837Test {
 protected:
  Batch& NewBatch(const wchar_t* key, Values fields) {
    Batch& b = *header->Batchs->Add(key);
    Fill(b.OutFields, fields);
    return b;
  }
  Claim& NewClaim(Batch& b, Values fields) {
    Claim& c = *b.Claims->Add();
    Fill(c.OutFields, fields);
    c.clmFreqTypeCode = 1;
    return c;
  }
  InsurancePolicy& NewPolicy(Claim& c, Values fields) {
    InsurancePolicy& p = *c.InsurancePolicies->Add();
    Fill(p.OutFields, fields);
    return p;
  }
  ServiceLine& NewLine(Claim& c, Values fields) {
    ServiceLine& l = *c.ServiceLines->Add();
    Fill(l.OutFields, fields);
    return l;
  }

  void BuildBatch1();
  void BuildBatch2();
};

void GoldenInterchangeTest::BuildBatch1() {
  Batch& b = NewBatch(L"B1", {{L"ProvLastName", L"Welby"}, {L"ProvFirstName", L"Marcus"}, {L"ProvMI", L"t"},
                              {L"ProvSpeciality", L"207q00000x"}, {L"ProvPAYTOAddr1", L"12 Main St"},
                              {L"ProvPAYTOAddr2", L"Suite 4"}, {L"ProvPAYTOCity", L"Springfield"},
                              {L"ProvPAYTOState", L"Illinois"}, {L"ProvPAYTOZip", L"62701-1234"}});
  b.usingBillingService = true;
  b.billServName = L"Midwest Billing Co", b.billServIDType = L"24", b.billServID = L"36-9876543";
  b.billServAddr1 = L"400 Commerce Dr", b.billServCity = L"Peoria", b.billServState = L"Illinois";
  b.billServZip = L"61602";
  b.provPayToName = L"Welby Family Practice", b.provPayToIDType = L"XX", b.provPayToID = L"1234-567890";
  b.prov837PrimIDType = L"24", b.prov837PrimID = L"36-1234567";
  b.EDINumber = L"E100";

  Claim& c1 = NewClaim(b, {{L"PatControlNo", L"C1001"}, {L"PatLastName", L"Doe"}, {L"PatFirstName", L"John"},
                           {L"AccidentInd", L"N"}, {L"AccidentSymptomDate", L"2/15/2007"},
                           {L"dateLastSeen", L"2/20/2007"}, {L"DiagnosisCode1", L"7840"}, {L"DiagnosisCode2", L"4011"},
                           {L"DiagnosisCode4", L"25000"}, {L"ReferProvLast", L"Kildare"}, {L"ReferProvFirst", L"James"},
                           {L"ReferProvMI", L"r"}, {L"ReferProvEntityType", L"2"}, {L"ReferProvTaxType", L"XX"},
                           {L"ReferProvTaxId", L"111-222-3333"}, {L"FacilityLabName", L"Peoria Imaging"},
                           {L"FacilityLabNPI", L"fnpi77"}, {L"FacilityLabAddress1", L"77 Lake Ave"},
                           {L"FacilityLabCity", L"Peoria"}, {L"FacilityLabState", L"il"},
                           {L"FacilityLabZipCode", L"61603"}, {L"SupvProvLast", L"Casey"}, {L"SupvProvFirst", L"Ben"},
                           {L"SupvProvMI", L"k"}, {L"SupvProvNPI", L"sv123"}});
  c1.ReferProvSCode = L"208d00000x", c1.ReferProvSecIDType = L"1G", c1.ReferProvSecID = L"ref-1";
  c1.facilityOtherIDType = L"1gx", c1.facilityOtherID = L"lab-55";
  c1.SupvProvNPIType = L"XX", c1.supvProvSecIDType = L" 0b ", c1.supvProvSecID = L" 0b-9 ";
  c1.prov837SecIDCol = Ids({L"ab12"}), c1.prov837SecIDTypeCol = Ids({L"1D"});
  InsurancePolicy& p1 = NewPolicy(c1, {{L"PatRelToInsured", L"18"}, {L"ClaimFilingInd", L"P"}, {L"GroupNo", L"grp-100"},
                                       {L"GroupName", L"Acme Corp"}, {L"InsuredLastName", L"Doe"},
                                       {L"InsuredFirstName", L"John"}, {L"InsuredMI", L"a"},
                                       {L"InsuredIdNo", L"xyz123"}, {L"InsuredAddr1", L"5 Elm St"},
                                       {L"InsuredAddr2", L"Apt 2"}, {L"InsuredCity", L"Peoria"},
                                       {L"InsuredState", L"il"}, {L"InsuredZip", L"61602-0001"},
                                       {L"InsuredDateOfBirth", L"4/5/1970"}, {L"InsuredSex", L"m"},
                                       {L"PayorName", L"Acme Health"}, {L"NationalPayerId", L"60054"},
                                       {L"PayorAddr1", L"PO Box 100"}, {L"PayorCity", L"Hartford"},
                                       {L"PayorState", L"ct"}, {L"PayorZip", L"06101"}, {L"PatSignatureSource", L"SOF"},
                                       {L"PriorAuthNo", L"pa-9"}});
  p1.subcriberCFI = L"ci", p1.propCasClaimNum = L"pc-77";
  p1.medicareAssign = L"A", p1.AcceptAssign = L"Y", p1.relOfInfo = L"Y", p1.priorAuthType = L"G1";
  NewLine(c1, {{L"SvcFromDate", L"3/1/2007"}, {L"SvcToDate", L"3/1/2007"}, {L"HCPCSProcedureCode", L"99213"},
               {L"HCPCSModifier1", L"25"}, {L"LineCharges", L"125.5"}, {L"UnitsOfSvc", L"1"}, {L"PlaceOfSvc", L"11"},
               {L"TypeOfSvcCode", L"1"}, {L"DiagCodePointer1", L"1"}});
  NewLine(c1, {{L"SvcFromDate", L"3/1/2007"}, {L"SvcToDate", L"3/3/2007"}, {L"HCPCSProcedureCode", L"73610"},
               {L"HCPCSModifier1", L"2559"}, {L"LineCharges", L"80"}, {L"UnitsOfSvc", L"2"}, {L"PlaceOfSvc", L"22"},
               {L"DiagCodePointer1", L"2"}, {L"EmergencyInd", L"y"}});

  Claim& c2 = NewClaim(b, {{L"PatControlNo", L"C1002"}, {L"PatLastName", L"Roe"}, {L"PatFirstName", L"Anna"},
                           {L"PatMI", L"b"}, {L"PatGeneration", L"jr"}, {L"PatAddr1", L"8 Oak Rd"},
                           {L"PatCity", L"Peoria"}, {L"PatState", L"IL"}, {L"PatZip", L"61604"},
                           {L"PatDateOfBirth", L"12/25/2001"}, {L"PatSex", L"f"}, {L"AccidentInd", L"AA"},
                           {L"AccidentState", L"il"}, {L"AccidentSymptomDate", L"2/28/2007"},
                           {L"AdmissionDate1", L"2/27/2007"}, {L"DischargeDate1", L"2/28/2007"},
                           {L"DiagnosisCode1", L"V700"}, {L"FacilityLabName", L"Welby Annex"},
                           {L"FacilityLabNPI", L"1999999984"}, {L"FacilityLabAddress1", L"12 main st"},
                           {L"FacilityLabCity", L"Springfield"}, {L"FacilityLabState", L"IL"},
                           {L"FacilityLabZipCode", L"62701"}});
  c2.specialProgramCode = L"03", c2.servAuthExcpCode = L"ae-1", c2.clmOrgRefNum = L" orig-55 ";
  c2.payerPaidAmount = 60.25, c2.patResponsAmount = 0, c2.payerPaymentDate = L"2/20/2007";
  c2.prov837OtherInsSecIDCol = Ids({L"g2-11", L"abc"}), c2.prov837OtherInsSecIDTypeCol = Ids({L"G2", L"1B"});
  InsurancePolicy& p21 = NewPolicy(c2, {{L"PatRelToInsured", L"19"}, {L"ClaimFilingInd", L"S"},
                                        {L"InsuredLastName", L"Roe"}, {L"InsuredFirstName", L"Mary"},
                                        {L"InsuredIdNo", L"ins-200"}, {L"InsuredAddr1", L"8 Oak Rd"},
                                        {L"InsuredCity", L"Peoria"}, {L"InsuredState", L"IL"},
                                        {L"InsuredZip", L"61604"}, {L"InsuredDateOfBirth", L"6/1/1975"},
                                        {L"InsuredSex", L"F"}, {L"PayorName", L"Bright Mutual"},
                                        {L"NationalPayerId", L"55555"}, {L"PayorAddr1", L"1 Insurance Plz"},
                                        {L"PayorCity", L"Omaha"}, {L"PayorState", L"NE"}, {L"PayorZip", L"68102"},
                                        {L"PatSignatureSource", L"B"}});
  p21.subcriberCFI = L"ci", p21.insuredID2Type = L"SY", p21.insuredID2 = L"12-34-56";
  p21.InsrSecIDType = L"2u", p21.InsrSecID = L"sec-9", p21.patPolicyID = L"pp-1", p21.propCasClaimNum = L"pcx-1";
  p21.medicareAssign = L"C", p21.AcceptAssign = L"Y", p21.relOfInfo = L"N", p21.insrExclud2310BPRV = L"Y";
  InsurancePolicy& p22 = NewPolicy(c2, {{L"ClaimFilingInd", L"P"}, {L"PatRelToInsured", L"01"}, {L"GroupNo", L"g2"},
                                        {L"InsuranceTypeCode", L"C1"}, {L"InsuredLastName", L"Roe"},
                                        {L"InsuredFirstName", L"Paul"}, {L"InsuredMI", L"c"},
                                        {L"InsuredGeneration", L"sr"}, {L"InsuredIdNo", L"sp-300"},
                                        {L"InsuredAddr1", L"9 Pine Ln"}, {L"InsuredCity", L"Peoria"},
                                        {L"InsuredState", L"il"}, {L"InsuredZip", L"61605"},
                                        {L"InsuredDateOfBirth", L"7/7/1972"}, {L"InsuredSex", L"m"},
                                        {L"PayorName", L"Second Payer"}, {L"NationalPayerId", L"66666"},
                                        {L"PayorAddr1", L"2 Second St"}, {L"PayorAddr2", L"Fl 3"},
                                        {L"PayorCity", L"Lincoln"}, {L"PayorState", L"ne"},
                                        {L"PayorZip", L"68508-1111"}, {L"PatSignatureSource", L"B"}});
  p22.subcriberCFI = L"bl", p22.AcceptAssign = L"Y", p22.insuredID2Type = L"1W", p22.insuredID2 = L"ab-12";
  p22.InsrSecIDType = L"2u", p22.InsrSecID = L"nb-7";
  p22.patPolicyID = L"q-55", p22.patPolicyID2Type = L"1W", p22.patPolicyID2 = L"z-1";
  // A third policy is never reported: none of its values may appear.
  InsurancePolicy& p23 = NewPolicy(c2, {{L"ClaimFilingInd", L"T"}, {L"PatRelToInsured", L"18"},
                                        {L"InsuredLastName", L"Third"}, {L"InsuredIdNo", L"T-3"},
                                        {L"PayorName", L"Third Payer"}, {L"NationalPayerId", L"33333"},
                                        {L"MedicaidIdNo", L"T-MCD"}});
  p23.subcriberCFI = L"ZZ", p23.patPolicyID = L"T-PAT";
  NewLine(c2, {{L"SvcFromDate", L"3/1/2007"}, {L"SvcToDate", L"3/1/2007"}, {L"HCPCSProcedureCode", L"90658"},
               {L"HCPCSModifier1", L"25GT59"}, {L"LineCharges", L"40"}, {L"UnitsOfSvc", L"1"}, {L"PlaceOfSvc", L"11"},
               {L"TypeOfSvcCode", L"01"}, {L"DiagCodePointer1", L"1"}, {L"EmergencyInd", L"N"}})
      .EPSDTInd = L"y";
  NewLine(c2, {{L"SvcFromDate", L"3/1/2007"}, {L"SvcToDate", L"3/2/2007"}, {L"HCPCSProcedureCode", L"99214"},
               {L"HCPCSModifier1", L"25GT59QW"}, {L"LineCharges", L"150.75"}, {L"UnitsOfSvc", L"1"},
               {L"PlaceOfSvc", L"11"}, {L"TypeOfSvcCode", L"5.0"}, {L"DiagCodePointer1", L"1"}});
}

void GoldenInterchangeTest::BuildBatch2() {
  Batch& b = NewBatch(L"B2", {{L"ProvLastName", L"Hart"}, {L"ProvFirstName", L"Cara"}, {L"ProvMI", L"j"},
                              {L"ProvSpeciality", L"363lf0000x"}, {L"ProvPAYTOAddr1", L"300 River Rd"},
                              {L"ProvPAYTOCity", L"Rockford"}, {L"ProvPAYTOState", L"Illinois"},
                              {L"ProvPAYTOZip", L"61101"}});
  b.provPayToName = L"Hart Cara", b.provPayToIDType = L"XX", b.provPayToID = L"55-66677";
  b.prov837PrimIDType = L"XX", b.prov837PrimID = L"5566677";
  b.EDINumber = L"E200";

  Claim& c3 = NewClaim(b, {{L"PatControlNo", L"C2001"}, {L"PatLastName", L"Stone"}, {L"PatFirstName", L"Dana"},
                           {L"PatAddr1", L"40 Hill St"}, {L"PatCity", L"Rockford"}, {L"PatState", L"il"},
                           {L"PatZip", L"61102"}, {L"PatDateOfBirth", L"1/2/1950"}, {L"PatSex", L"f"},
                           {L"AccidentInd", L"N"}, {L"SameSimilarSympDate", L"2/1/2007"}, {L"DiagnosisCode1", L"4019"},
                           {L"DiagnosisCode2", L"2724"}, {L"ReferProvLast", L"Rockford Clinic"},
                           {L"ReferProvEntityType", L"1"}, {L"ReferProvTaxType", L"24"}, {L"ReferProvTaxId", L"--"},
                           {L"FacilityLabName", L"River Lab"}, {L"FacilityLabNPI", L"1999999984"},
                           {L"FacilityLabAddress1", L"55 Lab Way"}, {L"FacilityLabCity", L"Rockford"},
                           {L"FacilityLabState", L"il"}, {L"FacilityLabZipCode", L"61104"}});
  c3.prov837OtherInsSecIDCol = Ids({L"x-1"}), c3.prov837OtherInsSecIDTypeCol = Ids({L"0B"});
  InsurancePolicy& p31 = NewPolicy(c3, {{L"PatRelToInsured", L"01"}, {L"ClaimFilingInd", L"P"}, {L"GroupNo", L"h-9"},
                                        {L"InsuredLastName", L"Stone"}, {L"InsuredFirstName", L"Carl"},
                                        {L"InsuredIdNo", L"111223333a"}, {L"InsuredSex", L"M"},
                                        {L"PayorName", L"Medicare Part B"}, {L"NationalPayerId", L"77777"},
                                        {L"PayorAddr1", L"PO Box 7"}, {L"PayorCity", L"Chicago"},
                                        {L"PayorState", L"IL"}, {L"PayorZip", L"60607"},
                                        {L"PatSignatureSource", L"C"}});
  p31.subcriberCFI = L"mb", p31.medicareAssign = L"A", p31.AcceptAssign = L"Y", p31.relOfInfo = L"Y";
  p31.l2300PWK01 = L"OZ", p31.l2300CN104 = L"ctr-1";
  InsurancePolicy& p32 = NewPolicy(c3, {{L"ClaimFilingInd", L"S"}, {L"PatRelToInsured", L"18"},
                                        {L"InsuranceTypeCode", L"47"}, {L"InsuredLastName", L"Stone"},
                                        {L"InsuredFirstName", L"Dana"}, {L"InsuredIdNo", L"md-4444"},
                                        {L"InsuredAddr1", L"40 Hill St"}, {L"InsuredCity", L"Rockford"},
                                        {L"InsuredState", L"IL"}, {L"InsuredZip", L"61102"},
                                        {L"InsuredDateOfBirth", L"1/2/1950"}, {L"InsuredSex", L"f"},
                                        {L"PayorName", L"Illinois Medicaid"}, {L"NationalPayerId", L"il-mcd"},
                                        {L"PayorAddr1", L"201 S Grand Ave"}, {L"PayorCity", L"Springfield"},
                                        {L"PayorState", L"IL"}, {L"PayorZip", L"62763"}, {L"PatSignatureSource", L"C"},
                                        {L"MedicaidIdNo", L"mcd-778899"}});
  p32.subcriberCFI = L"mc", p32.AcceptAssign = L"Y", p32.medicaidIDNoType = L"1D";
  NewLine(c3, {{L"SvcFromDate", L"3/1/2007"}, {L"SvcToDate", L"3/1/2007"}, {L"HCPCSProcedureCode", L"99212"},
               {L"LineCharges", L"65"}, {L"UnitsOfSvc", L"1"}, {L"PlaceOfSvc", L"11"}, {L"TypeOfSvcCode", L"03"},
               {L"DiagCodePointer1", L"1"}});

  Claim& c4 = NewClaim(b, {{L"PatControlNo", L"C2002"}, {L"PatLastName", L"Lake"}, {L"PatFirstName", L"Ivy"},
                           {L"AccidentInd", L"N"}, {L"DiagnosisCode1", L"7231"}});
  c4.prov837SecIDCol = Ids({L"hc-1"}), c4.prov837SecIDTypeCol = Ids({L"G2"});
  InsurancePolicy& p41 = NewPolicy(c4, {{L"PatRelToInsured", L"18"}, {L"ClaimFilingInd", L"P"},
                                        {L"InsuredLastName", L"Lake"}, {L"InsuredFirstName", L"Ivy"},
                                        {L"InsuredIdNo", L"iv-1"}, {L"InsuredAddr1", L"3 Bay Ct"},
                                        {L"InsuredCity", L"Rockford"}, {L"InsuredState", L"IL"},
                                        {L"InsuredZip", L"61103"}, {L"InsuredDateOfBirth", L"10/31/1988"},
                                        {L"InsuredSex", L"F"}, {L"PayorName", L"Acme Health"},
                                        {L"NationalPayerId", L"60054"}, {L"PayorAddr1", L"PO Box 100"},
                                        {L"PayorCity", L"Hartford"}, {L"PayorState", L"CT"}, {L"PayorZip", L"06101"},
                                        {L"PatSignatureSource", L"SOF"}});
  p41.subcriberCFI = L"ci", p41.insuredID2Type = L"SY", p41.insuredID2 = L"s-1", p41.insrSet2010AAToInd = L"Y";
  p41.medicareAssign = L"A", p41.AcceptAssign = L"Y", p41.relOfInfo = L"Y";
  NewLine(c4, {{L"SvcFromDate", L"3/2/2007"}, {L"SvcToDate", L"3/2/2007"}, {L"HCPCSProcedureCode", L"99395"},
               {L"LineCharges", L"200"}, {L"UnitsOfSvc", L"1"}, {L"PlaceOfSvc", L"11"}, {L"DiagCodePointer1", L"1"},
               {L"EmergencyInd", L"n"}})
      .EPSDTInd = L"N";
}

TEST_F(GoldenInterchangeTest, TwoBatchesFourClaimsByteExact) {
  header->GS02 = L"subid", header->GS03 = L"431420764";
  testutil::WriteBytes(data->file(L"TOS.txt"), "55555\r\n");
  testutil::WriteBytes(data->file(L"CLM16.txt"), "ALL,77777\r\nC1001,60054\r\n");
  const std::wstring marker = data->path() + L"UHIN.txt";  // beside the data folder
  testutil::WriteBytes(marker, "");
  BuildBatch1();
  BuildBatch2();
  expected = Counts{10, 4, 6};

  const bool answer = Run();
  DeleteFileW(marker.c_str());
  EXPECT_TRUE(answer);
  EXPECT_EQ("", Log());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(out->file(L"X.LOG").c_str()));
  EXPECT_EQ("", Boxes());

  // Compared a segment a line, so that a difference shows as a line diff.
  std::string golden;
  for (const char* segment : kGolden) golden += std::string(segment) + "~\n";
  const std::string bytes = Output();
  ASSERT_EQ(std::string::npos, bytes.find('\n'));
  std::string saved;
  for (char c : bytes) saved += c == '~' ? std::string("~\n") : std::string(1, c);
  EXPECT_EQ(golden, saved);
}

}  // namespace
}  // namespace claimfile::Edi837
