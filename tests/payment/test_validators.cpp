// The parameter validators, case by case.
#include <gtest/gtest.h>

#include "test_util.h"
#include "validators.h"

namespace payment {
namespace {

struct Case {
  const wchar_t* value;
  long error;  // 0: valid
};

TEST(Validators, Amount) {
  for (const Case& c : {Case{L"12.50", 0}, Case{L"0", 0}, Case{L"ten", 6001}, Case{L"", 6001}, Case{L"  ", 6001}}) {
    SCOPED_TRACE(testing::Message() << "amount '" << c.value << "'");
    EXPECT_VB_ERROR(c.error, ValidParameter_Amount(c.value));
  }
}

TEST(Validators, TransID) {
  for (const Case& c : {Case{L"123456", 0}, Case{L"12a4", 6004}, Case{L"abc", 6004}, Case{L"", 6004}}) {
    SCOPED_TRACE(testing::Message() << "transid '" << c.value << "'");
    EXPECT_VB_ERROR(c.error, ValidParameter_TransID(c.value));
  }
}

TEST(Validators, ExpirationIsTrimmedIntoTheArgumentValidOrNot) {
  struct Expiration {
    const wchar_t* value;
    long error;
    const wchar_t* after;
  } const cases[] = {
      {L"0125", 0, L"0125"},    {L"1299", 0, L"1299"},        {L" 1225 ", 0, L"1225"},  {L"0025", 6002, L"0025"},
      {L"1325", 6002, L"1325"}, {L"125", 6002, L"125"},       {L"12255", 6002, L"12255"},
      {L"12/25", 6002, L"12/25"}, {L"   ", 6002, L""},        {L" 13 ", 6002, L"13"},
  };
  for (const Expiration& c : cases) {
    SCOPED_TRACE(testing::Message() << "expiration '" << c.value << "'");
    std::wstring value = c.value;
    EXPECT_VB_ERROR(c.error, ValidParameter_Expiration(value));
    EXPECT_EQ(c.after, value);
  }
}

TEST(Validators, CardNumberLuhnOnThirteenToSixteenDigits) {
  const Case cases[] = {
      {L"4111 1111 1111 1111", 0},      // sum 30; blanks dropped
      {L"4111-1111-1111-1111", 0},
      {L"4111 1111 1111 1112", 6003},   // sum 31
      {L"4222222222222", 0},            // 13 digits
      {L"0004222222222222", 0},         // the same with the zeros the check puts in front
      {L"411111111111", 6003},          // 12 digits
      {L"41111111111111113", 6003},     // 17 digits
      {L"", 6003},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "card number case " << (&c - cases));
    EXPECT_VB_ERROR(c.error, ValidParameter_CardNumber(c.value));
  }
}

TEST(Validators, ErrorsCarryTheirSourceAndDescription) {
  try {
    ValidParameter_CardNumber(L"1");
    FAIL();
  } catch (const vb::RuntimeError& e) {
    EXPECT_EQ(L"ValidParameter_CardNumber", e.source());
    EXPECT_EQ(L"invalid cardnumber", e.description());
  }
}

}  // namespace
}  // namespace payment
