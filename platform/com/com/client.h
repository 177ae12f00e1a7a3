// The calling side of COM: a failed call becomes the run-time error that a host would see in Err,
// and objects are created by class id.
#pragma once
#include <windows.h>
#include <objbase.h>

#include "com/ptr.h"

namespace com {

// Raises a failed HRESULT as vb::RuntimeError: the number (the low word of a Visual Basic error,
// the HRESULT itself otherwise) with the description of the thread's error information, or the
// run time's standard description of the number when there is none.
void Check(HRESULT hr);

// Check for the result of CoCreateInstance: a class that cannot be had raises 429.
void CheckCreation(HRESULT hr);

// Check for the result of IDispatch::Invoke: a member the object does not have raises 438, an
// argument of the wrong type 13, a wrong number of arguments 450, as a late-bound call does.
void CheckInvoke(HRESULT hr);

// A new object of the class, asked for Itf; error 429 (can't create object) when the class is not
// registered or cannot be loaded, else the failure of the creation.
template <class Itf>
Ptr<Itf> CreateByClassId(REFCLSID clsid) {
  Ptr<Itf> p;
  CheckCreation(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(Itf), reinterpret_cast<void**>(p.out())));
  return p;
}

}  // namespace com
