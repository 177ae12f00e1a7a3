// Late-bound calls by name, as a script host makes them, for the tests of the COM servers.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace testutil {

// Looks the name up and invokes it with the arguments in their natural order (a property put
// passes its value as the named DISPID_PROPERTYPUT argument). Returns Invoke's HRESULT; when
// `ex` is given it receives the exception information of a DISP_E_EXCEPTION (the caller frees
// its strings).
HRESULT Invoke(IDispatch* d, const std::wstring& name, WORD flags, std::vector<VARIANT> args, VARIANT* result,
               EXCEPINFO* ex = nullptr);

// The same by dispatch id.
HRESULT Invoke(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result,
               EXCEPINFO* ex = nullptr);
// Invoke by dispatch id; the result is the HRESULT, or the exception's scode for DISP_E_EXCEPTION.
HRESULT CallId(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result = nullptr);

// The same call by name; the result is the error number a host sees in Err.Number: 0 on success, the
// run-time number (5, 91, 457 ...) for an error of the control facility, else the HRESULT.
long Call(IDispatch* d, const std::wstring& name, WORD flags, std::vector<VARIANT> args, VARIANT* result);

// Arguments. A text argument's BSTR lives as long as the test process.
VARIANT Str(const wchar_t* s);
VARIANT Long(long l);
VARIANT I2(short n);
VARIANT Bool(bool b);
// A by-reference Variant pointing at inner, as a script passes a variable.
VARIANT Ref(VARIANT* inner);

}  // namespace testutil
