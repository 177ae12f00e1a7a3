// The HTTP client component of the payment client: posts one form-encoded body to an https URL
// over WinHTTP and answers the reply's text.
#pragma once
#include <string>

#include "com/object.h"
#include "gatewayhttp.h"

namespace gatewayhttp {

// Failure numbers of an exchange besides WinHTTP's own.
enum : long {
  errTimedOut = 9060,  // the exchange did not end within the time-out
};

// The longest reply taken, in bytes; a longer one fails with ERROR_WINHTTP_RESPONSE_DRAIN_OVERFLOW.
constexpr size_t kMaxReplyBytes = 1u << 20;

class GatewayHttpClient : public com::Object<GatewayHttpClient, IGatewayHttpClient> {
 public:
  static bool AnswersInterface(REFIID iid) { return iid == IID_IGatewayHttpClient; }
  static com::Ptr<GatewayHttpClient> New();

  // The time-out in milliseconds: a value that is not positive raises 5.
  void SetTimeout(long milliseconds);
  long Timeout() const { return timeout_; }

  std::wstring URL;

  // Posts the body (sent as UTF-8, Content-Type application/x-www-form-urlencoded) to URL and
  // returns the reply's text, whatever the HTTP status. Redirects are not followed: a 3xx reply's
  // body is the reply. Raises the failure numbers of gatewayhttp.idl.
  std::wstring Post(const std::wstring& body) const;

 private:
  long timeout_ = 90000;
};

// The text of a reply's bytes under the charset of its Content-Type header; without one, under the
// reply's own byte-order mark or XML declaration, else UTF-8.
std::wstring DecodeReply(const std::string& bytes, const std::wstring& contentType);

}  // namespace gatewayhttp
