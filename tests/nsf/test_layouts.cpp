// The fourteen layout tables checked against the record rules: entry counts, columns, literal
// widths, and every name a value of the store that prints the record.
#include <cwchar>
#include <map>
#include <set>

#include "nsf_fixture.h"

namespace claimfile::nsf {
namespace {

using nsftest::Fill;

// The store whose values each record prints, and the entry count of each table.
struct Expected {
  RecordId id;
  size_t entries;
  size_t required;
  enum Store { Header, Batch, Claim, Policy, Line } store;
};
const Expected kExpected[] = {
    {RecordId::AA0, 22, 7, Expected::Header}, {RecordId::BA0, 25, 2, Expected::Batch},
    {RecordId::BA1, 18, 1, Expected::Batch},  {RecordId::YA0, 10, 1, Expected::Batch},
    {RecordId::ZA0, 9, 0, Expected::Header},  {RecordId::CA0, 28, 0, Expected::Claim},
    {RecordId::XA0, 12, 0, Expected::Claim},  {RecordId::DA0, 30, 0, Expected::Policy},
    {RecordId::DA1, 37, 0, Expected::Policy}, {RecordId::DA2, 18, 0, Expected::Policy},
    {RecordId::EA0, 53, 0, Expected::Claim},  {RecordId::EA1, 16, 0, Expected::Claim},
    {RecordId::FA0, 66, 0, Expected::Line},   {RecordId::HA0, 5, 0, Expected::Claim},
};

com::Ptr<OutputFields> StoreOf(Expected::Store s) {
  auto header = FileHeader::New();
  Batch& b = nsftest::AddBatch(*header, L"K");
  Claim& c = nsftest::AddClaim(b);
  switch (s) {
    case Expected::Header: return header->OutFields;
    case Expected::Batch: return b.OutFields;
    case Expected::Claim: return c.OutFields;
    case Expected::Policy: return nsftest::AddPolicy(c).OutFields;
    case Expected::Line: return nsftest::AddLine(c).OutFields;
  }
  return nullptr;
}

std::string Narrow(const wchar_t* s) { return std::string(s, s + std::wcslen(s)); }

TEST(LayoutTables, EntriesColumnsLiteralsAndNames) {
  ASSERT_EQ(std::size(kExpected), LayoutTables().size());
  for (const Expected& e : kExpected) {
    const RecordLayout& table = LayoutTable(e.id);
    SCOPED_TRACE(Narrow(table.name));
    EXPECT_EQ(e.entries, table.fields.size());
    // The record id first, in columns 1-3.
    ASSERT_FALSE(table.fields.empty());
    EXPECT_EQ(Source::Literal, table.fields[0].source);
    EXPECT_EQ(Narrow(table.name), Narrow(table.fields[0].text));
    EXPECT_EQ(1, table.fields[0].from);
    EXPECT_EQ(3, table.fields[0].to);

    auto store = StoreOf(e.store);
    long last = 0;
    size_t required = 0;
    for (const FieldSpec& f : table.fields) {
      SCOPED_TRACE(testing::Message() << "columns " << f.from << "-" << f.to);
      EXPECT_GT(f.from, last) << "ascending, not overlapping";
      EXPECT_LE(f.from, f.to);
      EXPECT_LE(f.to, 320);
      last = f.to;
      required += f.required;
      if (f.source == Source::Literal && *f.text) {
        EXPECT_EQ(static_cast<size_t>(f.to - f.from + 1), std::wcslen(f.text)) << "a literal as wide as its field";
      }
      if (f.source == Source::Named) {
        EXPECT_TRUE(store->BRExists(f.text)) << Narrow(f.text);
      } else {
        EXPECT_FALSE(f.dated) << "only named values take the date format";
      }
    }
    EXPECT_EQ(e.required, required);
  }
}

// The names the records of one store place, each counted.
std::map<std::wstring, int> Placed(std::initializer_list<RecordId> ids) {
  std::map<std::wstring, int> placed;
  for (RecordId id : ids)
    for (const FieldSpec& f : LayoutTable(id).fields)
      if (f.source == Source::Named) ++placed[f.text];
  return placed;
}

TEST(LayoutTables, EveryPolicyAndLineValueIsPlacedOnce) {
  struct Case {
    Expected::Store store;
    std::initializer_list<RecordId> records;
    long names;
  } cases[] = {
      {Expected::Policy, {RecordId::DA0, RecordId::DA1, RecordId::DA2}, 76},
      {Expected::Line, {RecordId::FA0}, 63},
  };
  for (const Case& c : cases) {
    auto store = StoreOf(c.store);
    ASSERT_EQ(c.names, store->Count());
    auto placed = Placed(c.records);
    EXPECT_EQ(static_cast<size_t>(c.names), placed.size());
    for (auto& f : *store) EXPECT_EQ(1, placed[f->Name]) << Narrow(f->Name.c_str());
  }
  // The batch's 37 values between BA0, BA1 and YA0 (some in more than one of them).
  auto batch = StoreOf(Expected::Batch);
  auto placed = Placed({RecordId::BA0, RecordId::BA1, RecordId::YA0});
  for (auto& f : *batch) EXPECT_LT(0, placed[f->Name]) << Narrow(f->Name.c_str());
}

TEST(LayoutTables, BuiltLayoutCarriesEveryRowInOrder) {
  // FA0 has every kind of row: a record id, computed literals, named dates, numbers, amounts.
  // The layout as a host reads it from a record's OutDefns: the plan with the record's values.
  const RecordLayout& table = LayoutTable(RecordId::FA0);
  const LayoutPlan& plan = Plan(RecordId::FA0);
  std::vector<std::wstring> values;
  for (size_t row : plan.varying) values.push_back(table.fields[row].source == Source::LineSeq ? L"7" : L"PCN");
  LayoutSlot slot;
  NoteTexts texts;
  slot.Note(plan, texts, values);
  auto layout = slot.Made();
  ASSERT_EQ(66, layout->Count());
  long i = 0;
  for (auto& entry : *layout) {
    const FieldSpec& f = table.fields[static_cast<size_t>(i++)];
    EXPECT_EQ(f.source == Source::Named ? std::wstring(f.text) : L"", entry->Name);
    EXPECT_EQ(0, entry->Row);
    EXPECT_EQ(f.from, entry->FromCol);
    EXPECT_EQ(f.to, entry->ToCol);
    EXPECT_EQ(f.type, entry->DataType);
    EXPECT_EQ(f.dated ? L"YYYYMMDD" : L"", entry->Format);
    EXPECT_EQ(f.required, entry->Required);
  }
  EXPECT_EQ(L"FA0", layout->Item(1)->Value);
  EXPECT_EQ(L"7", layout->Item(2)->Value);
  EXPECT_EQ(L"PCN", layout->Item(3)->Value);
  EXPECT_EQ(L"", layout->Item(L"SvcFromDate")->Value);
}

}  // namespace
}  // namespace claimfile::nsf
