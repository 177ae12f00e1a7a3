#include "status.h"

namespace payment {

namespace {

// Characters start..start+length-1 (from 1) of s, as far as s has them.
std::wstring Mid(const std::wstring& s, size_t start, size_t length) {
  return start > s.size() ? std::wstring() : s.substr(start - 1, length);
}

}  // namespace

void SetReplyDate(std::wstring& member, const std::wstring& d) {
  if (Mid(d, 1, 4) == L"0001") return;
  member = Mid(d, 6, 2) + L"/" + Mid(d, 9, 2) + L"/" + Mid(d, 1, 4) + L" " + Mid(d, 12, 8);
}

void StatusValues::FillCommon(vb::Currency amount, const std::wstring& postedDate, const std::wstring& refId,
                              const std::wstring& status, const std::wstring& settledDate,
                              const std::wstring& message) {
  Amount = amount;
  SetReplyDate(PostedDate, postedDate);
  RefID = refId;
  Status = status;
  SetReplyDate(SettledDate, settledDate);
  Message = message;
}

void ACHCreditStatus::FillStatus(short success, vb::Currency amount, long creditId, const std::wstring& postedDate,
                                 const std::wstring& refId, const std::wstring& status,
                                 const std::wstring& settledDate, const std::wstring& message) {
  Success = success;
  CreditID = creditId;
  FillCommon(amount, postedDate, refId, status, settledDate, message);
}

void ACHDebitStatus::FillStatus(short success, vb::Currency amount, const std::wstring& postedDate,
                                const std::wstring& refId, const std::wstring& status, const std::wstring& settledDate,
                                long transId, const std::wstring& message) {
  Success = success;
  TransID = transId;
  FillCommon(amount, postedDate, refId, status, settledDate, message);
}

void BankCardCreditStatus::FillStatus(vb::Currency amount, long creditId, const std::wstring& postedDate,
                                      const std::wstring& refId, const std::wstring& status,
                                      const std::wstring& settledDate, long transId, const std::wstring& message) {
  CreditID = creditId;
  TransID = transId;
  FillCommon(amount, postedDate, refId, status, settledDate, message);
}

void BankCardDebitStatus::FillStatus(vb::Currency amount, const std::wstring& authCode, const std::wstring& avsCode,
                                     const std::wstring& postedDate, const std::wstring& refId,
                                     const std::wstring& status, const std::wstring& settledDate, long transId,
                                     const std::wstring& message, const std::wstring& cvv2Code) {
  AuthCode = authCode;
  AVSCode = avsCode;
  TransID = transId;
  CVV2Code = cvv2Code;
  FillCommon(amount, postedDate, refId, status, settledDate, message);
}

void BankCardSettleStatus::CreateStatus(vb::Currency vAmount, const std::wstring& vAuthCode,
                                        const std::wstring& vAVSCode, const std::wstring& vPostedDate,
                                        const std::wstring& vRefID, const std::wstring& vStatus,
                                        const std::wstring& vSettledDate, long vTransID,
                                        const std::wstring& vMessage) {
  AuthCode = vAuthCode;
  AVSCode = vAVSCode;
  TransID = vTransID;
  FillCommon(vAmount, vPostedDate, vRefID, vStatus, vSettledDate, vMessage);
}

}  // namespace payment
