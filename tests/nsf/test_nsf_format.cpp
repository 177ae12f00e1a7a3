// The NSF writer: record order, the counters and sequence numbers of the trailers, the creation
// instant, and how the values of each type stand in their records.
#include "nsf_fixture.h"

namespace claimfile::nsftest {
namespace {

class NsfFormatTest : public testing::Test {
 protected:
  NsfFormatTest() : header(FileHeader::New()) {}
  std::vector<std::string> Write(long expectedError = 0) {
    auto [bytes, error] = WriteNsf(*header, dir);
    EXPECT_EQ(expectedError, error);
    return Records(bytes);
  }
  // The records whose id is `id`, in file order.
  static std::vector<std::string> Of(const std::vector<std::string>& records, const std::string& id) {
    std::vector<std::string> found;
    for (const auto& r : records)
      if (r.substr(0, 3) == id) found.push_back(r);
    return found;
  }

  FixedClock clock{{Moment(2007, 3, 1, 10, 0, 0)}};
  testutil::TempDir dir;
  com::Ptr<FileHeader> header;
};

TEST_F(NsfFormatTest, SequencesRestartWithEachClaimAndTheTrailerCountsTheClaim) {
  Batch& b = AddBatch(*header, L"P");
  for (const wchar_t* pcn : {L"ONE", L"TWO"}) {
    Claim& c = AddClaim(b, {{L"PatControlNo", pcn}});
    AddPolicy(c);
    AddPolicy(c);
    for (const wchar_t* charge : {L"50", L"60", L"40"}) AddLine(c, {{L"LineCharges", charge}});
  }
  auto records = Write();
  EXPECT_EQ("AA0 BA0 BA1 CA0 DA0 DA1 DA2 DA0 DA1 DA2 EA0 EA1 FA0 FA0 FA0 XA0 CA0 DA0 DA1 DA2 DA0 DA1 DA2 EA0 EA1 "
            "FA0 FA0 FA0 XA0 YA0 ZA0",
            Ids(records));
  std::string seqs;
  for (const auto& r : records)
    if (r[0] == 'D' || r[0] == 'F') seqs += Cols(r, 4, 5) + " ";
  EXPECT_EQ("01 01 01 02 02 02 01 02 03 01 01 01 02 02 02 01 02 03 ", seqs);
  std::string claim;  // each FA0 carries the number of the claim it is in
  for (const auto& r : records) {
    if (r.substr(0, 3) == "CA0") claim = Cols(r, 6, 22);
    if (r.substr(0, 3) == "FA0") {
      EXPECT_EQ(claim, Cols(r, 6, 22));
    }
  }
  auto xa0 = Of(records, "XA0");
  EXPECT_EQ("01060203" "00" "00" "003", Cols(xa0[1], 23, 37));
  EXPECT_EQ("0015000", Cols(xa0[1], 78, 84));
  EXPECT_EQ("TWO", Cols(xa0[1], 6, 8));
  // YA0: 6 lines, BA0 BA1 + 2 x 13 + YA0 = 29 records, 2 claims, 300.00.
  EXPECT_EQ("0000006" "0000029" "0000002" "000030000", Cols(Of(records, "YA0")[0], 47, 76));
  EXPECT_EQ("0000006" "0000029" "0000002" "0001", Cols(records.back(), 45, 69));
}

TEST_F(NsfFormatTest, NarrativeGetsAnHa0CountedInTheTrailer) {
  Batch& b = AddBatch(*header, L"P");
  struct Case {
    const wchar_t* narrative;
    int lines;
    std::string ids, ha0Sequence, xa0Counts;
  } cases[] = {
      {L"", 1, "CA0 EA0 EA1 FA0 XA0", "", "01000201" "00" "00" "001"},
      {L"   ", 0, "CA0 EA0 EA1 HA0 XA0", "00", "01000200" "00" "01" "000"},  // blanks are a narrative
      {L"SEEN", 3, "CA0 EA0 EA1 FA0 FA0 FA0 HA0 XA0", "03", "01000203" "00" "01" "003"},
  };
  for (const Case& c : cases) {
    Claim& claim = AddClaim(b, {{L"PatControlNo", L"PCN"}, {L"ExtraNarrative", c.narrative}});
    for (int i = 0; i < c.lines; ++i) AddLine(claim);
  }
  auto records = Write();
  size_t at = 3;  // after AA0 BA0 BA1
  for (const Case& c : cases) {
    std::vector<std::string> claim;
    do claim.push_back(records[at]);
    while (records[at++].substr(0, 3) != "XA0");
    EXPECT_EQ(c.ids, Ids(claim));
    auto ha0 = Of(claim, "HA0");
    if (!c.ha0Sequence.empty()) {
      ASSERT_EQ(1u, ha0.size());
      EXPECT_EQ(c.ha0Sequence, Cols(ha0[0], 4, 5));
      EXPECT_EQ(std::string(17, ' '), Cols(ha0[0], 23, 39));
      EXPECT_EQ("PCN", Cols(ha0[0], 6, 8));
    }
    EXPECT_EQ(c.xa0Counts, Cols(claim.back(), 23, 37));
  }
  // BA0 BA1, the claims' 5 + 5 + 8 records and YA0.
  EXPECT_EQ("0000021", Cols(Of(records, "YA0")[0], 54, 60));
}

TEST_F(NsfFormatTest, EveryObjectKeepsTheLastLayoutThatPrintedThroughIt) {
  Batch& b = AddBatch(*header, L"P");
  Claim& c = AddClaim(b, {{L"PatControlNo", L"C1"}});
  AddPolicy(c);
  InsurancePolicy& p = AddPolicy(c);
  AddLine(c, {{L"LineCharges", L"50"}});
  ServiceLine& l = AddLine(c, {{L"LineCharges", L"25"}});
  Write();
  // The layout of the last record, read after the writing: its id and the values computed for
  // that record (counts, sequence numbers, totals), by position in the layout.
  struct {
    OutputFields& store;
    const wchar_t* record;
    std::vector<std::pair<long, const wchar_t*>> computed;
  } kept[] = {
      // 2 lines; BA0 BA1 CA0 6xDA EA0 EA1 2xFA0 XA0 YA0 = 15 records; 75.00 charged
      {*header->OutFields, L"ZA0", {{3, L"2"}, {4, L"15"}, {5, L"1"}, {6, L"1"}, {7, L"75"}}},
      {*b.OutFields, L"YA0", {{7, L"2"}, {8, L"15"}, {9, L"1"}, {10, L"75"}}},
      {*c.OutFields, L"XA0", {{3, L"1"}, {4, L"6"}, {5, L"2"}, {6, L"2"}, {8, L"0"}, {9, L"2"}, {10, L"75"}}},
      {*p.OutFields, L"DA2", {{2, L"2"}, {3, L"C1"}}},
      {*l.OutFields, L"FA0", {{2, L"2"}, {3, L"C1"}}}};
  for (auto& k : kept) {
    ASSERT_TRUE(k.store.OutDefns);
    EXPECT_EQ(k.record, k.store.OutDefns->Item(1)->Value);
    for (auto [at, value] : k.computed) EXPECT_EQ(value, k.store.OutDefns->Item(at)->Value) << at;
  }
  // A host reading it twice gets the one layout object.
  _OutputFields& line = *l.OutFields;
  _OutputFields *first = nullptr, *second = nullptr;
  ASSERT_HRESULT_SUCCEEDED(line.get_OutDefns(&first));
  auto held = com::Ptr<_OutputFields>::Attach(first);
  ASSERT_HRESULT_SUCCEEDED(line.get_OutDefns(&second));
  com::Ptr<_OutputFields>::Attach(second);
  EXPECT_EQ(first, second);
}

TEST_F(NsfFormatTest, KeptLayoutsOutliveTheWriterAndFollowTheStoresLastRecord) {
  // A line written in one file keeps its FA0 layout while the writer writes another file and
  // after the writer is gone; a later writing of the line gives the layout of its new record.
  Claim& claim = AddClaim(AddBatch(*header, L"P"), {{L"PatControlNo", L"FIRST-CLAIM-0001"}});
  ServiceLine& line = AddLine(claim);
  auto other = FileHeader::New();
  Claim& next = AddClaim(AddBatch(*other, L"Q"), {{L"PatControlNo", L"OTHER-CLAIM-0002"}});
  AddLine(next);
  AddLine(next);
  auto writer = NSFFormat::New();
  ASSERT_EQ(0, WriteNsf(*header, dir, writer).second);
  ASSERT_EQ(0, WriteNsf(*other, dir, writer).second);
  writer.reset();
  // A kept layout printed through itself reads its own entries' values, and its line goes to file
  // number 1, which is not open.
  com::Ptr<OutputFields> self = line.OutFields->OutDefns.Made();
  self->OutDefns = self;
  EXPECT_VB_ERROR(vb::errBadFileNameOrNumber, self->PrintMe(1));
  self->OutDefns = nullptr;
  EXPECT_EQ(L"1", line.OutFields->OutDefns->Item(2)->Value);
  EXPECT_EQ(L"FIRST-CLAIM-0001", line.OutFields->OutDefns->Item(3)->Value);
  Fill(claim.OutFields, {{L"PatControlNo", L"CHANGED-CLAIM-03"}});
  ASSERT_EQ(0, WriteNsf(*header, dir).second);
  EXPECT_EQ(L"CHANGED-CLAIM-03", line.OutFields->OutDefns->Item(3)->Value);
}

TEST_F(NsfFormatTest, OneInstantPerWriterAcrossMidnightAndAcrossWrites) {
  FixedClock midnight({Moment(2007, 1, 31, 23, 59, 59), Moment(2007, 2, 1, 0, 0, 0), Moment(2007, 2, 1, 0, 0, 1)});
  auto writer = NSFFormat::New();
  auto [bytes, error] = WriteNsf(*header, dir, writer, 2);
  ASSERT_EQ(0, error);
  auto records = Records(bytes);
  ASSERT_EQ("AA0 ZA0 AA0 ZA0", Ids(records));
  EXPECT_EQ("20070131" "235959", Cols(records[0], 213, 226));
  EXPECT_EQ(Cols(records[0], 213, 226), Cols(records[2], 213, 226));
  EXPECT_EQ(1, ClockReads());
  // A new writer takes a new instant.
  auto [again, error2] = WriteNsf(*header, dir);
  EXPECT_EQ("20070201" "000000", Cols(Records(again)[0], 213, 226));
}

// One value of one store, and where it stands in its record (or the error the writing raises).
TEST_F(NsfFormatTest, TypesInsideRecords) {
  struct Case {
    const char* record;
    enum { Header, Claim, Policy, Line } store;
    const wchar_t* name;
    const wchar_t* value;
    size_t from, to;
    std::string expected;
    long error = 0;
  } cases[] = {
      {"CA0", Case::Claim, L"PatDateOfBirth", L"1/15/1960", 59, 66, "19600115"},
      {"CA0", Case::Claim, L"PatDateOfDeath", L"", 174, 181, "        "},
      {"CA0", Case::Claim, L"PatFirstName", L"Ren\u00e9e", 43, 54, "Ren\xe9" "e       "},
      {"CA0", Case::Claim, L"PatLastName", L"\u0141\u00f3d\u017a", 23, 26, "?\xf3" "d?"},
      {"CA0", Case::Claim, L"PatControlNo", L"ABCDEFGHIJKLMNOPQRSTU", 6, 22, "ABCDEFGHIJKLMNOPQ"},
      {"DA0", Case::Policy, L"PatRelToInsured", L"1", 155, 156, "01"},
      {"DA1", Case::Policy, L"AllowedAmount", L"12.5", 128, 134, "0001250"},
      {"DA1", Case::Policy, L"AmtPaidToBene", L"12.5", 230, 238, "000001250"},
      {"DA1", Case::Policy, L"BalanceDue", L"", 183, 189, "       "},
      {"FA0", Case::Line, L"LineCharges", L"0.125", 71, 77, "0000012"},  // halves to even
      {"FA0", Case::Line, L"LineCharges", L"0.135", 71, 77, "0000014"},
      {"FA0", Case::Line, L"LineCharges", L"-25", 71, 77, "00-2500"},
      {"FA0", Case::Line, L"LineCharges", L"  ", 71, 77, "       "},  // blanks of a fixed-width copy
      {"DA1", Case::Policy, L"AllowedAmount", L" ", 128, 134, "       "},
      {"FA0", Case::Line, L"UnitsOfSvc", L"1.5", 82, 85, "0015"},
      {"FA0", Case::Line, L"UnitsOfSvc", L"2", 82, 85, "0020"},
      {"FA0", Case::Line, L"DrugDiscountAmt", L"12.5", 231, 237, "00012.5"},
      {"FA0", Case::Line, L"LineItemControlNo", L"42", 23, 39, "00000000000000042"},
      {"FA0", Case::Line, L"SvcFromDate", L"3/1/2007", 40, 47, "20070301"},
      {"AA0", Case::Header, L"SubNo", L"123", 35, 40, "000123"},
      {"AA0", Case::Header, L"SubNo", L"1234567", 0, 0, "", 5},
      {"FA0", Case::Line, L"LineItemControlNo", L"123456789012345678", 0, 0, "", 5},
      {"DA1", Case::Policy, L"AmtPaidToBene", L"21474836.48", 0, 0, "", 6},
      {"FA0", Case::Line, L"UnitsOfSvc", L"many", 0, 0, "", 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.record << " " << std::string(c.name, c.name + wcslen(c.name)));
    header = FileHeader::New();
    Claim& claim = AddClaim(AddBatch(*header, L"P"), {{L"PatControlNo", L"PCN"}});
    InsurancePolicy& policy = AddPolicy(claim);
    ServiceLine& line = AddLine(claim);
    OutputFields& store = *(c.store == Case::Header ? header->OutFields
                            : c.store == Case::Claim ? claim.OutFields
                            : c.store == Case::Policy ? policy.OutFields
                                                      : line.OutFields);
    store.SetValue(c.name, c.value);
    auto records = Write(c.error);
    if (c.error) continue;
    auto found = Of(records, c.record);
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(c.expected, Cols(found[0], c.from, c.to));
  }
}

TEST_F(NsfFormatTest, TrailerLimits) {
  // A 100th line of a claim needs three digits in FA0 4-5: 5, after the 99 lines before it.
  Claim& c = AddClaim(AddBatch(*header, L"P"));
  for (int i = 0; i < 100; ++i) AddLine(c);
  EXPECT_EQ(3u + 1 + 2 + 99, Write(5).size());

  // The file's charges beyond 2,147,483,647 cents, each claim and batch within its own field.
  header = FileHeader::New();
  for (const wchar_t* key : {L"A", L"B", L"C"}) {
    Batch& b = AddBatch(*header, key);
    for (int i = 0; i < 80; ++i) AddLine(AddClaim(b), {{L"LineCharges", L"99999.99"}});
  }
  auto records = Write(6);
  EXPECT_EQ("YA0", records.back().substr(0, 3)) << "ZA0 is not written";
  EXPECT_EQ("799999920", Cols(records.back(), 68, 76));
}

}  // namespace
}  // namespace claimfile::nsftest
