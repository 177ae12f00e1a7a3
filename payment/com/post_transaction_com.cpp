#include "post_transaction_com.h"

#include "arguments.h"

namespace payment {

namespace {

long EnumArg(const void* p) { return p ? *static_cast<const long*>(p) : 0; }

// Runs an operation and hands its status object out as the interface Itf.
template <class Itf, class Self, class F>
HRESULT Operate(Self& self, Itf** result, F&& operation) noexcept {
  if (!result) return E_POINTER;
  *result = nullptr;
  return self.Run([&] { com::PutOut<Itf>(operation(), result); });
}

}  // namespace

com::Ptr<PostTransaction> PostTransaction::New() { return com::Make<PostTransactionCom>(); }

#define PAYMENT_ACH_ADAPTER(Operation, Itf)                                                                       \
  HRESULT PostTransactionCom::Operation(BSTR* MerchantID, BSTR* RegKey, BSTR* Amount, BSTR* AccountNumber,       \
                                        ACHType* AccountType, BSTR* AccountHolderName, BSTR* ABA, BSTR* RefID,   \
                                        BSTR* Address, BSTR* ZipCode, BSTR* ProcessDate, ::CheckType* CheckType, \
                                        BSTR* Description, Itf** result) noexcept {                              \
    return Operate(*this, result, [&] {                                                                          \
      std::wstring merchant = TextArg(MerchantID), key = TextArg(RegKey), amount = TextArg(Amount);              \
      std::wstring account = TextArg(AccountNumber), holder = TextArg(AccountHolderName), aba = TextArg(ABA);    \
      std::wstring ref = TextArg(RefID), address = TextArg(Address), zip = TextArg(ZipCode);                     \
      std::wstring date = TextArg(ProcessDate), description = TextArg(Description);                             \
      return PostTransaction::Operation(merchant, key, amount, account, EnumArg(AccountType), holder, aba, ref,  \
                                        address, zip, date, EnumArg(CheckType), description);                   \
    });                                                                                                          \
  }
PAYMENT_ACH_ADAPTER(ACHCredit, _ACHCreditStatus)
PAYMENT_ACH_ADAPTER(ACHDebit, _ACHDebitStatus)
#undef PAYMENT_ACH_ADAPTER

HRESULT PostTransactionCom::BankCardCredit(BSTR* MerchantID, BSTR* RegKey, BSTR* Amount, BSTR* TransID, BSTR* RefID,
                                           _BankCardCreditStatus** result) noexcept {
  return Operate(*this, result, [&] {
    std::wstring merchant = TextArg(MerchantID), key = TextArg(RegKey), amount = TextArg(Amount);
    std::wstring trans = TextArg(TransID), ref = TextArg(RefID);
    return PostTransaction::BankCardCredit(merchant, key, amount, trans, ref);
  });
}

HRESULT PostTransactionCom::BankCardBlindCredit(BSTR* MerchantID, BSTR* RegKey, BSTR* TransID, BSTR* Amount,
                                                BSTR* CardNumber, BSTR* CardHolderName, BSTR* Expiration, BSTR* CVV2,
                                                BSTR* RefID, BSTR* Address, BSTR* ZipCode, BSTR* UserID,
                                                _BankCardCreditStatus** result) noexcept {
  return Operate(*this, result, [&] {
    std::wstring merchant = TextArg(MerchantID), key = TextArg(RegKey), trans = TextArg(TransID);
    std::wstring amount = TextArg(Amount), card = TextArg(CardNumber), holder = TextArg(CardHolderName);
    std::wstring expiration = TextArg(Expiration), cvv2 = TextArg(CVV2), ref = TextArg(RefID);
    std::wstring address = TextArg(Address), zip = TextArg(ZipCode), user = TextArg(UserID, L"0");
    auto status = PostTransaction::BankCardBlindCredit(merchant, key, trans, amount, card, holder, expiration, cvv2,
                                                       ref, address, zip, user);
    WriteBack(TransID, trans);
    return status;
  });
}

HRESULT PostTransactionCom::BankCardDebit(BSTR* MerchantID, BSTR* RegKey, BSTR* Amount, BSTR* CardNumber,
                                          BSTR* CardHolderName, BSTR* Expiration, BSTR* RefID, BSTR* Address,
                                          BSTR* ZipCode, BSTR* CVV2Code, _BankCardDebitStatus** result) noexcept {
  return Operate(*this, result, [&] {
    std::wstring merchant = TextArg(MerchantID), key = TextArg(RegKey), amount = TextArg(Amount);
    std::wstring card = TextArg(CardNumber), holder = TextArg(CardHolderName), expiration = TextArg(Expiration);
    std::wstring ref = TextArg(RefID), address = TextArg(Address), zip = TextArg(ZipCode), cvv2 = TextArg(CVV2Code);
    auto status =
        PostTransaction::BankCardDebit(merchant, key, amount, card, holder, expiration, ref, address, zip, cvv2);
    WriteBack(Expiration, expiration);
    return status;
  });
}

HRESULT PostTransactionCom::BankCardVoiceAuthorization(BSTR* MerchantID, BSTR* RegKey, BSTR* Amount, BSTR* CardNumber,
                                                       BSTR* CardHolderName, BSTR* Expiration, BSTR* RefID,
                                                       BSTR* Address, BSTR* ZipCode, BSTR* strTrackData,
                                                       BSTR* strVoiceAuthCode,
                                                       _BankCardDebitStatus** result) noexcept {
  return Operate(*this, result, [&] {
    std::wstring merchant = TextArg(MerchantID), key = TextArg(RegKey), amount = TextArg(Amount);
    std::wstring card = TextArg(CardNumber), holder = TextArg(CardHolderName), expiration = TextArg(Expiration);
    std::wstring ref = TextArg(RefID), address = TextArg(Address), zip = TextArg(ZipCode);
    std::wstring track = TextArg(strTrackData), voice = TextArg(strVoiceAuthCode);
    auto status = PostTransaction::BankCardVoiceAuthorization(merchant, key, amount, card, holder, expiration, ref,
                                                              address, zip, track, voice);
    WriteBack(Expiration, expiration);
    return status;
  });
}

HRESULT PostTransactionCom::VoidBankCardDebit(BSTR* MerchantID, BSTR* RegKey, BSTR* TransID,
                                              _BankCardDebitStatus** result) noexcept {
  return Operate(*this, result, [&] {
    std::wstring merchant = TextArg(MerchantID), key = TextArg(RegKey), trans = TextArg(TransID);
    return PostTransaction::VoidBankCardDebit(merchant, key, trans);
  });
}

HRESULT PostTransactionCom::SwipedBankCardDebit(BSTR* MerchantID, BSTR* RegKey, BSTR* Amount, BSTR* CardNumber,
                                                BSTR* CardHolderName, BSTR* Expiration, BSTR* RefID, BSTR* Address,
                                                BSTR* ZipCode, BSTR* TrackData, BSTR* CVV2Code,
                                                _BankCardDebitStatus** result) noexcept {
  return Operate(*this, result, [&] {
    std::wstring merchant = TextArg(MerchantID), key = TextArg(RegKey), amount = TextArg(Amount);
    std::wstring card = TextArg(CardNumber), holder = TextArg(CardHolderName), expiration = TextArg(Expiration);
    std::wstring ref = TextArg(RefID), address = TextArg(Address), zip = TextArg(ZipCode);
    std::wstring track = TextArg(TrackData), cvv2 = TextArg(CVV2Code);
    return PostTransaction::SwipedBankCardDebit(merchant, key, amount, card, holder, expiration, ref, address, zip,
                                                track, cvv2);
  });
}

HRESULT PostTransactionCom::BankCardCloseBatch(BSTR* MerchantID, BSTR* RegKey, BSTR* TransID, BSTR* Amount,
                                               BSTR* strForceSettle, BSTR* strCreditID,
                                               _BankCardSettleStatus** result) noexcept {
  return Operate(*this, result, [&] {
    std::wstring merchant = TextArg(MerchantID), key = TextArg(RegKey), trans = TextArg(TransID);
    std::wstring amount = TextArg(Amount), force = TextArg(strForceSettle, L"0"), credit = TextArg(strCreditID, L"0");
    return PostTransaction::BankCardCloseBatch(merchant, key, trans, amount, force, credit);
  });
}

}  // namespace payment
