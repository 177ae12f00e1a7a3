// A DLL built the way a shipped one must not be: it exports a helper besides its entry point,
// keeps its symbol table (not stripped), carries a test double's name, calls a Vista function
// and asks for Windows Vista in its header.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT DllCanUnloadNow() { return S_FALSE; }
extern "C" __declspec(dllexport) const char* LeftoverHelper() {
  return GetTickCount64() ? "vb::RecordingPresenter" : "";
}
