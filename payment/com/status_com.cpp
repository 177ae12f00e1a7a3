#include "status_com.h"

#include "arguments.h"

namespace payment {

com::Ptr<ACHCreditStatus> ACHCreditStatus::New() { return com::Make<ACHCreditStatusCom>(); }
com::Ptr<ACHDebitStatus> ACHDebitStatus::New() { return com::Make<ACHDebitStatusCom>(); }
com::Ptr<BankCardCreditStatus> BankCardCreditStatus::New() { return com::Make<BankCardCreditStatusCom>(); }
com::Ptr<BankCardDebitStatus> BankCardDebitStatus::New() { return com::Make<BankCardDebitStatusCom>(); }
com::Ptr<BankCardSettleStatus> BankCardSettleStatus::New() { return com::Make<BankCardSettleStatusCom>(); }

HRESULT BankCardSettleStatusCom::CreateStatus(CY* vAmount, BSTR* vAuthCode, BSTR* vAVSCode, BSTR* vPostedDate,
                                              BSTR* vRefID, BSTR* vStatus, BSTR* vSettledDate, long* vTransID,
                                              BSTR* vMessage) noexcept {
  if (!vAmount || !vTransID) return E_POINTER;
  return Run([&] {
    BankCardSettleStatus::CreateStatus(vb::Currency::FromCy(*vAmount), TextArg(vAuthCode), TextArg(vAVSCode),
                                       TextArg(vPostedDate), TextArg(vRefID), TextArg(vStatus),
                                       TextArg(vSettledDate), *vTransID, TextArg(vMessage));
  });
}

}  // namespace payment
