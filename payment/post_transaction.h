// PostTransaction: the nine payment operations. Each validates its arguments, posts one request
// to the gateway and returns a new status object; failures come back in that object, never as
// errors. Arguments pass by reference: Expiration comes back trimmed where it is validated, and
// BankCardBlindCredit's TransID comes back "0" when it is not numeric text.
#pragma once
#include <string>

#include "com/object.h"
#include "exchange.h"
#include "fennick98.h"
#include "status.h"

namespace payment {

class PostTransaction : public com::Object<PostTransaction, _PostTransaction> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__PostTransaction; }
  static com::Ptr<PostTransaction> New();

  // Where each call gets its own HTTP component.
  ConnectionFactory connect = CreateGatewayHttpClient;

  // The account and check kinds of the last ACH call, as sent.
  std::wstring AccountTypeText;
  std::wstring CheckTypeText;

  com::Ptr<ACHCreditStatus> ACHCredit(std::wstring& MerchantID, std::wstring& RegKey, std::wstring& Amount,
                                      std::wstring& AccountNumber, long AccountType, std::wstring& AccountHolderName,
                                      std::wstring& ABA, std::wstring& RefID, std::wstring& Address,
                                      std::wstring& ZipCode, std::wstring& ProcessDate, long CheckType,
                                      std::wstring& Description);
  com::Ptr<ACHDebitStatus> ACHDebit(std::wstring& MerchantID, std::wstring& RegKey, std::wstring& Amount,
                                    std::wstring& AccountNumber, long AccountType, std::wstring& AccountHolderName,
                                    std::wstring& ABA, std::wstring& RefID, std::wstring& Address,
                                    std::wstring& ZipCode, std::wstring& ProcessDate, long CheckType,
                                    std::wstring& Description);
  com::Ptr<BankCardCreditStatus> BankCardCredit(std::wstring& MerchantID, std::wstring& RegKey, std::wstring& Amount,
                                                std::wstring& TransID, std::wstring& RefID);
  com::Ptr<BankCardCreditStatus> BankCardBlindCredit(std::wstring& MerchantID, std::wstring& RegKey,
                                                     std::wstring& TransID, std::wstring& Amount,
                                                     std::wstring& CardNumber, std::wstring& CardHolderName,
                                                     std::wstring& Expiration, std::wstring& CVV2, std::wstring& RefID,
                                                     std::wstring& Address, std::wstring& ZipCode,
                                                     std::wstring& UserID);
  com::Ptr<BankCardDebitStatus> BankCardDebit(std::wstring& MerchantID, std::wstring& RegKey, std::wstring& Amount,
                                              std::wstring& CardNumber, std::wstring& CardHolderName,
                                              std::wstring& Expiration, std::wstring& RefID, std::wstring& Address,
                                              std::wstring& ZipCode, std::wstring& CVV2Code);
  com::Ptr<BankCardDebitStatus> BankCardVoiceAuthorization(std::wstring& MerchantID, std::wstring& RegKey,
                                                           std::wstring& Amount, std::wstring& CardNumber,
                                                           std::wstring& CardHolderName, std::wstring& Expiration,
                                                           std::wstring& RefID, std::wstring& Address,
                                                           std::wstring& ZipCode, std::wstring& strTrackData,
                                                           std::wstring& strVoiceAuthCode);
  com::Ptr<BankCardDebitStatus> VoidBankCardDebit(std::wstring& MerchantID, std::wstring& RegKey,
                                                  std::wstring& TransID);
  com::Ptr<BankCardDebitStatus> SwipedBankCardDebit(std::wstring& MerchantID, std::wstring& RegKey,
                                                    std::wstring& Amount, std::wstring& CardNumber,
                                                    std::wstring& CardHolderName, std::wstring& Expiration,
                                                    std::wstring& RefID, std::wstring& Address, std::wstring& ZipCode,
                                                    std::wstring& TrackData, std::wstring& CVV2Code);
  // An empty TransID releases the batch (MerchantID and RegKey alone); any other closes it.
  com::Ptr<BankCardSettleStatus> BankCardCloseBatch(std::wstring& MerchantID, std::wstring& RegKey,
                                                    std::wstring& TransID, std::wstring& Amount,
                                                    std::wstring& strForceSettle, std::wstring& strCreditID);

 private:
  // Sets the two ACH kind texts, validates and builds an ACH request.
  GatewayRequest ACHRequest(const wchar_t* path, const std::wstring& MerchantID, const std::wstring& RegKey,
                            const std::wstring& Amount, const std::wstring& AccountNumber, long AccountType,
                            const std::wstring& AccountHolderName, const std::wstring& ABA, const std::wstring& RefID,
                            const std::wstring& Address, const std::wstring& ZipCode, const std::wstring& ProcessDate,
                            long CheckType, const std::wstring& Description);
};

}  // namespace payment
