// The ten requests of the nine operations, with plain values, as a late-bound host makes them:
// the arguments in order, and the path and body the gateway must receive (written from the
// operations' request tables). Shared by the tests through a recording component and over HTTPS.
#pragma once
#include <oaidl.h>

#include <string>
#include <vector>

#include "dispatch_call.h"

namespace payment::testing {

// An argument: a text, or (text nullptr) a number.
struct Arg {
  const wchar_t* text;
  long number = 0;
};

struct RequestCase {
  const char* name;
  const wchar_t* operation;
  std::vector<Arg> args;      // optional arguments left out at the end
  const wchar_t* path;        // under the gateway's base address
  std::string body;
};

// Every case's MerchantID is `merchant`.
inline std::vector<RequestCase> RequestCases(const wchar_t* merchant) {
  auto Long = [](long n) { return Arg{nullptr, n}; };
  const Arg m{merchant}, k{L"K200"}, amount{L"12.50"}, card{L"4111111111111111"}, holder{L"Ann"},
      expiration{L"1225"}, ref{L"R7"}, address{L"Main"}, zip{L"84101"}, cvv2{L"123"}, trans{L"555"},
      account{L"9876"}, aba{L"124000054"}, date{L"20060310"}, description{L"Rent"}, track{L"T1"}, empty{L""};
  std::string id;
  for (const wchar_t* c = merchant; *c; ++c) id += static_cast<char>(*c);
  const std::string head = "MerchantID=" + id + "&RegKey=K200";
  const std::string achTail = "&RefID=R7&Amount=12.50&TransRoute=124000054&BankAccountNo=9876";
  const std::string achEnd = "&Name=Ann&Address=Main&ZipCode=84101&ProcessDate=20060310";
  const std::string saleMiddle = "&Amount=12.50&SaleTaxAmount=0&PONumber=&CardNumber=4111111111111111"
                                 "&CardHolderName=Ann&Expiration=1225&CVV2=123&RefID=R7&Address=Main&ZipCode=84101"
                                 "&UserID=0&TrackData=";
  return {
      {"ACHCredit", L"ACHCredit",
       {m, k, amount, account, Long(1), holder, aba, ref, address, zip, date, Long(2), description},
       L"CheckVerifyWS/CheckVerifyWS.asmx/ACHCredit",
       head + achTail + "&BankAccountType=Checking" + achEnd + "&checkType=Business&Description=Rent"},
      {"ACHDebit, kinds outside the enums", L"ACHDebit",
       {m, k, amount, account, Long(0), holder, aba, ref, address, zip, date, Long(3), description},
       L"CheckVerifyWS/CheckVerifyWS.asmx/ACHDebit",
       head + achTail + "&BankAccountType=Saving" + achEnd + "&checkType=Personal&Description=Rent"},
      {"BankCardCredit", L"BankCardCredit", {m, k, amount, trans, ref}, L"CreditCard.asmx/CreditCardCredit ",
       head + "&Amount=12.50&TransID=555&RefID=R7"},
      {"BankCardBlindCredit without UserID", L"BankCardBlindCredit",
       {m, k, trans, amount, card, holder, expiration, cvv2, ref, address, zip}, L"CreditCard.asmx/BlindCredit ",
       head + "&TransID=555&Amount=12.50&CardNumber=4111111111111111&CardHolderName=Ann&Expiration=1225&CVV2=123"
              "&RefID=R7&Address=Main&ZipCode=84101&UserID=0"},
      {"BankCardDebit", L"BankCardDebit", {m, k, amount, card, holder, expiration, ref, address, zip, cvv2},
       L"CreditCard.asmx/CreditCardSaleAll", head + saleMiddle + "&UsrDef1=&UsrDef2=&UsrDef3=&UsrDef4="},
      {"BankCardVoiceAuthorization", L"BankCardVoiceAuthorization",
       {m, k, amount, card, holder, expiration, ref, address, zip, track, Arg{L"V9"}},
       L"CreditCard.asmx/CreditCardVoiceAuthorization",
       head + "&Amount=12.50&CardNumber=4111111111111111&CardHolderName=Ann&Expiration=1225&RefID=R7"
              "&Address=Main&ZipCode=84101&TrackData=T1&VoiceAuthCode=V9"},
      {"VoidBankCardDebit", L"VoidBankCardDebit", {m, k, trans}, L"CreditCard.asmx/VoidCreditCardSale",
       head + "&TransID=555"},
      {"SwipedBankCardDebit", L"SwipedBankCardDebit",
       {m, k, amount, card, holder, expiration, ref, address, zip, track, cvv2}, L"CreditCard.asmx/CreditCardSaleAll",
       head + saleMiddle + "T1&UsrDef1=&UsrDef2=&UsrDef3=&UsrDef4="},
      {"BankCardCloseBatch with a TransID only", L"BankCardCloseBatch", {m, k, trans}, L"CreditCard.asmx/CloseBatch",
       head + "&TransID=555&Amount=&ForceSettlement=0&CreditID=0"},
      {"BankCardCloseBatch, release with an amount", L"BankCardCloseBatch", {m, k, empty, amount},
       L"CreditCard.asmx/ReleaseBatch", head},
  };
}

// The arguments as new Variants for one call (a call may free the texts it was given).
inline std::vector<VARIANT> Variants(const std::vector<Arg>& args) {
  std::vector<VARIANT> out;
  for (const Arg& a : args) out.push_back(a.text ? testutil::Str(a.text) : testutil::Long(a.number));
  return out;
}

}  // namespace payment::testing
