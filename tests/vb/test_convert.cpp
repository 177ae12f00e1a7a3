#include <windows.h>
#include <oleauto.h>

#include <cmath>
#include <limits>

#include "test_util.h"
#include "vb/convert.h"

namespace {

TEST(Convert, IsNumericIsDateAndTheirConversions) {
  for (const wchar_t* yes : {L"42", L" 42 ", L"-3.5", L"1.5e3", L"1,000", L".5", L"&H1F"})
    EXPECT_TRUE(vb::IsNumeric(yes)) << yes;
  for (const wchar_t* no : {L"", L"   ", L"abc", L"12abc", L".", L"3/1/2007"})
    EXPECT_FALSE(vb::IsNumeric(no)) << no;
  for (const wchar_t* yes : {L"3/1/2007", L"3/1/2007 14:05:09", L"March 1, 2007", L"2007-03-01", L"14:05"})
    EXPECT_TRUE(vb::IsDate(yes)) << yes;
  for (const wchar_t* no : {L"", L"  ", L"hello", L"42", L"2/30/2007", L"13/13/2007"})
    EXPECT_FALSE(vb::IsDate(no)) << no;

  EXPECT_DOUBLE_EQ(-1500, vb::ToDouble(L"-1.5e3"));
  EXPECT_VB_ERROR(vb::errTypeMismatch, vb::ToDouble(L"abc"));
  EXPECT_VB_ERROR(vb::errOverflow, vb::ToDouble(L"1e400"));
  EXPECT_NEAR(39142 + (14 * 3600 + 5 * 60 + 9) / 86400.0, vb::ToDate(L"3/1/2007 14:05:09"), 1e-9);
  EXPECT_VB_ERROR(vb::errTypeMismatch, vb::ToDate(L"not a date"));
}

TEST(Convert, ToLongAndToInteger) {
  const std::pair<double, long> cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {-0.5, 0}, {2.500001, 3},
                                           {2147483646.5, 2147483646}, {-2147483648.5, -2147483647 - 1}};
  for (auto [d, l] : cases) EXPECT_EQ(l, vb::ToLong(d)) << d;
  for (double d : {2147483647.5, -2147483648.6, 1e20, std::nan("")}) EXPECT_VB_ERROR(vb::errOverflow, vb::ToLong(d)) << d;
  EXPECT_EQ(-32768, vb::ToInteger(-32768));
  EXPECT_VB_ERROR(vb::errOverflow, vb::ToInteger(32768));
}

TEST(Convert, NumbersToText) {
  EXPECT_EQ(L"25", vb::DoubleToText(25));
  EXPECT_EQ(L"12.5", vb::DoubleToText(12.5));
  EXPECT_EQ(L"-3", vb::DoubleToText(-3));
  EXPECT_EQ(L"0.333333333333333", vb::DoubleToText(1.0 / 3));
  EXPECT_EQ(L"-2147483648", vb::LongToText(-2147483647 - 1));
}

TEST(Convert, Format) {
  EXPECT_EQ(L"20070301", vb::Format(L"3/1/2007", L"YYYYMMDD"));
  EXPECT_EQ(L"140509", vb::Format(L"3/1/2007 14:05:09", L"HHNNSS"));
  EXPECT_EQ(L"Thursday 03/01", vb::Format(L"3/1/2007", L"dddd mm/dd"));
  EXPECT_EQ(L"000042", vb::Format(L"42", L"000000"));
  EXPECT_EQ(L"1,234.50", vb::Format(L"1234.5", L"#,##0.00"));
  EXPECT_EQ(L"3", vb::Format(L"2.5", L"0"));  // Format rounds halves up, unlike CLng
  EXPECT_EQ(L"", vb::Format(L"", L"000"));
  EXPECT_EQ(L"3/1/2007", vb::Format(L"3/1/2007", L""));
  EXPECT_EQ(L"  abc", vb::Format(L"abc", L"@@@@@"));
  EXPECT_EQ(L"hello", vb::Format(L"hello", L"000"));

  VARIANT v;
  V_VT(&v) = VT_CY;
  V_CY(&v).int64 = 197500;
  EXPECT_EQ(L"19.75", vb::Format(v, L"0.00"));
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = VARIANT_TRUE;
  EXPECT_EQ(L"True", vb::Format(v, L""));
  BSTR text = SysAllocString(L"3/1/2007");
  V_VT(&v) = VT_BYREF | VT_BSTR;
  V_BSTRREF(&v) = &text;
  EXPECT_EQ(L"20070301", vb::Format(v, L"yyyymmdd"));
  SysFreeString(text);
}

TEST(Convert, FormatUnderAMemoGivesTheSameResults) {
  struct Case {
    const wchar_t *value, *pattern;
  } cases[] = {{L"3/1/2007", L"YYYYMMDD"}, {L"3/1/2007", L"dddd mm/dd"}, {L"42", L"000000"},
               {L"42", L"0.0"}, {L"hello", L"000"}, {L"", L"000"}};
  std::vector<std::wstring> plain;
  for (const Case& c : cases) plain.push_back(vb::Format(c.value, c.pattern));
  vb::FormatMemo memo;
  for (int round = 0; round < 2; ++round) {
    vb::FormatMemo inner;  // memos nest
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(plain[i], vb::Format(cases[i].value, cases[i].pattern));
  }
  EXPECT_EQ(L"20070301", vb::Format(L"3/1/2007", L"YYYYMMDD"));
}

TEST(Convert, TrimCaseAndCodePage) {
  EXPECT_EQ(L"\ta b\t", vb::Trim(L"  \ta b\t  "));  // spaces only
  EXPECT_EQ(L"a  ", vb::LTrim(L"  a  "));
  EXPECT_EQ(L"  a", vb::RTrim(L"  a  "));
  EXPECT_EQ(L"", vb::Trim(L"    "));
  EXPECT_EQ(L"ABC \u00c9\u00d6", vb::UCase(L"abc \u00e9\u00f6"));
  EXPECT_EQ(L"abc \u00e9\u00f6", vb::LCase(L"ABC \u00c9\u00d6"));

  EXPECT_EQ("\xE9\x80", vb::ToAnsi(L"\u00e9\u20ac"));
  EXPECT_EQ("a?b?", vb::ToAnsi(L"a\u4e2db\u0141"));  // no look-alike 'L' either
  EXPECT_EQ(L"caf\u00e9 \u20ac", vb::FromAnsi("caf\xE9 \x80"));
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(all, vb::ToAnsi(vb::FromAnsi(all)));
}

}  // namespace
