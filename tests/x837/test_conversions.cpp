// The writer's conversions of host values.
#include <gtest/gtest.h>

#include "test_util.h"
#include "vb/convert.h"
#include "x837/conversions.h"

namespace claimfile::Edi837 {
namespace {

TEST(Conversions, DatesInAPatternAndDayCounts) {
  struct Case {
    const wchar_t* text;
    const wchar_t* pattern;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"3/1/2007", L"YYYYMMDD", L"20070301"},   {L"3/1/2007", L"MM/DD/YYYY", L"03/01/2007"},
      {L"12/31/1999", L"mm/dd/yy", L"12/31/99"}, {L"2007-03-01", L"YYYYMMDD", L"20070301"},
      {L"", L"YYYYMMDD", L""},                   {L"not a date", L"YYYYMMDD", L"not a date"},
      {L"20070301", L"YYYYMMDD", L"20070301"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, DateText(c.text, c.pattern)) << vb::ToAnsi(c.text);

  EXPECT_EQ(14, DaysBetween(L"3/1/2007", L"3/15/2007"));
  EXPECT_EQ(-14, DaysBetween(L"3/15/2007", L"3/1/2007"));
  EXPECT_EQ(2, DaysBetween(L"2/28/2008", L"3/1/2008"));
  EXPECT_EQ(1, DaysBetween(L"3/1/2007 11:00 PM", L"3/2/2007 1:00 AM"));
  EXPECT_VB_ERROR(13, DaysBetween(L"", L"3/1/2007"));
}

TEST(Conversions, ValAndTheGeneralNumberForm) {
  const std::pair<const wchar_t*, double> vals[] = {
      {L"  12 34abc", 1234}, {L"-3.5e2x", -350}, {L"1d2", 100}, {L"&H1F", 31}, {L"&o17", 15},
      {L"1.2.3", 1.2},       {L"abc", 0},        {L"", 0},      {L"\t7\n", 7}, {L"+.5", 0.5},
  };
  for (const auto& [text, expected] : vals) EXPECT_DOUBLE_EQ(expected, Val(text)) << vb::ToAnsi(text);

  EXPECT_EQ(L"125.5", NumberText(vb::Currency::FromRaw(1255000)));
  EXPECT_EQ(L"-0.0001", NumberText(vb::Currency::FromRaw(-1)));
  EXPECT_EQ(L"100", NumberText(vb::Currency::FromRaw(1000000)));
  EXPECT_EQ(L"0", NumberText(vb::Currency()));
  EXPECT_EQ(L"125.5", NumberText(125.5));
  EXPECT_EQ(L"-2.5", NumberText(-2.5));
  EXPECT_EQ(L"100000000000000000000", NumberText(1e20));
  EXPECT_EQ(L"0.000012345", NumberText(0.000012345));
  EXPECT_EQ(L"0.333333333333333", NumberText(1.0 / 3));

  EXPECT_EQ(L"125.5", WithFullStop(L"125,5", L","));
  EXPECT_EQ(L"125.5", WithFullStop(L"125.5"));
}

}  // namespace
}  // namespace claimfile::Edi837
