// The nine operations through a recording HTTP component: the URL text and body of each request,
// the order of the calls, what the validators stop, and the failure mapping.
#include <gtest/gtest.h>

#include <functional>

#include "fake_gateway.h"
#include "form_body.h"
#include "gateway_base.h"
#include "post_transaction.h"
#include "request_cases.h"

namespace payment {
namespace {

using testing::GatewayRecord;

class Operations : public ::testing::Test {
 protected:
  Operations() { post->connect = record.Factory(); }

  // The three calls one request makes, in order.
  std::vector<std::wstring> Request(const std::wstring& path, const std::wstring& body) const {
    return {L"timeout 90000", L"url " + std::wstring(kGatewayBase) + path, L"send " + body};
  }

  GatewayRecord record;
  com::Ptr<PostTransaction> post = PostTransaction::New();
  // Plain values: the body carries them as they are.
  std::wstring merchant = L"M100", key = L"K200", amount = L"12.50", card = L"4111111111111111", holder = L"Ann",
               expiration = L"1225", ref = L"R7", address = L"Main", zip = L"84101", cvv2 = L"123", trans = L"555";
};

TEST_F(Operations, EachSendsItsPathAndBodyLateBoundWithTheLibrarysDefaults) {
  for (const testing::RequestCase& c : testing::RequestCases(L"M100")) {
    SCOPED_TRACE(c.name);
    record.calls.clear();
    record.created = 0;
    com::Variant status;
    ASSERT_HRESULT_SUCCEEDED(testutil::Invoke(post.get(), c.operation, DISPATCH_METHOD, testing::Variants(c.args), &status));
    EXPECT_EQ(VT_DISPATCH, status.vt);
    EXPECT_EQ(Request(c.path, std::wstring(c.body.begin(), c.body.end())), record.calls);
    EXPECT_EQ(1, record.created);
  }
}

TEST_F(Operations, EveryCallHasANewComponent) {
  post->VoidBankCardDebit(merchant, key, trans);
  post->VoidBankCardDebit(merchant, key, trans);
  EXPECT_EQ(2, record.created);
  EXPECT_EQ(6u, record.calls.size());
}

TEST_F(Operations, AFailingValidatorSendsNothing) {
  struct Case {
    const char* name;
    std::function<std::wstring()> call;  // the status's Message
    const wchar_t* message;
  };
  std::wstring word = L"ten", bad = L"4111111111111112", late = L"1325", letters = L"abc";
  const Case cases[] = {
      {"credit amount", [&] { return post->BankCardCredit(merchant, key, word, trans, ref)->Message; }, L"invalid amount"},
      {"credit transid", [&] { return post->BankCardCredit(merchant, key, amount, letters, ref)->Message; }, L"invalid transid"},
      {"debit expiration", [&] { return post->BankCardDebit(merchant, key, amount, card, holder, late, ref, address, zip, cvv2)->Message; }, L"invalid expiration"},
      {"debit card", [&] { return post->BankCardDebit(merchant, key, amount, bad, holder, expiration, ref, address, zip, cvv2)->Message; }, L"invalid cardnumber"},
      {"voice amount", [&] { return post->BankCardVoiceAuthorization(merchant, key, word, card, holder, expiration, ref, address, zip, ref, ref)->Message; }, L"invalid amount"},
      {"void transid", [&] { return post->VoidBankCardDebit(merchant, key, letters)->Message; }, L"invalid transid"},
      {"ach amount", [&] { return post->ACHDebit(merchant, key, word, ref, 1, holder, ref, ref, address, zip, ref, 1, ref)->Message; }, L"invalid amount"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.message, c.call());
  }
  EXPECT_EQ(0, record.created);
  EXPECT_TRUE(record.calls.empty());
  auto status = post->BankCardCredit(merchant, key, word, trans, ref);
  EXPECT_EQ(L"ignored", status->Status);
}

TEST_F(Operations, SwipedSaleAndReleaseValidateNothing) {
  std::wstring empty;
  post->SwipedBankCardDebit(merchant, key, empty, empty, holder, empty, ref, address, zip, empty, cvv2);
  std::wstring spaces = L" ";
  post->BankCardCloseBatch(merchant, key, spaces, amount, spaces, spaces);  // blanks are not empty: close
  ASSERT_EQ(6u, record.calls.size());
  EXPECT_EQ(L"url " + std::wstring(kGatewayBase) + L"CreditCard.asmx/CloseBatch", record.calls[4]);
}

TEST_F(Operations, WriteBacks) {
  std::wstring padded = L" 1225 ";
  post->BankCardDebit(merchant, key, amount, card, holder, padded, ref, address, zip, cvv2);
  EXPECT_EQ(L"1225", padded);
  for (const wchar_t* given : {L"abc", L""}) {
    std::wstring transId = given, user = L"0";
    post->BankCardBlindCredit(merchant, key, transId, amount, card, holder, expiration, cvv2, ref, address, zip, user);
    EXPECT_EQ(L"0", transId);
    EXPECT_NE(std::wstring::npos, record.calls.back().find(L"&TransID=0&"));
  }
}

TEST_F(Operations, ValuesAreFormEncodedAndDecodeToTheOriginal) {
  // A decoder of form data, as a server reads it.
  auto decode = [](const std::wstring& encoded) {
    std::string bytes;
    for (size_t i = 0; i < encoded.size(); ++i) {
      if (encoded[i] == L'+') bytes += ' ';
      else if (encoded[i] == L'%') bytes += static_cast<char>(std::stoi(std::wstring(encoded, i + 1, 2), nullptr, 16)), i += 2;
      else bytes += static_cast<char>(encoded[i]);
    }
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                        text.data(), static_cast<int>(text.size()))));
    return text;
  };
  for (const wchar_t* value : {L"Smith & Sons=1", L"%B4111^DOE/J^25?", L"a+b c", L"M\u00FCller \u20AC5", L"-._~*"}) {
    std::wstring encoded = FormEncode(value);
    EXPECT_EQ(std::wstring::npos, encoded.find_first_of(L"&= "));
    EXPECT_EQ(value, decode(encoded));
  }
  EXPECT_EQ(L"Smith+%26+Sons%3D1", FormEncode(L"Smith & Sons=1"));
  EXPECT_EQ(L"M%C3%BCller", FormEncode(L"M\u00FCller"));
  std::wstring name = L"A&B=C";
  post->BankCardCredit(merchant, key, amount, trans, name);
  EXPECT_EQ(L"send MerchantID=M100&RegKey=K200&Amount=12.50&TransID=555&RefID=A%26B%3DC", record.calls.back());
}

TEST_F(Operations, FailureMapping) {
  struct Case {
    long number;
    const wchar_t* message;
    const wchar_t* status;
  } const cases[] = {
      {9060, L"timed out", L"unknown"},      {12007, L"named not resolved", L"unknown"},
      {6000, L"described", L"ignored"},      {6099, L"described", L"ignored"},
      {5999, L"described", L"unknown"},      {6100, L"described", L"unknown"},
      {12157, L"described", L"unknown"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    record.sendFailure = vb::RuntimeError(c.number, L"described");
    auto status = post->BankCardDebit(merchant, key, amount, card, holder, expiration, ref, address, zip, cvv2);
    EXPECT_EQ(c.message, status->Message);
    EXPECT_EQ(c.status, status->Status);
    EXPECT_EQ(0, status->Amount.raw());
    EXPECT_EQ(0, status->TransID);
    for (const std::wstring* text : {&status->PostedDate, &status->SettledDate, &status->RefID, &status->AuthCode,
                                     &status->AVSCode, &status->CVV2Code})
      EXPECT_EQ(L"", *text);
  }
}

TEST_F(Operations, AComponentThatCannotBeCreated) {
  record.createFailure = vb::RuntimeError(429);
  std::wstring empty;
  auto status = post->BankCardCloseBatch(merchant, key, empty, empty, empty, empty);
  EXPECT_EQ(L"ActiveX component can't create object", status->Message);
  EXPECT_EQ(L"unknown", status->Status);
  EXPECT_TRUE(record.calls.empty());
}

TEST_F(Operations, TheReplyIsParsedIntoTheStatus) {
  record.reply = L"<r><Status>approved</Status><Amount>12.50</Amount><TransID>77</TransID></r>";
  auto status = post->VoidBankCardDebit(merchant, key, trans);
  EXPECT_EQ(L"approved", status->Status);
  EXPECT_EQ(125000, status->Amount.raw());
  EXPECT_EQ(77, status->TransID);
}

}  // namespace
}  // namespace payment
