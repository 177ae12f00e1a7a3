#include "gateway_http_client_com.h"

#include "vb/error.h"

namespace gatewayhttp {

namespace {

bool LeftOut(const VARIANT& v) {
  return v.vt == VT_EMPTY || (v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND);
}

// The Variant a by-reference Variant argument stands for.
VARIANT* Target(VARIANT* v) { return v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal ? v->pvarVal : v; }

std::wstring TextOf(VARIANT* v) {
  VARIANT* t = Target(v);
  if (t->vt == VT_BSTR) return com::FromBstr(t->bstrVal);
  if (t->vt == (VT_BYREF | VT_BSTR) && t->pbstrVal) return com::FromBstr(*t->pbstrVal);
  com::Variant text;
  if (FAILED(VariantChangeType(&text, t, 0, VT_BSTR))) vb::Raise(vb::errTypeMismatch);
  return com::FromBstr(text.bstrVal);
}

void StoreText(VARIANT* v, const std::wstring& text) {
  BSTR b = com::ToBstr(text);
  VARIANT* t = Target(v);
  if (t->vt == (VT_BYREF | VT_BSTR) && t->pbstrVal) {
    SysFreeString(*t->pbstrVal);
    *t->pbstrVal = b;
    return;
  }
  VariantClear(t);
  t->vt = VT_BSTR;
  t->bstrVal = b;
}

}  // namespace

com::Ptr<GatewayHttpClient> GatewayHttpClient::New() { return com::Make<GatewayHttpClientCom>(); }

HRESULT GatewayHttpClientCom::put_Timeout(long milliseconds) noexcept {
  return Run([&] { SetTimeout(milliseconds); });
}

HRESULT GatewayHttpClientCom::put_URL(BSTR url) noexcept {
  return Run([&] { URL = com::FromBstr(url); });
}

HRESULT GatewayHttpClientCom::Send(VARIANT* body, VARIANT requestHeaders, VARIANT* reply, VARIANT replyHeaders,
                                   long flags, long reserved) noexcept {
  if (!body || !reply) return E_POINTER;
  return Run([&] {
    if (!LeftOut(requestHeaders) || !LeftOut(replyHeaders) || flags || reserved) vb::Raise(vb::errInvalidCall);
    StoreText(reply, Post(TextOf(body)));
  });
}

}  // namespace gatewayhttp
