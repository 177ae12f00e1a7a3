#include "post_transaction.h"

#include "validators.h"
#include "form_body.h"

namespace payment {

namespace {

GatewayRequest Request(const wchar_t* path, const FormBody& body) { return GatewayRequest{path, body.text()}; }

// The checks of a keyed card: the expiry (trimmed in place), the amount, the card number.
void ValidateKeyedCard(std::wstring& Expiration, const std::wstring& Amount, const std::wstring& CardNumber) {
  ValidParameter_Expiration(Expiration);
  ValidParameter_Amount(Amount);
  ValidParameter_CardNumber(CardNumber);
}

// The body of the keyed and swiped card sales, which differ only in their track data.
FormBody CardSaleBody(const std::wstring& MerchantID, const std::wstring& RegKey, const std::wstring& Amount,
                      const std::wstring& CardNumber, const std::wstring& CardHolderName,
                      const std::wstring& Expiration, const std::wstring& RefID, const std::wstring& Address,
                      const std::wstring& ZipCode, const std::wstring& TrackData, const std::wstring& CVV2Code) {
  FormBody body;
  body.Pair(L"MerchantID", MerchantID).Pair(L"RegKey", RegKey).Pair(L"Amount", Amount);
  body.Fixed(L"SaleTaxAmount=0").Fixed(L"PONumber=");
  body.Pair(L"CardNumber", CardNumber).Pair(L"CardHolderName", CardHolderName).Pair(L"Expiration", Expiration);
  body.Pair(L"CVV2", CVV2Code).Pair(L"RefID", RefID).Pair(L"Address", Address).Pair(L"ZipCode", ZipCode);
  body.Fixed(L"UserID=0").Pair(L"TrackData", TrackData);
  body.Fixed(L"UsrDef1=").Fixed(L"UsrDef2=").Fixed(L"UsrDef3=").Fixed(L"UsrDef4=");
  return body;
}

}  // namespace

com::Ptr<ACHCreditStatus> PostTransaction::ACHCredit(std::wstring& MerchantID, std::wstring& RegKey,
                                                     std::wstring& Amount, std::wstring& AccountNumber,
                                                     long AccountType, std::wstring& AccountHolderName,
                                                     std::wstring& ABA, std::wstring& RefID, std::wstring& Address,
                                                     std::wstring& ZipCode, std::wstring& ProcessDate, long CheckType,
                                                     std::wstring& Description) {
  return Exchange<ACHCreditStatus>(
      connect,
      [&] {
        return ACHRequest(L"CheckVerifyWS/CheckVerifyWS.asmx/ACHCredit", MerchantID, RegKey, Amount, AccountNumber,
                          AccountType, AccountHolderName, ABA, RefID, Address, ZipCode, ProcessDate, CheckType,
                          Description);
      },
      &ParseACHCreditReply);
}

com::Ptr<ACHDebitStatus> PostTransaction::ACHDebit(std::wstring& MerchantID, std::wstring& RegKey,
                                                   std::wstring& Amount, std::wstring& AccountNumber, long AccountType,
                                                   std::wstring& AccountHolderName, std::wstring& ABA,
                                                   std::wstring& RefID, std::wstring& Address, std::wstring& ZipCode,
                                                   std::wstring& ProcessDate, long CheckType,
                                                   std::wstring& Description) {
  return Exchange<ACHDebitStatus>(
      connect,
      [&] {
        return ACHRequest(L"CheckVerifyWS/CheckVerifyWS.asmx/ACHDebit", MerchantID, RegKey, Amount, AccountNumber,
                          AccountType, AccountHolderName, ABA, RefID, Address, ZipCode, ProcessDate, CheckType,
                          Description);
      },
      &ParseACHDebitReply);
}

GatewayRequest PostTransaction::ACHRequest(const wchar_t* path, const std::wstring& MerchantID,
                                           const std::wstring& RegKey, const std::wstring& Amount,
                                           const std::wstring& AccountNumber, long AccountType,
                                           const std::wstring& AccountHolderName, const std::wstring& ABA,
                                           const std::wstring& RefID, const std::wstring& Address,
                                           const std::wstring& ZipCode, const std::wstring& ProcessDate,
                                           long CheckType, const std::wstring& Description) {
  AccountTypeText = AccountType == checking ? L"Checking" : L"Saving";
  CheckTypeText = CheckType == Business ? L"Business" : L"Personal";
  ValidParameter_Amount(Amount);
  FormBody body;
  body.Pair(L"MerchantID", MerchantID).Pair(L"RegKey", RegKey).Pair(L"RefID", RefID).Pair(L"Amount", Amount);
  body.Pair(L"TransRoute", ABA).Pair(L"BankAccountNo", AccountNumber).Pair(L"BankAccountType", AccountTypeText);
  body.Pair(L"Name", AccountHolderName).Pair(L"Address", Address).Pair(L"ZipCode", ZipCode);
  body.Pair(L"ProcessDate", ProcessDate).Pair(L"checkType", CheckTypeText).Pair(L"Description", Description);
  return Request(path, body);
}

com::Ptr<BankCardCreditStatus> PostTransaction::BankCardCredit(std::wstring& MerchantID, std::wstring& RegKey,
                                                               std::wstring& Amount, std::wstring& TransID,
                                                               std::wstring& RefID) {
  return Exchange<BankCardCreditStatus>(
      connect,
      [&] {
        ValidParameter_Amount(Amount);
        ValidParameter_TransID(TransID);
        FormBody body;
        body.Pair(L"MerchantID", MerchantID).Pair(L"RegKey", RegKey).Pair(L"Amount", Amount);
        body.Pair(L"TransID", TransID).Pair(L"RefID", RefID);
        return Request(L"CreditCard.asmx/CreditCardCredit ", body);
      },
      &ParseBankCardCreditReply);
}

com::Ptr<BankCardCreditStatus> PostTransaction::BankCardBlindCredit(
    std::wstring& MerchantID, std::wstring& RegKey, std::wstring& TransID, std::wstring& Amount,
    std::wstring& CardNumber, std::wstring& CardHolderName, std::wstring& Expiration, std::wstring& CVV2,
    std::wstring& RefID, std::wstring& Address, std::wstring& ZipCode, std::wstring& UserID) {
  return Exchange<BankCardCreditStatus>(
      connect,
      [&] {
        ValidParameter_Amount(Amount);
        if (!IsNumericText(TransID)) TransID = L"0";
        FormBody body;
        body.Pair(L"MerchantID", MerchantID).Pair(L"RegKey", RegKey).Pair(L"TransID", TransID);
        body.Pair(L"Amount", Amount).Pair(L"CardNumber", CardNumber).Pair(L"CardHolderName", CardHolderName);
        body.Pair(L"Expiration", Expiration).Pair(L"CVV2", CVV2).Pair(L"RefID", RefID);
        body.Pair(L"Address", Address).Pair(L"ZipCode", ZipCode).Pair(L"UserID", UserID);
        return Request(L"CreditCard.asmx/BlindCredit ", body);
      },
      &ParseBankCardCreditReply);
}

com::Ptr<BankCardDebitStatus> PostTransaction::BankCardDebit(std::wstring& MerchantID, std::wstring& RegKey,
                                                             std::wstring& Amount, std::wstring& CardNumber,
                                                             std::wstring& CardHolderName, std::wstring& Expiration,
                                                             std::wstring& RefID, std::wstring& Address,
                                                             std::wstring& ZipCode, std::wstring& CVV2Code) {
  return Exchange<BankCardDebitStatus>(
      connect,
      [&] {
        ValidateKeyedCard(Expiration, Amount, CardNumber);
        return Request(L"CreditCard.asmx/CreditCardSaleAll",
                       CardSaleBody(MerchantID, RegKey, Amount, CardNumber, CardHolderName, Expiration, RefID,
                                    Address, ZipCode, L"", CVV2Code));
      },
      &ParseBankCardDebitReply);
}

com::Ptr<BankCardDebitStatus> PostTransaction::BankCardVoiceAuthorization(
    std::wstring& MerchantID, std::wstring& RegKey, std::wstring& Amount, std::wstring& CardNumber,
    std::wstring& CardHolderName, std::wstring& Expiration, std::wstring& RefID, std::wstring& Address,
    std::wstring& ZipCode, std::wstring& strTrackData, std::wstring& strVoiceAuthCode) {
  return Exchange<BankCardDebitStatus>(
      connect,
      [&] {
        ValidateKeyedCard(Expiration, Amount, CardNumber);
        FormBody body;
        body.Pair(L"MerchantID", MerchantID).Pair(L"RegKey", RegKey).Pair(L"Amount", Amount);
        body.Pair(L"CardNumber", CardNumber).Pair(L"CardHolderName", CardHolderName);
        body.Pair(L"Expiration", Expiration).Pair(L"RefID", RefID).Pair(L"Address", Address);
        body.Pair(L"ZipCode", ZipCode).Pair(L"TrackData", strTrackData).Pair(L"VoiceAuthCode", strVoiceAuthCode);
        return Request(L"CreditCard.asmx/CreditCardVoiceAuthorization", body);
      },
      &ParseBankCardDebitReply);
}

com::Ptr<BankCardDebitStatus> PostTransaction::VoidBankCardDebit(std::wstring& MerchantID, std::wstring& RegKey,
                                                                 std::wstring& TransID) {
  return Exchange<BankCardDebitStatus>(
      connect,
      [&] {
        ValidParameter_TransID(TransID);
        FormBody body;
        body.Pair(L"MerchantID", MerchantID).Pair(L"RegKey", RegKey).Pair(L"TransID", TransID);
        return Request(L"CreditCard.asmx/VoidCreditCardSale", body);
      },
      &ParseBankCardDebitReply);
}

com::Ptr<BankCardDebitStatus> PostTransaction::SwipedBankCardDebit(
    std::wstring& MerchantID, std::wstring& RegKey, std::wstring& Amount, std::wstring& CardNumber,
    std::wstring& CardHolderName, std::wstring& Expiration, std::wstring& RefID, std::wstring& Address,
    std::wstring& ZipCode, std::wstring& TrackData, std::wstring& CVV2Code) {
  return Exchange<BankCardDebitStatus>(
      connect,
      [&] {
        return Request(L"CreditCard.asmx/CreditCardSaleAll",
                       CardSaleBody(MerchantID, RegKey, Amount, CardNumber, CardHolderName, Expiration, RefID,
                                    Address, ZipCode, TrackData, CVV2Code));
      },
      &ParseBankCardDebitReply);
}

com::Ptr<BankCardSettleStatus> PostTransaction::BankCardCloseBatch(std::wstring& MerchantID, std::wstring& RegKey,
                                                                   std::wstring& TransID, std::wstring& Amount,
                                                                   std::wstring& strForceSettle,
                                                                   std::wstring& strCreditID) {
  return Exchange<BankCardSettleStatus>(
      connect,
      [&] {
        FormBody body;
        body.Pair(L"MerchantID", MerchantID).Pair(L"RegKey", RegKey);
        if (TransID.empty()) return Request(L"CreditCard.asmx/ReleaseBatch", body);
        body.Pair(L"TransID", TransID).Pair(L"Amount", Amount);
        body.Pair(L"ForceSettlement", strForceSettle).Pair(L"CreditID", strCreditID);
        return Request(L"CreditCard.asmx/CloseBatch", body);
      },
      &ParseBankCardSettleReply);
}

}  // namespace payment
