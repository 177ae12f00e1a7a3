// Reply parsing through Wine's MSXML 3.0: complete, odd and bad replies, the conversions, the
// reply date rule, and the builders.
#include <gtest/gtest.h>

#include "reply.h"
#include "test_util.h"

namespace payment {
namespace {

ReplyDocument Doc(const std::wstring& xml) { return ReplyDocument::Load(xml); }

TEST(ReplyDates, TheRule) {
  struct Case {
    const wchar_t* reply;
    const wchar_t* display;
  } const cases[] = {
      {L"2006-03-10T14:05:09", L"03/10/2006 14:05:09"},
      {L"2006-03-10T14:05:09.25-05:00", L"03/10/2006 14:05:09"},
      {L"2006-03-10", L"03/10/2006 "},
      {L"", L"// "},
      {L"0001-01-01T00:00:00", L"kept"},
      {L"2006", L"//2006 "},
  };
  for (const Case& c : cases) {
    std::wstring member = L"kept";
    SetReplyDate(member, c.reply);
    EXPECT_EQ(c.display, member) << "reply date '" << testing::PrintToString(std::wstring(c.reply)) << "'";
  }
}

TEST(ReplyParsing, ACompleteACHDebitReply) {
  auto s = ParseACHDebitReply(Doc(
      L"<?xml version=\"1.0\"?><ACHResult><Success>1</Success><Amount>125.75</Amount>"
      L"<PostedDate>2006-03-10T14:05:09</PostedDate><RefID>R7</RefID><SettledDate>2006-03-11T08:00:00</SettledDate>"
      L"<Status>approved</Status><TransID>4711</TransID><Message>ok</Message></ACHResult>"));
  EXPECT_EQ(1, s->Success);
  EXPECT_EQ(1257500, s->Amount.raw());
  EXPECT_EQ(L"03/10/2006 14:05:09", s->PostedDate);
  EXPECT_EQ(L"R7", s->RefID);
  EXPECT_EQ(L"03/11/2006 08:00:00", s->SettledDate);
  EXPECT_EQ(L"approved", s->Status);
  EXPECT_EQ(4711, s->TransID);
  EXPECT_EQ(L"ok", s->Message);
}

TEST(ReplyParsing, TheACHCreditReplysTransIDIsItsCreditID) {
  auto s = ParseACHCreditReply(Doc(L"<r><TransID>1234</TransID><CreditID>99</CreditID></r>"));
  EXPECT_EQ(1234, s->CreditID);
}

TEST(ReplyParsing, ACardCreditReplyWithBothIds) {
  auto s = ParseBankCardCreditReply(Doc(L"<r><CreditID>99</CreditID><TransID>1234</TransID></r>"));
  EXPECT_EQ(99, s->CreditID);
  EXPECT_EQ(1234, s->TransID);
}

TEST(ReplyParsing, DatesOfTheYearOneAndMissingDates) {
  auto s = ParseBankCardDebitReply(
      Doc(L"<r><PostedDate>0001-01-01T00:00:00</PostedDate><AuthCode>A1</AuthCode><AVSCode>Y</AVSCode>"
          L"<CVV2Code>M</CVV2Code></r>"));
  EXPECT_EQ(L"", s->PostedDate);
  EXPECT_EQ(L"// ", s->SettledDate);
  EXPECT_EQ(L"A1", s->AuthCode);
  EXPECT_EQ(L"Y", s->AVSCode);
  EXPECT_EQ(L"M", s->CVV2Code);
  auto t = ParseBankCardSettleReply(
      Doc(L"<r><PostedDate>0001-01-01T00:00:00</PostedDate><SettledDate>2006-03-10T14:05:09</SettledDate></r>"));
  EXPECT_EQ(L"", t->PostedDate);
  EXPECT_EQ(L"03/10/2006 14:05:09", t->SettledDate);
}

TEST(ReplyParsing, NumbersThatDoNotConvertAreZeroAndTheRestIsRead) {
  struct Case {
    const wchar_t* xml;
    int64_t amount;  // ten-thousandths
    long transId;
    short success;
  } const cases[] = {
      {L"<r><Amount>12.5</Amount><TransID>7</TransID><Success>1</Success></r>", 125000, 7, 1},
      {L"<r><Amount>abc</Amount><TransID>7</TransID><Success>1</Success></r>", 0, 7, 1},
      {L"<r><Amount>1</Amount><TransID>4294967296</TransID><Success>40000</Success></r>", 10000, 0, 0},
      {L"<r><Amount>1</Amount><TransID>2147483647</TransID><Success>-32768</Success></r>", 10000, 2147483647, -32768},
      {L"<r><Amount>12.34567</Amount><TransID>x</TransID><success>1</success></r>", 123457, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.xml)));
    auto s = ParseACHDebitReply(Doc(c.xml));
    EXPECT_EQ(c.amount, s->Amount.raw());
    EXPECT_EQ(c.transId, s->TransID);
    EXPECT_EQ(c.success, s->Success);
  }
}

TEST(ReplyParsing, TheFirstElementInDocumentOrderAtAnyDepth) {
  auto s = ParseBankCardDebitReply(Doc(
      L"<r><a><b><Status>first</Status></b></a><Status>second</Status><Message>m<i>n</i>o</Message></r>"));
  EXPECT_EQ(L"first", s->Status);
  EXPECT_EQ(L"mno", s->Message);
}

TEST(ReplyParsing, RepliesThatAreNoXmlOfThisShapeGiveDefaults) {
  for (const wchar_t* reply : {L"", L"<html><body><h1>500 Internal Server Error</h1><p>Status</p></body></html>",
                               L"<r><Status>cut", L"not xml at all", L"<Other><Thing>1</Thing></Other>"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(reply)));
    auto s = ParseBankCardSettleReply(Doc(reply));
    EXPECT_EQ(0, s->Amount.raw());
    EXPECT_EQ(0, s->TransID);
    EXPECT_EQ(L"", s->Status);
    EXPECT_EQ(L"", s->Message);
    EXPECT_EQ(L"// ", s->PostedDate);
    EXPECT_EQ(L"// ", s->SettledDate);
  }
}

TEST(ReplyParsing, ADocumentTypeDeclarationIsRefusedAndItsTextElsewhereIsRead) {
  struct Case {
    const wchar_t* xml;
    const wchar_t* status;
  } const cases[] = {
      {L"<!DOCTYPE r [<!ENTITY a \"xxxxxxxxxx\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
       L"<r><Status>&b;</Status></r>",
       L""},
      {L"\uFEFF<?xml version=\"1.0\"?>\r\n<!-- reply --><?pi x?>\n<!DOCTYPE r [<!ENTITY b \"x\">]><r><Status>&b;</Status></r>",
       L""},
      {L"<r><Status>approved</Status><Message><![CDATA[<!DOCTYPE html> echoed]]></Message></r>", L"approved"},
      {L"<?xml version=\"1.0\"?><!-- no <!DOCTYPE here --><r><Status>approved</Status></r>", L"approved"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.xml)));
    EXPECT_EQ(c.status, ParseBankCardDebitReply(Doc(c.xml))->Status);
  }
}

// Runs in a prefix of its own: it changes the user locale of the prefix for the time of the run.
TEST(ReplyParsing, NumbersReadAsPlainDecimalsUnderADecimalComma) {
  testutil::UserLocaleSetting thousands(LOCALE_STHOUSAND, L"."), decimal(LOCALE_SDECIMAL, L",");
  EXPECT_EQ(125000, ReplyCurrency(std::wstring(L"12.50")).raw());
}

TEST(Builders, CreateStatusTwice) {
  auto s = BankCardSettleStatus::New();
  s->CreateStatus(vb::Currency::FromRaw(123456), L"A", L"B", L"2006-03-10T14:05:09", L"R", L"S",
                  L"2006-03-11T00:00:01", 9, L"M");
  EXPECT_EQ(123456, s->Amount.raw());
  EXPECT_EQ(L"03/10/2006 14:05:09", s->PostedDate);
  s->CreateStatus(vb::Currency(), L"", L"", L"", L"", L"", L"0001-01-01T00:00:00", 0, L"");
  EXPECT_EQ(L"03/11/2006 00:00:01", s->SettledDate);
  EXPECT_EQ(L"// ", s->PostedDate);
  EXPECT_EQ(L"", s->AuthCode);
  EXPECT_EQ(0, s->TransID);
}

}  // namespace
}  // namespace payment
