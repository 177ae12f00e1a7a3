// Whole NSF files, byte for byte, under a fixed clock, against files written by hand from the
// layout tables (tests/nsf/expected).
#include "nsf/edi_file.h"
#include "nsf_fixture.h"
#include "recording_presenter.h"

namespace claimfile::nsftest {
namespace {

std::string Expected(const wchar_t* name) {
  const std::string bytes = testutil::ReadBytes(std::wstring(L"" NSF_EXPECTED L"\\") + name);
  EXPECT_FALSE(bytes.empty()) << "expected file missing";
  return bytes;
}

// The first differing record, to read a failure by.
void ExpectSameRecords(const std::string& expected, const std::string& actual) {
  auto e = Records(expected), a = Records(actual);
  for (size_t i = 0; i < std::min(e.size(), a.size()); ++i)
    if (e[i] != a[i]) {
      size_t col = 0;
      while (e[i][col] == a[i][col]) ++col;
      ADD_FAILURE() << "record " << i + 1 << " (" << e[i].substr(0, 3) << ") differs from column " << col + 1
                    << "\nexpected: " << e[i] << "\nactual:   " << a[i];
      return;
    }
  EXPECT_EQ(e.size(), a.size()) << Ids(a);
  EXPECT_TRUE(expected == actual) << "bytes differ";
}

// Two batches of one claim each, each claim with one policy and one service line.
com::Ptr<FileHeader> TwoBatches() {
  auto h = FileHeader::New();
  Fill(h->OutFields, {{L"SubId", L"SUB0001"}, {L"SubType", L"ABC123"}, {L"SubNo", L"123"},
                      {L"SubName", L"ACME BILLING SERVICES"}, {L"SubAddr1", L"100 MAIN STREET"},
                      {L"SubAddr2", L"SUITE 4"}, {L"SubCity", L"SPRINGFIELD"}, {L"SubState", L"IL"},
                      {L"SubZip", L"627011234"}, {L"SubRegion", L"MIDW"}, {L"SubContact", L"JANE ROE"},
                      {L"SubPhone", L"2175551234"}, {L"ReceiverId", L"RCV77"}, {L"ReceiverTypeCode", L"C"},
                      {L"TestProdInd", L"TEST"}, {L"Password", L"SECRET1"},
                      // values no NSF record writes
                      {L"SubLName", L"ROE"}, {L"ProcessFromDate", L"2/1/2003"}, {L"VendorAppCat", L"X"}});
  Batch& b1 = AddBatch(*h, L"P100",
                       {{L"EMCProvId", L"EMC100"}, {L"BatchType", L"100"}, {L"BatchNo", L"1"}, {L"BatchId", L"501"},
                        {L"ProvTaxId", L"111223333"}, {L"ProvTaxIdType", L"E"}, {L"NationalProvId", L"1234567893"},
                        {L"ProvUPINUSINId", L"A12345"}, {L"ProvMedicaidNo", L"MCD100"}, {L"ProvChampusNo", L"CH100"},
                        {L"ProvBlueShieldNo", L"BS100"}, {L"ProvCommercialNo", L"CM100"},
                        {L"ProvOtherNumber1", L"OT1"}, {L"ProvOtherNumber2", L"OT2"},
                        {L"ProvOrganization", L"RIVERSIDE CLINIC"}, {L"ProvLastName", L"SMITH"},
                        {L"ProvFirstName", L"JOHN"}, {L"ProvMI", L"Q"}, {L"ProvSpeciality", L"008"},
                        {L"SpecialityLicenseNo", L"SP100"}, {L"StateLicenseNo", L"LIC100"},
                        {L"DentistLicenseNo", L"DL100"}, {L"AnesthesiaLicenseNo", L"AL100"},
                        {L"ProvParticipateInd", L"P"}, {L"ProvTypeOrganization", L"ORG"},
                        {L"ProvSVCAddr1", L"1 RIVER RD"}, {L"ProvSVCAddr2", L"BLDG B"},
                        {L"ProvSVCCity", L"SPRINGFIELD"}, {L"ProvSVCState", L"IL"}, {L"ProvSVCZip", L"62702"},
                        {L"ProvSVCPhone", L"2175550100"}, {L"ProvPAYTOAddr1", L"PO BOX 100"},
                        {L"ProvPAYTOAddr2", L"DEPT 7"}, {L"ProvPAYTOCity", L"SPRINGFIELD"},
                        {L"ProvPAYTOState", L"IL"}, {L"ProvPAYTOZip", L"62705"}, {L"ProvPAYTOPhone", L"2175550101"}});
  Claim& c1 = AddClaim(
      b1, {{L"PatControlNo", L"PCN1001"}, {L"PatLastName", L"DOE"}, {L"PatFirstName", L"JANE"}, {L"PatMI", L"A"},
           {L"PatDateOfBirth", L"1/15/1960"}, {L"PatSex", L"F"}, {L"PatAddr1", L"5 ELM ST"}, {L"PatCity", L"PEORIA"},
           {L"PatState", L"IL"}, {L"PatZip", L"61602"}, {L"PatPhone", L"3095550123"}, {L"PatMaritalStatus", L"M"},
           {L"OtherInsuranceInd", L"N"}, {L"TypeOfClaimInd", L"CI"}, {L"ClaimIDNo", L"CLM42"},
           {L"EmplRelatedInd", L"N"}, {L"AccidentInd", L"N"}, {L"ReleaseOfInfoInde", L"Y"},
           {L"ReleaseOfInfoDate", L"1/2/2003"}, {L"DiagnosisCode1", L"4011"}, {L"DiagnosisCode2", L"25000"},
           {L"ProvAssignInd", L"A"}, {L"ProvSignatureInd", L"Y"}, {L"ProvSignatureDate", L"2/1/2003"},
           {L"FacilityLabName", L"RIVERSIDE CLINIC"}, {L"FacilityLabNPI", L"1999999984"},
           {L"FacilityLabAddress1", L"1 RIVER RD"}, {L"FacilityLabCity", L"SPRINGFIELD"},
           {L"FacilityLabState", L"IL"}, {L"FacilityLabZipCode", L"62702"}});
  AddPolicy(c1, {{L"ClaimFilingInd", L"C"}, {L"SourceOfPay", L"F"}, {L"InsuranceTypeCode", L"12"},
                 {L"NationalPayerId", L"P0001"}, {L"PayorName", L"PAYER ONE"}, {L"GroupNo", L"G77"},
                 {L"GroupName", L"ACME CORP"}, {L"AssignOfBenefits", L"Y"}, {L"PatSignatureSource", L"C"},
                 {L"PatRelToInsured", L"1"}, {L"InsuredIdNo", L"ABC123456"}, {L"InsuredLastName", L"DOE"},
                 {L"InsuredFirstName", L"JANE"}, {L"InsuredSex", L"F"}, {L"InsuredDateOfBirth", L"1/15/1960"},
                 {L"PayorAddr1", L"PO BOX 1"}, {L"PayorCity", L"CHICAGO"}, {L"PayorState", L"IL"},
                 {L"PayorZip", L"60601"}, {L"AllowedAmount", L"12.5"}, {L"AmtPaidToBene", L"12.5"},
                 {L"InsuredAddr1", L"5 ELM ST"}, {L"InsuredCity", L"PEORIA"}, {L"InsuredState", L"IL"},
                 {L"InsuredZip", L"61602"}});
  AddLine(c1, {{L"LineItemControlNo", L"1"}, {L"SvcFromDate", L"2/1/2003"}, {L"SvcToDate", L"2/1/2003"},
               {L"PlaceOfSvc", L"11"}, {L"HCPCSProcedureCode", L"99213"}, {L"LineCharges", L"150"},
               {L"DiagCodePointer1", L"1"}, {L"UnitsOfSvc", L"1"}, {L"RenderingProvNPI", L"1234567893"},
               {L"ApprovedAmt", L"120"}, {L"PaidAmt", L"96"}});

  Batch& b2 = AddBatch(*h, L"P200",
                       {{L"EMCProvId", L"EMC200"}, {L"BatchType", L"100"}, {L"BatchNo", L"2"}, {L"BatchId", L"502"},
                        {L"ProvTaxId", L"444556666"}, {L"NationalProvId", L"1098765432"},
                        {L"ProvLastName", L"JONES"}, {L"ProvFirstName", L"MARY"}, {L"ProvSVCAddr1", L"9 LAKE AVE"},
                        {L"ProvSVCCity", L"PEORIA"}, {L"ProvSVCState", L"IL"}, {L"ProvSVCZip", L"61602"}});
  Claim& c2 = AddClaim(b2, {{L"PatControlNo", L"PCN2001"}, {L"PatLastName", L"ROE"}, {L"PatFirstName", L"RICHARD"},
                            {L"PatDateOfBirth", L"7/4/1971"}, {L"PatSex", L"M"}, {L"DiagnosisCode1", L"4659"}});
  AddPolicy(c2, {{L"PayorName", L"PAYER TWO"}, {L"PatRelToInsured", L"18"}, {L"InsuredIdNo", L"XYZ987"},
                 {L"DeductibleAmount", L"20"}, {L"PayorAmountPaid", L"40.25"}});
  AddLine(c2, {{L"SvcFromDate", L"2/2/2003"}, {L"HCPCSProcedureCode", L"99212"}, {L"LineCharges", L"75.5"},
               {L"UnitsOfSvc", L"1.5"}, {L"ApprovedAmt", L"60"}, {L"PaidAmt", L"48"}});
  return h;
}

TEST(NsfFiles, TwoBatchesOfOneClaimEach) {
  FixedClock clock({Moment(2003, 2, 3, 14, 5, 9)});
  testutil::TempDir dir;
  auto header = TwoBatches();
  auto [bytes, error] = WriteNsf(*header, dir);
  EXPECT_EQ(0, error);
  ExpectSameRecords(Expected(L"two_batches.nsf"), bytes);
}

// Two providers, two payers on a claim, a credit line, a narrative with a line break, a claim
// without policies or lines, a batch without claims; then a second header with nothing set. Both
// headers are exported into one file.
TEST(NsfFiles, RicherTreeAndAnEmptyHeaderThroughExport) {
  FixedClock clock({Moment(2007, 3, 1, 8, 30, 0)});
  vb::ScopedRecordingPresenter boxes;
  testutil::TempDir dir;
  auto file = EDIFile::New();
  FileHeader& h = *file->FileHeader(L"MAIN");
  Fill(h.OutFields, {{L"SubId", L"RICH01"}, {L"SubType", L"XYZ"}, {L"SubNo", L"7"},
                     {L"SubName", L"RIVERSIDE FAMILY PRACTICE"}, {L"ReceiverId", L"BIGPAYER"},
                     {L"ReceiverTypeCode", L"F"}, {L"TestProdInd", L"PROD"}, {L"Password", L"PW"}});
  Batch& a = AddBatch(h, L"P100", {{L"EMCProvId", L"A100"}, {L"BatchType", L"200"}, {L"BatchNo", L"12"},
                                   {L"BatchId", L"34"}, {L"ProvTaxId", L"999887777"},
                                   {L"ProvOrganization", L"OAK\tSTREET CLINIC"},
                                   {L"ProvSVCAddr1", L"7 OAK ST\r\nSUITE 2"}});
  Claim& r1 = AddClaim(a, {{L"PatControlNo", L"RICH-CONTROL-NUMBER-01"}, {L"PatLastName", L"\u0141UKASZ"},
                           {L"PatFirstName", L"Zo\u00e9"}, {L"PatAddr1", L"12 OAK\r\nAPT 3"},
                           {L"PatCity", L"A VERY LONG CITY NAME BEYOND TWENTY"},
                           {L"DisabilityFromDate", L"1/5/2007"}, {L"DisabilityToDate", L"1/20/2007"},
                           {L"LabCharges", L"12.5"},
                           {L"ExtraNarrative", L"PATIENT SEEN TWICE\r\nSEE NOTES\tATTACHED"}});
  AddPolicy(r1, {{L"PayorName", L"FIRST PAYER"}, {L"PatRelToInsured", L"18"}, {L"InsuredIdNo", L"P1ID"},
                 {L"PayorAmountPaid", L"-12.34"}, {L"InsuredRetireDate", L"3/1/2001"},
                 {L"InsuredSpouseRetire", L"3/1/2001"}});
  AddPolicy(r1, {{L"PayorName", L"SECOND PAYER"}, {L"PatRelToInsured", L"1"},
                 {L"BeneCheckEFTTraceNo", L"BENE123"}, {L"ProvCheckEFTTraceNo", L"PROV456"},
                 {L"InterestPaid", L"1.005"}, {L"ApprovedAmt", L"0.025"}});
  AddLine(r1, {{L"HCPCSProcedureCode", L"99213"}, {L"LineCharges", L"10.125"}, {L"UnitsOfSvc", L"2"},
               {L"DrugDiscountAmt", L"12.5"}, {L"ApprovedAmt", L"10"}, {L"PaidAmt", L"8"}});
  AddLine(r1, {{L"HCPCSProcedureCode", L"99213"}, {L"LineCharges", L"-25"}, {L"PaidAmt", L"-25"}});
  AddClaim(a, {{L"PatControlNo", L"R2"}, {L"PatLastName", L"PLAIN"}});
  AddBatch(h, L"P200", {{L"EMCProvId", L"B200"}, {L"BatchType", L"300"}});
  file->FileHeader(L"EMPTY");

  file->OutputFileName = dir.file(L"claims.nsf");
  file->DoExport();
  EXPECT_TRUE(boxes.shown().empty());
  EXPECT_TRUE(file->valid837());
  ExpectSameRecords(Expected(L"rich_tree.nsf"), testutil::ReadBytes(dir.file(L"claims.nsf")));
}

}  // namespace
}  // namespace claimfile::nsftest
