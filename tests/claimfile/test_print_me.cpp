// The record printer: one 320-column line per record through a layout.
#include <gtest/gtest.h>

#include "model/output_fields.h"
#include "test_util.h"
#include "vb/files.h"
#include "recording_presenter.h"


namespace claimfile {

namespace {

struct LayoutField {
  std::wstring name;
  long from, to;
  OutputFieldType type;
  std::wstring value;
  std::wstring format;
};

class PrintMeTest : public ::testing::Test {
 protected:
  PrintMeTest() {
    store = OutputFields::New();
    layout = OutputFields::New();
    store->OutDefns = layout;
  }
  ~PrintMeTest() override { vb::CloseAll(); }

  // A value store member.
  void Value(const std::wstring& name, const std::wstring& value) { store->Add(name)->Value = value; }
  void Define(const LayoutField& f) {
    layout->Add(f.name, 0, f.from, f.to, f.value, f.type, f.format);
  }
  // The bytes that PrintMe writes for one record (and how it failed: 0 when it did not).
  long Print(std::string& bytes, int records = 1) {
    std::wstring path = dir.file(L"rec" + std::to_wstring(++files) + L".txt");
    short fn = vb::FreeFile();
    vb::OpenForOutput(fn, path);
    long err = testutil::ErrorNumberOf([&] {
      for (int i = 0; i < records; ++i) EXPECT_TRUE(store->PrintMe(fn));
    });
    vb::Close(fn);
    bytes = testutil::ReadBytes(path);
    return err;
  }
  std::string Line() {
    std::string bytes;
    EXPECT_EQ(0, Print(bytes));
    EXPECT_EQ(322u, bytes.size());
    EXPECT_EQ("\r\n", bytes.substr(bytes.size() >= 2 ? bytes.size() - 2 : 0));
    return bytes.substr(0, 320);
  }
  // Columns from..to (1-based) of a line.
  static std::string Cols(const std::string& line, size_t from, size_t to) {
    return line.substr(from - 1, to - from + 1);
  }

  testutil::TempDir dir;
  vb::ScopedRecordingPresenter boxes;
  com::Ptr<OutputFields> store, layout;
  int files = 0;
};

}  // namespace

TEST_F(PrintMeTest, EmptyLayoutPrintsABlankLine) {
  EXPECT_EQ(std::string(320, ' '), Line());
}

TEST_F(PrintMeTest, TextIsLeftAlignedAndCut) {
  Value(L"Name", L"ABCDEFG");
  Value(L"Short", L"xy");
  Value(L"Tail", L"0123456789");
  Define({L"Name", 1, 5, OutputFieldTypeText});
  Define({L"Short", 10, 15, OutputFieldTypeText});
  Define({L"Tail", 315, 325, OutputFieldTypeText});  // runs past the line: cut at column 320
  Define({L"", 100, 102, OutputFieldTypeText, L"AA0"});  // a literal
  std::string line = Line();
  EXPECT_EQ("ABCDE", Cols(line, 1, 5));
  EXPECT_EQ("xy    ", Cols(line, 10, 15));
  EXPECT_EQ("012345", Cols(line, 315, 320));
  EXPECT_EQ("AA0", Cols(line, 100, 102));
  EXPECT_EQ(std::string(84, ' '), Cols(line, 16, 99));
}

TEST_F(PrintMeTest, NumbersAreRightAlignedInZeros) {
  Value(L"A", L"12.5");
  Value(L"B", L"-5");
  Value(L"C", L"42");
  Value(L"Empty", L"");
  Define({L"A", 1, 6, OutputFieldTypeNumeric});
  Define({L"B", 7, 11, OutputFieldTypeNumeric});
  Define({L"C", 12, 13, OutputFieldTypeNumeric});
  Define({L"Empty", 14, 18, OutputFieldTypeNumeric});
  std::string line = Line();
  EXPECT_EQ("0012.5", Cols(line, 1, 6));
  EXPECT_EQ("000-5", Cols(line, 7, 11));
  EXPECT_EQ("42", Cols(line, 12, 13));
  EXPECT_EQ("     ", Cols(line, 14, 18));
}

TEST_F(PrintMeTest, CurrencyIsWholeCentsWithHalvesToEven) {
  Value(L"A", L"12.345");
  Value(L"B", L"12.355");
  Value(L"C", L"-12.34");
  Value(L"D", L"5");
  Value(L"E", L"abc");
  Value(L"F", L"");
  Value(L"G", L"21474836.47");
  Define({L"A", 1, 6, OutputFieldTypeCurrency});
  Define({L"B", 11, 16, OutputFieldTypeCurrency});
  Define({L"C", 21, 27, OutputFieldTypeCurrency});
  Define({L"D", 31, 36, OutputFieldTypeCurrency});
  Define({L"E", 40, 45, OutputFieldTypeCurrency});
  Define({L"F", 50, 55, OutputFieldTypeCurrency});
  Define({L"G", 60, 69, OutputFieldTypeCurrency});
  std::string line = Line();
  EXPECT_EQ("001234", Cols(line, 1, 6));
  EXPECT_EQ("001236", Cols(line, 11, 16));
  EXPECT_EQ("00-1234", Cols(line, 21, 27));
  EXPECT_EQ("000500", Cols(line, 31, 36));
  EXPECT_EQ("abc   ", Cols(line, 40, 45));  // not a number: placed as text
  EXPECT_EQ("      ", Cols(line, 50, 55));
  EXPECT_EQ("2147483647", Cols(line, 60, 69));
}

TEST_F(PrintMeTest, FixedOneIsTheValueTimesTen) {
  Value(L"A", L"2.5");
  Value(L"B", L"1.25");
  Value(L"C", L"");
  Value(L"D", L"1.1");
  Define({L"A", 1, 3, OutputFieldTypeFixedOne});
  Define({L"B", 5, 9, OutputFieldTypeFixedOne});
  Define({L"C", 11, 13, OutputFieldTypeFixedOne});
  Define({L"D", 15, 17, OutputFieldTypeFixedOne});
  Value(L"E", L"007");
  Value(L"F", L"0");
  Define({L"E", 19, 21, OutputFieldTypeFixedOne});
  Define({L"F", 23, 25, OutputFieldTypeFixedOne});
  std::string line = Line();
  EXPECT_EQ("025", Cols(line, 1, 3));
  EXPECT_EQ("012.5", Cols(line, 5, 9));
  EXPECT_EQ("   ", Cols(line, 11, 13));
  EXPECT_EQ("011", Cols(line, 15, 17));
  EXPECT_EQ("070", Cols(line, 19, 21));
  EXPECT_EQ("000", Cols(line, 23, 25));
}

TEST_F(PrintMeTest, DatesAndTimesThroughTheirFormat) {
  Value(L"Svc", L"3/1/2007");
  Value(L"Stamp", L"3/1/2007 14:05:09");
  Value(L"Time", L"3/1/2007 14:05:09");
  Value(L"Unset", L"");
  Define({L"Svc", 1, 8, OutputFieldTypeDate, L"", L"YYYYMMDD"});
  Define({L"Stamp", 10, 17, OutputFieldTypeText, L"", L"YYYYMMDD"});
  Define({L"Time", 20, 25, OutputFieldTypeText, L"", L"HHNNSS"});
  Define({L"Unset", 30, 37, OutputFieldTypeDate, L"", L"YYYYMMDD"});
  std::string line = Line();
  EXPECT_EQ("20070301", Cols(line, 1, 8));
  EXPECT_EQ("20070301", Cols(line, 10, 17));
  EXPECT_EQ("140509", Cols(line, 20, 25));
  EXPECT_EQ("        ", Cols(line, 30, 37));
}

TEST_F(PrintMeTest, LaterFieldsOverwriteEarlierOnesAndLinesUseTheAnsiCodePage) {
  Value(L"Wide", L"AAAAAAAAAA");
  Value(L"Over", L"bb");
  Value(L"Accent", L"Ren\u00e9\u20ac\u4e2d");
  Define({L"Wide", 1, 10, OutputFieldTypeText});
  Define({L"Over", 3, 4, OutputFieldTypeText});
  Define({L"Accent", 20, 25, OutputFieldTypeText});
  std::string line = Line();
  EXPECT_EQ("AAbbAAAAAA", Cols(line, 1, 10));
  // e-acute and the euro sign are in code page 1252; the CJK character is not.
  EXPECT_EQ("Ren\xe9\x80?", Cols(line, 20, 25));
}

TEST_F(PrintMeTest, ControlCharactersAreWrittenAsSpaces) {
  Value(L"Addr", L"1 Main\r\nApt\t2\x7f!\x1f");
  Define({L"Addr", 1, 20, OutputFieldTypeText});
  Define({L"", 30, 32, OutputFieldTypeText, L"a\nb"});
  std::string line = Line();
  EXPECT_EQ("1 Main  Apt 2 ! ", Cols(line, 1, 16));
  EXPECT_EQ("a b", Cols(line, 30, 32));
}

// A layout made whole from its entries holds them as one Add each would, and prints the same
// line before and after anything asks for its members.
TEST_F(PrintMeTest, LayoutFromEntries) {
  Value(L"Name", L"Smith");
  Value(L"Amount", L"12.5");
  Value(L"Born", L"1/15/1960");
  std::vector<LayoutEntry> entries = {
      {L"", 1, 3, L"AB0", OutputFieldTypeText, L"", false},
      {L"Name", 4, 13, L"", OutputFieldTypeText, L"", true},
      {L"Amount", 14, 20, L"", OutputFieldTypeCurrency, L"", false},
      {L"Born", 21, 28, L"", OutputFieldTypeText, L"YYYYMMDD", false},
      {L"", 29, 31, L"7", OutputFieldTypeNumeric, L"", false},
  };
  auto built = OutputFields::NewLayout(entries);
  store->OutDefns = built;
  const std::string expected = "AB0Smith     000125019600115007";
  EXPECT_EQ(expected, Cols(Line(), 1, 31));

  ASSERT_EQ(5, built->Count());
  long i = 0;
  for (auto& f : *built) {
    const LayoutEntry& e = entries[static_cast<size_t>(i++)];
    EXPECT_EQ(e.name, f->Name);
    EXPECT_EQ(0, f->Row);
    EXPECT_EQ(e.fromCol, f->FromCol);
    EXPECT_EQ(e.toCol, f->ToCol);
    EXPECT_EQ(e.value, f->Value);
    EXPECT_EQ(e.dataType, f->DataType);
    EXPECT_EQ(e.format, f->Format);
    EXPECT_EQ(e.required, f->Required);
  }
  EXPECT_EQ(expected, Cols(Line(), 1, 31));
  built->Add(L"Late", 0, 40, 41, L"zz");
  EXPECT_EQ(6, built->Count());
  EXPECT_EQ(L"Late", built->Item(6)->Name);

  // An entry Add refuses is refused at once, with Add's box, and never printed.
  auto refused = OutputFields::NewLayout({{L"", 5, 4, L"x", OutputFieldTypeText, L"", false},
                                          {L"", 1, 2, L"ok", OutputFieldTypeText, L"", false}});
  ASSERT_EQ(1u, boxes.shown().size());
  EXPECT_EQ(L"Invalid From/To Col", boxes.shown()[0].prompt);
  store->OutDefns = refused;
  EXPECT_EQ("ok ", Cols(Line(), 1, 3));
  EXPECT_EQ(1, refused->Count());
}

TEST_F(PrintMeTest, LastLineOnTheLayoutJoinsRecords) {
  Value(L"A", L"x");
  Define({L"A", 1, 1, OutputFieldTypeText});
  store->LastLine = true;  // the store's own flag is not the one read
  std::string bytes;
  ASSERT_EQ(0, Print(bytes, 2));
  EXPECT_EQ(644u, bytes.size());

  layout->LastLine = true;
  ASSERT_EQ(0, Print(bytes, 2));
  EXPECT_EQ(640u, bytes.size());
  EXPECT_EQ("x" + std::string(319, ' ') + "x" + std::string(319, ' '), bytes);
}

TEST_F(PrintMeTest, FailuresWriteNoLine) {
  std::string bytes;
  store->OutDefns = nullptr;
  EXPECT_EQ(91, Print(bytes));
  EXPECT_EQ("", bytes);
  store->OutDefns = layout;

  struct Case {
    const wchar_t* value;
    long from, to;
    OutputFieldType type;
    long error;
  } cases[] = {
      {L"x", 0, 3, OutputFieldTypeText, 5},              // before the line
      {L"x", 321, 322, OutputFieldTypeText, 5},          // beyond it
      {L"", 321, 322, OutputFieldTypeText, 5},           // even with nothing to write
      {L"123456", 1, 5, OutputFieldTypeNumeric, 5},      // longer than its field
      {L"1234.56", 1, 5, OutputFieldTypeCurrency, 5},    // 123456 cents in 5 columns
      {L"21474836.48", 1, 12, OutputFieldTypeCurrency, 6},
      {L"-21474836.49", 1, 12, OutputFieldTypeCurrency, 6},
      {L"123", 1, 3, OutputFieldTypeFixedOne, 5},
      {L"abc", 1, 5, OutputFieldTypeFixedOne, 13},
  };
  for (const Case& c : cases) {
    auto s = OutputFields::New();
    auto l = OutputFields::New();
    s->Add(L"V")->Value = c.value;
    s->OutDefns = l;
    auto d = l->Add(L"V", 0, 1, 1);
    d->FromCol = c.from;  // set after Add, so Valid does not stand in the way
    d->ToCol = c.to;
    d->DataType = c.type;
    store = s;
    SCOPED_TRACE(testing::Message() << "value " << std::string(c.value, c.value + wcslen(c.value)));
    EXPECT_EQ(c.error, Print(bytes));
    EXPECT_EQ("", bytes);
  }

  // A layout name the store does not hold.
  auto s = OutputFields::New();
  auto l = OutputFields::New();
  l->Add(L"Missing", 0, 1, 2);
  s->OutDefns = l;
  store = s;
  EXPECT_EQ(5, Print(bytes));
  EXPECT_EQ("", bytes);
}

}  // namespace claimfile
