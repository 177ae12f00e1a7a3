// The in-process server: its class table and the four exported entry points.
#include <windows.h>

#include <iterator>

#include "com/server.h"
#include "file_locations_com.h"
#include "manage_files_com.h"
#include "mby_app_name_com.h"
#include "vista_info_com.h"
#include "gorsewick.h"

namespace {

const com::ClassEntry kClasses[] = {
    {&CLSID_MBYAppName, L"MBYAppName", &com::CreateInstance<vista::MBYAppNameCom>},
    {&CLSID_fileLocations, L"fileLocations", &com::CreateInstance<vista::fileLocationsCom>},
    {&CLSID_VistaInfo, L"VistaInfo", &com::CreateInstance<vista::VistaInfoCom>},
    {&CLSID_ManageFiles, L"ManageFiles", &com::CreateInstance<vista::ManageFilesCom>},
};

// The earlier interface ids are aliases of the current interfaces in the type library.
const com::InterfaceAlias kAliases[] = {
    {&vista::IID__fileLocations___v0, L"fileLocations___v0", &IID__fileLocations},
    {&vista::IID__VistaInfo___v0, L"VistaInfo___v0", &IID__VistaInfo},
    {&vista::IID__ManageFiles___v0, L"ManageFiles___v0", &IID__ManageFiles},
};

const com::ServerInfo kServer{L"gorsewick", &LIBID_gorsewick, kClasses, std::size(kClasses), kAliases,
                              std::size(kAliases)};

}  // namespace

COM_SERVER_ENTRY_POINTS(kServer)
