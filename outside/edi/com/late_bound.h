// What the component's adapters share: late-bound calls that ask for a result as a method or as
// a property get reach the member either way, and the component number of an element value.
#pragma once
#include <oaidl.h>

#include "com/object.h"

namespace edi {

template <class Logic>
class LateBound : public Logic {
 public:
  using Logic::Logic;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excep, UINT* argErr) noexcept override {
    if (flags == DISPATCH_METHOD || flags == DISPATCH_PROPERTYGET) flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    return Logic::Invoke(id, riid, lcid, flags, params, result, excep, argErr);
  }
};

// The outcome of a direct call as IDispatch::Invoke reports it: a failure with error
// information becomes DISP_E_EXCEPTION with that information in the EXCEPINFO.
HRESULT InvokeOutcome(HRESULT hr, EXCEPINFO* excep) noexcept;

// An optional component number: 0 when missing or empty; 16- or 32-bit, by value or by reference.
// Raises 13 for anything that is not a number.
long ComponentNumber(const VARIANT& v);

}  // namespace edi
