#include "dispatch_call.h"

#include <oleauto.h>

#include <algorithm>

#include "com/ptr.h"

namespace testutil {

HRESULT Invoke(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result, EXCEPINFO* ex) {
  std::reverse(args.begin(), args.end());
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS p{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    p.rgdispidNamedArgs = &put;
    p.cNamedArgs = 1;
  }
  EXCEPINFO local{};
  com::Variant discard;
  HRESULT hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &p, result ? result : &discard,
                         ex ? ex : &local, nullptr);
  SysFreeString(local.bstrSource);
  SysFreeString(local.bstrDescription);
  SysFreeString(local.bstrHelpFile);
  return hr;
}

HRESULT Invoke(IDispatch* d, const std::wstring& name, WORD flags, std::vector<VARIANT> args, VARIANT* result,
               EXCEPINFO* ex) {
  DISPID id;
  LPOLESTR n = const_cast<LPOLESTR>(name.c_str());
  HRESULT hr = d->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  return Invoke(d, id, flags, std::move(args), result, ex);
}

HRESULT CallId(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT> args, VARIANT* result) {
  EXCEPINFO ex{};
  HRESULT hr = Invoke(d, id, flags, std::move(args), result, &ex);
  SysFreeString(ex.bstrSource);
  SysFreeString(ex.bstrDescription);
  SysFreeString(ex.bstrHelpFile);
  return hr == DISP_E_EXCEPTION ? ex.scode : hr;
}

long Call(IDispatch* d, const std::wstring& name, WORD flags, std::vector<VARIANT> args, VARIANT* result) {
  EXCEPINFO ex{};
  HRESULT hr = Invoke(d, name, flags, std::move(args), result, &ex);
  SysFreeString(ex.bstrSource);
  SysFreeString(ex.bstrDescription);
  SysFreeString(ex.bstrHelpFile);
  if (hr == DISP_E_EXCEPTION) hr = ex.scode;
  if (SUCCEEDED(hr)) return 0;
  return HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : hr;
}

VARIANT Str(const wchar_t* s) {
  VARIANT v;
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(s);
  return v;
}

VARIANT Long(long l) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = l;
  return v;
}

VARIANT I2(short n) {
  VARIANT v;
  v.vt = VT_I2;
  v.iVal = n;
  return v;
}

VARIANT Ref(VARIANT* inner) {
  VARIANT v;
  v.vt = VT_BYREF | VT_VARIANT;
  v.pvarVal = inner;
  return v;
}

VARIANT Bool(bool b) {
  VARIANT v;
  v.vt = VT_BOOL;
  v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

}  // namespace testutil
