// The COM adapter of GatewayHttpClient.
#pragma once
#include "gateway_http_client.h"

namespace gatewayhttp {

class GatewayHttpClientCom final : public GatewayHttpClient {
 public:
  HRESULT STDMETHODCALLTYPE put_Timeout(long milliseconds) noexcept override;
  HRESULT STDMETHODCALLTYPE put_URL(BSTR url) noexcept override;
  HRESULT STDMETHODCALLTYPE Send(VARIANT* body, VARIANT requestHeaders, VARIANT* reply, VARIANT replyHeaders,
                                 long flags, long reserved) noexcept override;
};

}  // namespace gatewayhttp
