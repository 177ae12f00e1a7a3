// The five status classes that the payment operations return: data holders whose values come
// from the gateway's reply (through a builder) or from an operation's failure (Status, Message).
#pragma once
#include <string>

#include "com/object.h"
#include "fennick98.h"
#include "vb/currency.h"

namespace payment {

// Every value a status class may hold; each class shows its own members of them. A new object
// holds 0 and empty texts.
struct StatusValues {
  short Success = 0;
  vb::Currency Amount;
  long CreditID = 0;
  long TransID = 0;
  std::wstring AuthCode, AVSCode, CVV2Code, PostedDate, RefID, Status, SettledDate, Message;

 protected:
  // The members every class has, as its builder sets them (the dates through the reply date rule).
  void FillCommon(vb::Currency amount, const std::wstring& postedDate, const std::wstring& refId,
                  const std::wstring& status, const std::wstring& settledDate, const std::wstring& message);
};

// The reply date rule of the builders: a reply date D (YYYY-MM-DDTHH:MM:SS, possibly empty or
// short) becomes MM/DD/YYYY HH:MM:SS in member, from the characters D has at those places;
// a D whose first four characters are "0001" leaves member unchanged.
void SetReplyDate(std::wstring& member, const std::wstring& d);

template <class Derived, class Itf>
class StatusObject : public com::Object<Derived, Itf>, public StatusValues {};

class ACHCreditStatus : public StatusObject<ACHCreditStatus, _ACHCreditStatus> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__ACHCreditStatus; }
  static com::Ptr<ACHCreditStatus> New();
  void FillStatus(short Success, vb::Currency Amount, long CreditID, const std::wstring& PostedDate,
                  const std::wstring& RefID, const std::wstring& Status, const std::wstring& SettledDate,
                  const std::wstring& Message);
};

class ACHDebitStatus : public StatusObject<ACHDebitStatus, _ACHDebitStatus> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__ACHDebitStatus; }
  static com::Ptr<ACHDebitStatus> New();
  void FillStatus(short Success, vb::Currency Amount, const std::wstring& PostedDate, const std::wstring& RefID,
                  const std::wstring& Status, const std::wstring& SettledDate, long TransID,
                  const std::wstring& Message);
};

class BankCardCreditStatus : public StatusObject<BankCardCreditStatus, _BankCardCreditStatus> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__BankCardCreditStatus; }
  static com::Ptr<BankCardCreditStatus> New();
  void FillStatus(vb::Currency Amount, long CreditID, const std::wstring& PostedDate, const std::wstring& RefID,
                  const std::wstring& Status, const std::wstring& SettledDate, long TransID,
                  const std::wstring& Message);
};

class BankCardDebitStatus : public StatusObject<BankCardDebitStatus, _BankCardDebitStatus> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__BankCardDebitStatus; }
  static com::Ptr<BankCardDebitStatus> New();
  void FillStatus(vb::Currency Amount, const std::wstring& AuthCode, const std::wstring& AVSCode,
                  const std::wstring& PostedDate, const std::wstring& RefID, const std::wstring& Status,
                  const std::wstring& SettledDate, long TransID, const std::wstring& Message,
                  const std::wstring& CVV2Code);
};

class BankCardSettleStatus : public StatusObject<BankCardSettleStatus, _BankCardSettleStatus> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID__BankCardSettleStatus; }
  static com::Ptr<BankCardSettleStatus> New();
  // Public: hosts call it too.
  void CreateStatus(vb::Currency vAmount, const std::wstring& vAuthCode, const std::wstring& vAVSCode,
                    const std::wstring& vPostedDate, const std::wstring& vRefID, const std::wstring& vStatus,
                    const std::wstring& vSettledDate, long vTransID, const std::wstring& vMessage);
};

}  // namespace payment
