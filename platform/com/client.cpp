#include "com/client.h"

#include "vb/error.h"

namespace com {

void Check(HRESULT hr) {
  if (SUCCEEDED(hr)) return;
  std::wstring description, source;
  Ptr<IErrorInfo> info;
  if (GetErrorInfo(0, info.out()) == S_OK && info) {
    vb::Bstr d, s;
    if (SUCCEEDED(info->GetDescription(&d.b))) description = d.str();
    if (SUCCEEDED(info->GetSource(&s.b))) source = s.str();
  }
  const long number = HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : static_cast<long>(hr);
  if (description.empty()) description = vb::StandardDescription(number);
  throw vb::RuntimeError(number, description, source);
}

void CheckCreation(HRESULT hr) {
  if (hr == REGDB_E_CLASSNOTREG || hr == CO_E_DLLNOTFOUND || hr == CO_E_ERRORINDLL || hr == E_NOINTERFACE ||
      hr == HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND))
    vb::Raise(vb::errCantCreateObject);
  Check(hr);
}

void CheckInvoke(HRESULT hr) {
  if (hr == DISP_E_MEMBERNOTFOUND) vb::Raise(vb::errNotSupported);
  if (hr == DISP_E_TYPEMISMATCH) vb::Raise(vb::errTypeMismatch);
  if (hr == DISP_E_BADPARAMCOUNT) vb::Raise(vb::errWrongArguments);
  Check(hr);
}

}  // namespace com
