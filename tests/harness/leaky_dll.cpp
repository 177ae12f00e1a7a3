// A DLL built the way a shipped one must not be: it exports a helper besides its entry point,
// keeps its symbol table (not stripped) and carries a test double's name.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT DllCanUnloadNow() { return S_FALSE; }
extern "C" __declspec(dllexport) const char* LeftoverHelper() { return "vb::RecordingPresenter"; }
