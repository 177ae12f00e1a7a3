// The in-process server: its one creatable class and the four exported entry points.
#include <windows.h>

#include <iterator>

#include "com/server.h"
#include "document_com.h"
#include "edidoc.h"

namespace {

const com::ClassEntry kClasses[] = {
    {&CLSID_Document, L"Document", &com::CreateInstance<edi::DocumentCom>},
};

const com::ServerInfo kServer{L"edidoc", &LIBID_edidoc, kClasses, std::size(kClasses)};

}  // namespace

COM_SERVER_ENTRY_POINTS(kServer)
