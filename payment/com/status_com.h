// The COM adapters of the five status classes: gets of their values, the Status and Message lets
// (text by reference), and BankCardSettleStatus's CreateStatus.
#pragma once
#include "com/accessors.h"
#include "status.h"

namespace payment {

#define PAYMENT_GET_TEXT(Member) \
  HRESULT STDMETHODCALLTYPE get_##Member(BSTR* out) noexcept override { return com::Get(out, Member); }
#define PAYMENT_GET_NUMBER(Member, Type) \
  HRESULT STDMETHODCALLTYPE get_##Member(Type* out) noexcept override { return com::Get(out, Member); }
#define PAYMENT_GET_AMOUNT                                                     \
  HRESULT STDMETHODCALLTYPE get_Amount(CY* out) noexcept override {           \
    return com::Get(out, Amount.cy());                                        \
  }
#define PAYMENT_LET_TEXT(Member)                                              \
  HRESULT STDMETHODCALLTYPE put_##Member(BSTR* value) noexcept override {     \
    return value ? com::Let(Member, *value) : E_POINTER;                      \
  }
// The members every class has.
#define PAYMENT_COMMON_MEMBERS \
  PAYMENT_GET_AMOUNT           \
  PAYMENT_GET_TEXT(PostedDate) \
  PAYMENT_GET_TEXT(RefID)      \
  PAYMENT_GET_TEXT(SettledDate) \
  PAYMENT_GET_TEXT(Status)     \
  PAYMENT_LET_TEXT(Status)     \
  PAYMENT_GET_TEXT(Message)    \
  PAYMENT_LET_TEXT(Message)

class ACHCreditStatusCom final : public ACHCreditStatus {
 public:
  PAYMENT_COMMON_MEMBERS
  PAYMENT_GET_NUMBER(Success, short)
  PAYMENT_GET_NUMBER(CreditID, long)
};

class ACHDebitStatusCom final : public ACHDebitStatus {
 public:
  PAYMENT_COMMON_MEMBERS
  PAYMENT_GET_NUMBER(Success, short)
  PAYMENT_GET_NUMBER(TransID, long)
};

class BankCardCreditStatusCom final : public BankCardCreditStatus {
 public:
  PAYMENT_COMMON_MEMBERS
  PAYMENT_GET_NUMBER(CreditID, long)
  PAYMENT_GET_NUMBER(TransID, long)
};

class BankCardDebitStatusCom final : public BankCardDebitStatus {
 public:
  PAYMENT_COMMON_MEMBERS
  PAYMENT_GET_TEXT(AuthCode)
  PAYMENT_GET_TEXT(AVSCode)
  PAYMENT_GET_NUMBER(TransID, long)
  PAYMENT_GET_TEXT(CVV2Code)
};

class BankCardSettleStatusCom final : public BankCardSettleStatus {
 public:
  PAYMENT_COMMON_MEMBERS
  PAYMENT_GET_TEXT(AuthCode)
  PAYMENT_GET_TEXT(AVSCode)
  PAYMENT_GET_NUMBER(TransID, long)
  HRESULT STDMETHODCALLTYPE CreateStatus(CY* vAmount, BSTR* vAuthCode, BSTR* vAVSCode, BSTR* vPostedDate,
                                         BSTR* vRefID, BSTR* vStatus, BSTR* vSettledDate, long* vTransID,
                                         BSTR* vMessage) noexcept override;
};

#undef PAYMENT_GET_TEXT
#undef PAYMENT_GET_NUMBER
#undef PAYMENT_GET_AMOUNT
#undef PAYMENT_LET_TEXT
#undef PAYMENT_COMMON_MEMBERS

}  // namespace payment
