// The version services of the Vista support library, created by class id as a host would.
#pragma once
#include <windows.h>

namespace claimfile::Edi837 {

// Raises the failure of a call into another component as a run-time error: its Err.Number
// (the run-time number for an error of the control facility, else the HRESULT) and the
// description of the thread's IErrorInfo.
void CheckCall(HRESULT hr);

// VistaInfo.IsOSVersionVista of a new VistaInfo, released after the call.
bool IsOSVersionVista();

}  // namespace claimfile::Edi837
