// The in-process server: its one creatable class and the four exported entry points.
#include <windows.h>

#include <iterator>

#include "com/server.h"
#include "gateway_http_client_com.h"
#include "gatewayhttp.h"

namespace {

const com::ClassEntry kClasses[] = {
    {&CLSID_GatewayHttpClient, L"GatewayHttpClient", &com::CreateInstance<gatewayhttp::GatewayHttpClientCom>},
};

const com::ServerInfo kServer{L"gatewayhttp", &LIBID_gatewayhttp, kClasses, std::size(kClasses)};

}  // namespace

COM_SERVER_ENTRY_POINTS(kServer)
