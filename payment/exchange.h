// The gateway exchange that every payment operation runs: validate, send one request through the
// outside HTTP component, load the reply and parse it, and turn any failure on the way into a
// status object of the operation's class.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "com/ptr.h"
#include "reply.h"

namespace payment {

// The time-out set on the HTTP component before each request.
constexpr long kGatewayTimeout = 90000;

// The outside HTTP component, as one operation call drives it. Its failures are run-time errors
// with the component's number and description.
class GatewayConnection {
 public:
  virtual ~GatewayConnection() = default;
  virtual void SetTimeout(long timeout) = 0;
  virtual void SetURL(const std::wstring& url) = 0;
  // Sends the body and returns the reply's text.
  virtual std::wstring Send(const std::wstring& body) = 0;
};

// Makes a new component for one call.
using ConnectionFactory = std::function<std::unique_ptr<GatewayConnection>()>;

// The registered GatewayHttpClient (error 429 when it cannot be created). A failing call's
// HRESULT gives the error number: n for 0x800Annnn, else the HRESULT itself.
std::unique_ptr<GatewayConnection> CreateGatewayHttpClient();

// One request: a path under the gateway's base address and the body.
struct GatewayRequest {
  std::wstring path;
  std::wstring body;
};

struct Failure {
  long number;
  std::wstring description;
};

// The exchange: prepare() validates and builds the request (nothing is created before it
// returns), then a new component gets the time-out, the URL and one send, and parse() reads the
// loaded reply. Returns the failure of any step, if one failed.
std::optional<Failure> RunExchange(const ConnectionFactory& connect, const std::function<GatewayRequest()>& prepare,
                                   const std::function<void(const ReplyDocument&)>& parse);

// The status of a failed operation: its Message, then its Status, set by the failure's number.
template <class S>
com::Ptr<S> FailureStatus(const Failure& failure) {
  auto s = S::New();
  switch (failure.number) {
    case 9060: s->Message = L"timed out"; break;
    case 12007: s->Message = L"named not resolved"; break;
    default: s->Message = failure.description;
  }
  s->Status = failure.number >= 6000 && failure.number <= 6099 ? L"ignored" : L"unknown";
  return s;
}

template <class S>
com::Ptr<S> Exchange(const ConnectionFactory& connect, const std::function<GatewayRequest()>& prepare,
                     com::Ptr<S> (*parse)(const ReplyDocument&)) {
  com::Ptr<S> result;
  if (auto failure = RunExchange(connect, prepare, [&](const ReplyDocument& reply) { result = parse(reply); }))
    return FailureStatus<S>(*failure);
  return result;
}

}  // namespace payment
