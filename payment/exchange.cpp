#include "exchange.h"

#include <new>

#include "gateway_base.h"
#include "gatewayhttp.h"
#include "vb/error.h"

namespace payment {

namespace {

// Raises the failure of a call into the component, with its error information's description.
void Check(HRESULT hr) {
  if (SUCCEEDED(hr)) return;
  long number = HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : static_cast<long>(hr);
  std::wstring description;
  com::Ptr<IErrorInfo> info;
  if (GetErrorInfo(0, info.out()) == S_OK && info) {
    vb::Bstr text;
    if (SUCCEEDED(info->GetDescription(&text.b))) description = text.str();
  }
  if (description.empty()) description = vb::Win32ErrorText(static_cast<unsigned long>(hr));
  throw vb::RuntimeError(number, description);
}

class HttpComponent final : public GatewayConnection {
 public:
  HttpComponent() {
    if (FAILED(CoCreateInstance(CLSID_GatewayHttpClient, nullptr, CLSCTX_INPROC_SERVER, IID_IGatewayHttpClient,
                                reinterpret_cast<void**>(http_.out()))))
      vb::Raise(vb::errCantCreateObject);
  }
  void SetTimeout(long timeout) override { Check(http_->put_Timeout(timeout)); }
  void SetURL(const std::wstring& url) override {
    vb::Bstr text;
    text.b = com::ToBstr(url);
    Check(http_->put_URL(text.b));
  }
  std::wstring Send(const std::wstring& body) override {
    com::Variant text, reply, left1, left2;
    text.vt = VT_BSTR;
    text.bstrVal = com::ToBstr(body);
    left1.vt = left2.vt = VT_ERROR;
    left1.scode = left2.scode = DISP_E_PARAMNOTFOUND;
    Check(http_->Send(&text, left1, &reply, left2, 0, 0));
    if (reply.vt != VT_BSTR) Check(VariantChangeType(&reply, &reply, 0, VT_BSTR));
    return com::FromBstr(reply.bstrVal);
  }

 private:
  com::Ptr<IGatewayHttpClient> http_;
};

}  // namespace

std::unique_ptr<GatewayConnection> CreateGatewayHttpClient() { return std::make_unique<HttpComponent>(); }

std::optional<Failure> RunExchange(const ConnectionFactory& connect, const std::function<GatewayRequest()>& prepare,
                                   const std::function<void(const ReplyDocument&)>& parse) {
  try {
    GatewayRequest request = prepare();
    std::unique_ptr<GatewayConnection> http = connect();
    http->SetTimeout(kGatewayTimeout);
    http->SetURL(kGatewayBase + request.path);
    std::wstring reply = http->Send(request.body);
    parse(ReplyDocument::Load(reply));
    return std::nullopt;
  } catch (const vb::RuntimeError& e) {
    return Failure{e.number(), e.description()};
  } catch (const std::bad_alloc&) {
    return Failure{vb::errOutOfMemory, vb::StandardDescription(vb::errOutOfMemory)};
  }
}

}  // namespace payment
