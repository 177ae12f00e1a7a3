// The in-process server: its class table and the four exported entry points.
#include <windows.h>

#include <iterator>

#include "com/server.h"
#include "fennick98.h"
#include "post_transaction_com.h"
#include "status_com.h"

namespace {

using namespace payment;

const com::ClassEntry kClasses[] = {
    {&CLSID_ACHCreditStatus, L"ACHCreditStatus", &com::CreateInstance<ACHCreditStatusCom>},
    {&CLSID_ACHDebitStatus, L"ACHDebitStatus", &com::CreateInstance<ACHDebitStatusCom>},
    {&CLSID_BankCardCreditStatus, L"BankCardCreditStatus", &com::CreateInstance<BankCardCreditStatusCom>},
    {&CLSID_BankCardDebitStatus, L"BankCardDebitStatus", &com::CreateInstance<BankCardDebitStatusCom>},
    {&CLSID_BankCardSettleStatus, L"BankCardSettleStatus", &com::CreateInstance<BankCardSettleStatusCom>},
    {&CLSID_PostTransaction, L"PostTransaction", &com::CreateInstance<PostTransactionCom>},
};

const com::ServerInfo kServer{L"fennick98", &LIBID_fennick98, kClasses, std::size(kClasses)};

}  // namespace

COM_SERVER_ENTRY_POINTS(kServer)
