// The in-process server: its class table and the four exported entry points.
#include <windows.h>

#include <iterator>

#include "com/server.h"
#include "model/batch.h"
#include "model/batchs.h"
#include "model/claim.h"
#include "model/claims.h"
#include "model/file_header.h"
#include "model/insurance_policies.h"
#include "model/insurance_policy.h"
#include "model/output_field.h"
#include "model/output_fields.h"
#include "model/service_line.h"
#include "model/service_lines.h"
#include "sendarro7.h"

namespace {

const com::ClassEntry kClasses[] = {
    {&CLSID_OutputField, L"OutputField", &com::CreateInstance<claimfile::OutputField>},
    {&CLSID_OutputFields, L"OutputFields", &com::CreateInstance<claimfile::OutputFields>},
    {&CLSID_FileHeader, L"FileHeader", &com::CreateInstance<claimfile::FileHeader>},
    {&CLSID_Batch, L"Batch", &com::CreateInstance<claimfile::Batch>},
    {&CLSID_Claim, L"Claim", &com::CreateInstance<claimfile::Claim>},
    {&CLSID_ServiceLine, L"ServiceLine", &com::CreateInstance<claimfile::ServiceLine>},
    {&CLSID_InsurancePolicy, L"InsurancePolicy", &com::CreateInstance<claimfile::InsurancePolicy>},
    {&CLSID_Batchs, L"Batchs", &com::CreateInstance<claimfile::Batchs>},
    {&CLSID_Claims, L"Claims", &com::CreateInstance<claimfile::Claims>},
    {&CLSID_ServiceLines, L"ServiceLines", &com::CreateInstance<claimfile::ServiceLines>},
    {&CLSID_InsurancePolicies, L"InsurancePolicies", &com::CreateInstance<claimfile::InsurancePolicies>},
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
