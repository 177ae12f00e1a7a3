// The in-process server: its class table and the four exported entry points.
#include <windows.h>

#include <iterator>

#include "com/server.h"
#include "file_locations_com.h"
#include "mby_app_name_com.h"
#include "vista_info_com.h"
#include "gorsewick.h"

namespace {

const com::ClassEntry kClasses[] = {
    {&CLSID_MBYAppName, L"MBYAppName", &com::CreateInstance<vista::MBYAppNameCom>},
    {&CLSID_fileLocations, L"fileLocations", &com::CreateInstance<vista::fileLocationsCom>},
    {&CLSID_VistaInfo, L"VistaInfo", &com::CreateInstance<vista::VistaInfoCom>},
};

const com::ServerInfo kServer{L"gorsewick", &LIBID_gorsewick, kClasses, std::size(kClasses)};

}  // namespace

COM_SERVER_ENTRY_POINTS(kServer)
