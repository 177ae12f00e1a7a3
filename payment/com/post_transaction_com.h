// The COM adapter of PostTransaction.
#pragma once
#include "post_transaction.h"

namespace payment {

class PostTransactionCom final : public PostTransaction {
 public:
  HRESULT STDMETHODCALLTYPE ACHCredit(BSTR* MerchantID, BSTR* RegKey, BSTR* Amount, BSTR* AccountNumber,
                                      ACHType* AccountType, BSTR* AccountHolderName, BSTR* ABA, BSTR* RefID,
                                      BSTR* Address, BSTR* ZipCode, BSTR* ProcessDate, ::CheckType* CheckType,
                                      BSTR* Description, _ACHCreditStatus** result) noexcept override;
  HRESULT STDMETHODCALLTYPE ACHDebit(BSTR* MerchantID, BSTR* RegKey, BSTR* Amount, BSTR* AccountNumber,
                                     ACHType* AccountType, BSTR* AccountHolderName, BSTR* ABA, BSTR* RefID,
                                     BSTR* Address, BSTR* ZipCode, BSTR* ProcessDate, ::CheckType* CheckType,
                                     BSTR* Description, _ACHDebitStatus** result) noexcept override;
  HRESULT STDMETHODCALLTYPE BankCardCredit(BSTR* MerchantID, BSTR* RegKey, BSTR* Amount, BSTR* TransID, BSTR* RefID,
                                           _BankCardCreditStatus** result) noexcept override;
  HRESULT STDMETHODCALLTYPE BankCardBlindCredit(BSTR* MerchantID, BSTR* RegKey, BSTR* TransID, BSTR* Amount,
                                                BSTR* CardNumber, BSTR* CardHolderName, BSTR* Expiration, BSTR* CVV2,
                                                BSTR* RefID, BSTR* Address, BSTR* ZipCode, BSTR* UserID,
                                                _BankCardCreditStatus** result) noexcept override;
  HRESULT STDMETHODCALLTYPE BankCardDebit(BSTR* MerchantID, BSTR* RegKey, BSTR* Amount, BSTR* CardNumber,
                                          BSTR* CardHolderName, BSTR* Expiration, BSTR* RefID, BSTR* Address,
                                          BSTR* ZipCode, BSTR* CVV2Code, _BankCardDebitStatus** result) noexcept override;
  HRESULT STDMETHODCALLTYPE BankCardVoiceAuthorization(BSTR* MerchantID, BSTR* RegKey, BSTR* Amount, BSTR* CardNumber,
                                                       BSTR* CardHolderName, BSTR* Expiration, BSTR* RefID,
                                                       BSTR* Address, BSTR* ZipCode, BSTR* strTrackData,
                                                       BSTR* strVoiceAuthCode,
                                                       _BankCardDebitStatus** result) noexcept override;
  HRESULT STDMETHODCALLTYPE VoidBankCardDebit(BSTR* MerchantID, BSTR* RegKey, BSTR* TransID,
                                              _BankCardDebitStatus** result) noexcept override;
  HRESULT STDMETHODCALLTYPE SwipedBankCardDebit(BSTR* MerchantID, BSTR* RegKey, BSTR* Amount, BSTR* CardNumber,
                                                BSTR* CardHolderName, BSTR* Expiration, BSTR* RefID, BSTR* Address,
                                                BSTR* ZipCode, BSTR* TrackData, BSTR* CVV2Code,
                                                _BankCardDebitStatus** result) noexcept override;
  HRESULT STDMETHODCALLTYPE BankCardCloseBatch(BSTR* MerchantID, BSTR* RegKey, BSTR* TransID, BSTR* Amount,
                                               BSTR* strForceSettle, BSTR* strCreditID,
                                               _BankCardSettleStatus** result) noexcept override;
};

}  // namespace payment
