#include <cstdint>
#include <limits>
#include <optional>

#include "test_util.h"
#include "vb/convert.h"
#include "vb/currency.h"

namespace {

using vb::Currency;

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

TEST(Currency, ReadsTextExactlyWithHalvesToEven) {
  const std::pair<const wchar_t*, int64_t> cases[] = {
      {L"19.75", 197500}, {L"-125.5", -1255000}, {L"1,234.5", 12345000}, {L" 7 ", 70000},
      {L"922337203685477.5807", kMax}, {L"-922337203685477.5808", kMin},  // beyond a double's reach
      {L"1.00005", 10000}, {L"1.00015", 10002}, {L"1.000050001", 10001}, {L"-1.00015", -10002},
      {L"922337203685477.58069", kMax},
      // plain digits, as a record writer reads them while a FormatMemo holds the locale
      {L"007", 70000}, {L"0.0001", 1}, {L"12345678901234.5678", 123456789012345678}, {L"125.5", 1255000},
      {L"123456789012345", 1234567890123450000}};
  // Read the same with and without a memo (which lets plain digits skip the conversion).
  for (bool memo : {false, true}) {
    std::optional<vb::FormatMemo> held;
    if (memo) held.emplace();
    for (auto [text, raw] : cases) EXPECT_EQ(raw, Currency::FromText(text).raw()) << text << " memo " << memo;
    for (const wchar_t* text : {L"922337203685477.5808", L"-922337203685477.5809", L"922337203685477.58075", L"1e30"})
      EXPECT_VB_ERROR(vb::errOverflow, Currency::FromText(text)) << text;
    for (const wchar_t* text : {L"abc", L"", L"12..5", L"1.2.3"})
      EXPECT_VB_ERROR(vb::errTypeMismatch, Currency::FromText(text)) << text;
  }
  Currency c;
  EXPECT_TRUE(Currency::TryFromText(L"0.0001", c));
  EXPECT_EQ(1, c.raw());
  EXPECT_FALSE(Currency::TryFromText(L"twelve", c));

  EXPECT_EQ(-3, Currency::FromDouble(-0.00031).raw());
  EXPECT_VB_ERROR(vb::errOverflow, Currency::FromDouble(-1e16));
}

TEST(Currency, ToLongRoundsHalvesToEven) {
  const std::pair<const wchar_t*, long> cases[] = {
      {L"2.5", 2}, {L"3.5", 4}, {L"-2.5", -2}, {L"-3.5", -4}, {L"-0.5", 0}, {L"2.4999", 2}, {L"-2.5001", -3},
      {L"2147483646.5", 2147483646}, {L"-2147483648.5", std::numeric_limits<int32_t>::min()}};
  for (auto [text, whole] : cases) EXPECT_EQ(whole, Currency::FromText(text).ToLong()) << text;
  EXPECT_VB_ERROR(vb::errOverflow, Currency::FromText(L"2147483647.5").ToLong());
  EXPECT_VB_ERROR(vb::errOverflow, Currency::FromText(L"-2147483648.5001").ToLong());
}

TEST(Currency, CheckedArithmeticAtTheRangeEnds) {
  const Currency max = Currency::FromRaw(kMax), min = Currency::FromRaw(kMin), tick = Currency::FromRaw(1);
  EXPECT_EQ(Currency::FromLong(12), Currency::FromLong(3) * 4);
  EXPECT_EQ(Currency::FromRaw(-1), min + max);
  EXPECT_EQ(min, (min + tick) - tick);
  EXPECT_VB_ERROR(vb::errOverflow, max + tick);
  EXPECT_VB_ERROR(vb::errOverflow, min - tick);
  EXPECT_VB_ERROR(vb::errOverflow, max - Currency::FromRaw(-1));
  EXPECT_VB_ERROR(vb::errOverflow, min * -1);
  EXPECT_VB_ERROR(vb::errOverflow, Currency::FromLong(1000000000) * 1000000);
}

TEST(Currency, ToTextHasNoGroupingAndNoTrailingZeros) {
  const std::pair<int64_t, const wchar_t*> cases[] = {
      {197500, L"19.75"}, {0, L"0"}, {1255000, L"125.5"}, {12345670000, L"1234567"},
      {kMin, L"-922337203685477.5808"}, {kMax, L"922337203685477.5807"}, {1, L"0.0001"},
      {10010, L"1.001"}, {-1255000, L"-125.5"}, {5000, L"0.5"}};
  // The same with and without a memo (which lets a value of no sign skip the conversion).
  for (bool memo : {false, true}) {
    std::optional<vb::FormatMemo> held;
    if (memo) held.emplace();
    for (auto [raw, text] : cases) EXPECT_EQ(text, Currency::FromRaw(raw).ToText()) << raw << " memo " << memo;
  }
}

}  // namespace
