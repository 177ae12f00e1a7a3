// The in-process server: its class table and the four exported entry points.
#include <windows.h>

#include <iterator>

#include "batch_com.h"
#include "batchs_com.h"
#include "claim_com.h"
#include "claims_com.h"
#include "com/server.h"
#include "edi_file_com.h"
#include "file_header_com.h"
#include "insurance_policies_com.h"
#include "insurance_policy_com.h"
#include "nsf_format_com.h"
#include "output_field_com.h"
#include "output_fields_com.h"
#include "service_line_com.h"
#include "service_lines_com.h"
#include "sendarro7.h"

namespace {

const com::ClassEntry kClasses[] = {
    {&CLSID_OutputField, L"OutputField", &com::CreateInstance<claimfile::OutputFieldCom>},
    {&CLSID_OutputFields, L"OutputFields", &com::CreateInstance<claimfile::OutputFieldsCom>},
    {&CLSID_FileHeader, L"FileHeader", &com::CreateInstance<claimfile::FileHeaderCom>},
    {&CLSID_Batch, L"Batch", &com::CreateInstance<claimfile::BatchCom>},
    {&CLSID_Claim, L"Claim", &com::CreateInstance<claimfile::ClaimCom>},
    {&CLSID_ServiceLine, L"ServiceLine", &com::CreateInstance<claimfile::ServiceLineCom>},
    {&CLSID_InsurancePolicy, L"InsurancePolicy", &com::CreateInstance<claimfile::InsurancePolicyCom>},
    {&CLSID_Batchs, L"Batchs", &com::CreateInstance<claimfile::BatchsCom>},
    {&CLSID_Claims, L"Claims", &com::CreateInstance<claimfile::ClaimsCom>},
    {&CLSID_ServiceLines, L"ServiceLines", &com::CreateInstance<claimfile::ServiceLinesCom>},
    {&CLSID_InsurancePolicies, L"InsurancePolicies", &com::CreateInstance<claimfile::InsurancePoliciesCom>},
    {&CLSID_EDIFile, L"EDIFile", &com::CreateInstance<claimfile::EDIFileCom>},
    {&CLSID_NSFFormat, L"NSFFormat", &com::CreateInstance<claimfile::NSFFormatCom>},
};

// Claim's earlier interface id is an alias of _Claim in the type library. (InsurancePolicy's
// earlier interface is a whole interface of the library and is registered with it.)
const com::InterfaceAlias kAliases[] = {
    {&claimfile::IID_Claim___v0, L"Claim___v0", &IID__Claim},
};

const com::ServerInfo kServer{L"sendarro7", &LIBID_sendarro7, kClasses, std::size(kClasses), kAliases,
                              std::size(kAliases)};

}  // namespace

COM_SERVER_ENTRY_POINTS(kServer)
