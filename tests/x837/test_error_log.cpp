// The 837 writer's error log, missing-data report, error handler and text routines.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "model/claim.h"
#include "recording_presenter.h"
#include "test_util.h"
#include "x837/edi837.h"

namespace claimfile::Edi837 {
namespace {

using testutil::ReadBytes;
using testutil::WriteBytes;

const std::string kRemoveSymbols =
    "Electronic files use symbols as internal delimiters.  Symbols that are reserved for the 837 include: "
    "*, :, ~.  Please remove these symbols from this client's data.\r";

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

class ErrorLog : public testing::Test {
 protected:
  void SetUp() override {
    StartExport();
    State().ErrorLogPath = ErrorLogPathFor(dir.file(L"X.837"));
    State().CurrentPosition = L"A";
  }
  void TearDown() override { StartExport(); }
  std::wstring LogPath() const { return dir.file(L"X.LOG"); }

  testutil::TempDir dir;
  vb::ScopedRecordingPresenter boxes;
};

TEST(ErrorLogPath, IsTheOutputNameLessThreeCharactersAndLog) {
  EXPECT_EQ(L"C:\\out\\claims.LOG", ErrorLogPathFor(L"C:\\out\\claims.837"));
  EXPECT_EQ(L"X.LOG", ErrorLogPathFor(L"X.837"));
  EXPECT_VB_ERROR(5, ErrorLogPathFor(L"ab"));
}

TEST_F(ErrorLog, MissingValuesGiveOneLineEachInTheOrderFound) {
  struct Case {
    const wchar_t* value;
    long l1, l2, l3;
    const char* line;  // nullptr: nothing logged
  } cases[] = {
      {L"", 9, 0, 11, "M  Find at:Insurance Comp/General Tab or Insurance Comp/EFile Tab"},
      {L"   ", 1, 0, 0, nullptr},
      {L"", 1, 2, 20,
       "M  Find at:Client Setup/General Tab or Client Setup/Parties Tab or Client Setup/Diagnosis Tab"},
      {L"x", 1, 0, 0, nullptr},
      {L"", 0, 0, 0, "M  Find at:"},
      {L"", 21, 13, 0, "M  Find at: or Provider/Demographics Tab"},
      {L"", 17, -1, 0, "M  Find at:Billing Service Information or "},
  };
  std::string expected;
  for (const Case& c : cases) {
    std::wstring message = L"M";
    ReportMissing(message, c.value, c.l1, c.l2, c.l3);
    if (c.line) expected += std::string(c.line) + "\r\n";
    EXPECT_EQ(c.line ? c.line : "M", Narrow(message));
  }
  CloseErrorLog();
  EXPECT_TRUE(State().ErrorLogOpen);
  EXPECT_EQ(expected, ReadBytes(LogPath()));
}

TEST_F(ErrorLog, NewExportTruncatesAndALaterHeaderAppends) {
  WriteBytes(LogPath(), "old line\r\n");
  std::wstring m = L"A";
  ReportMissing(m, L"present", 1);
  EXPECT_FALSE(State().ErrorLogOpen);
  EXPECT_EQ("old line\r\n", ReadBytes(LogPath())) << "an export without missing data leaves the old log";

  ReportMissing(m, L"", 1);
  CloseErrorLog();  // the end of the first header
  std::wstring m2 = L"B";
  ReportMissing(m2, L"", 15);  // the second header of the same export
  CloseErrorLog();
  EXPECT_EQ("A  Find at:Client Setup/General Tab\r\nB  Find at:Provider/EFile Tab\r\n", ReadBytes(LogPath()));

  StartExport();
  WriteErrorLine(L"C");
  CloseErrorLog();
  EXPECT_EQ("C\r\n", ReadBytes(LogPath()));
}

TEST_F(ErrorLog, HandlerBoxesAndLog) {
  auto claim = Claim::New();
  claim->OutFields->SetValue(L"PatLastName", L"O'Hara");
  claim->OutFields->SetValue(L"PatFirstName", L"Ann");
  struct Case {
    long number;
    const wchar_t* position;
    const Claim* claim;
    std::string prompt;
    bool logged;
  } cases[] = {
      // The component's description follows the request, on a line of its own.
      {12378, L"HL(3)", claim.get(), "Error found in HL(3) for O'Hara, Ann.\r" + kRemoveSymbols + "not held\r", true},
      {12378, L"BHT", nullptr, "Error found in BHT.\r" + kRemoveSymbols + "not held\r", true},
      // A failure within a claim names it.
      {5, L"2010AA-1", claim.get(),
       "Error found in 2010AA-1 - 5, Invalid procedure call or argument (claim of O'Hara, Ann)", false},
      {-2147221503, L"A", nullptr, "Error found in A - -2147221503, not held", false},
  };
  const std::string missing = "M  Find at:Client Setup/General Tab\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.prompt);
    StartExport();
    boxes.Clear();
    std::wstring m = L"M";
    ReportMissing(m, L"", 1);  // the log is open when the failure comes
    State().CurrentPosition = c.position;
    const vb::RuntimeError e = c.number == 5 ? vb::RuntimeError(5) : vb::RuntimeError(c.number, L"not held");

    EXPECT_FALSE(HandleWriteError(e, c.claim));
    ASSERT_EQ(1u, boxes.shown().size());
    EXPECT_EQ(c.prompt, Narrow(boxes.shown()[0].prompt));
    EXPECT_EQ(vb::vbExclamation | vb::vbOKOnly, boxes.shown()[0].buttons);
    EXPECT_EQ(L"Error Creating File", boxes.shown()[0].title);
    EXPECT_EQ(missing + (c.logged ? c.prompt + "\r\n" : ""), ReadBytes(LogPath()));
    EXPECT_TRUE(DeleteFileW(LogPath().c_str())) << "the handler leaves the log closed";
  }
}

TEST(TextRoutines, AlphaNumOnly) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"A-1 b.2", L"A1 b2"},
      {L"\u00e9\u00e0\u00dc", L""},
      {L"(212) 555-1234 x12", L"212 5551234 x12"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(out, AlphaNumOnly(in)) << Narrow(in);
}

TEST(TextRoutines, GetDelimitedField) {
  struct Case {
    const wchar_t* text;
    short field;
    const wchar_t* delimiter;
    const wchar_t* out;
  } cases[] = {
      {L"1C |12345", 1, L"|", L"1C "},
      {L"1C |12345", 2, L"|", L"12345"},
      {L"  abc  ", 1, L"|", L"abc"},
      {L"  abc  ", 2, L"|", L""},
      {L"a|b", 3, L"|", L""},
      {L" a | b | c ", 2, L"|", L"b"},
      {L" a | b | c ", 0, L"|", L" a "},
      {L"1x2X3", 3, L"x", L"3"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.out, GetDelimitedField(c.text, c.field, c.delimiter)) << Narrow(c.text) << " " << c.field;
}

TEST(TextRoutines, GetPiece) {
  struct Case {
    const wchar_t* text;
    short piece;
    const wchar_t* out;
  } cases[] = {
      {L"A,B,C", 0, L"A"}, {L"A,B,C", 1, L"A"}, {L"A,B,C", 2, L"B"}, {L"A,B,C", 3, L"C"},
      {L"A,B,C", 4, L""},  {L"A,B,C", -3, L"A"}, {L" a , b", 2, L" b"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.out, GetPiece(c.text, c.piece, L",")) << Narrow(c.text) << " " << c.piece;
}

TEST(Folders, FolderOfAndInFolder) {
  EXPECT_EQ(L"C:\\x\\y", FolderOf(L"C:\\x\\y\\sendarro7.dll"));
  EXPECT_EQ(L"C:\\", FolderOf(L"C:\\sendarro7.dll"));
  EXPECT_EQ(L"C:\\x\\837_4010.SEF", InFolder(L"C:\\x", L"837_4010.SEF"));
  EXPECT_EQ(L"C:\\837_4010.SEF", InFolder(L"C:\\", L"837_4010.SEF"));
}

}  // namespace
}  // namespace claimfile::Edi837
