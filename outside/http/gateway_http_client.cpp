#include "gateway_http_client.h"

#include <windows.h>
#include <winhttp.h>

#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>

#include "vb/error.h"

namespace gatewayhttp {

namespace {

constexpr DWORD kWsaTimedOut = 10060;  // Wine's WinHTTP lets the Winsock time-out through

// Test seams (never set outside the tests): a loopback HTTP proxy that every request goes
// through, and a shorter time-out.
constexpr wchar_t kTestProxy[] = L"GATEWAY_HTTP_TEST_PROXY";
constexpr wchar_t kTestTimeout[] = L"GATEWAY_HTTP_TEST_TIMEOUT_MS";

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[64];
  DWORD n = GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(std::size(buffer)));
  return n && n < std::size(buffer) ? std::wstring(buffer, n) : std::wstring();
}

// The proxy of the test seam, "127.a.b.c:port", or "" when it is not set.
std::wstring TestProxy() {
  std::wstring value = Environment(kTestProxy);
  if (value.empty()) return value;
  unsigned a, b, c, d, port;
  wchar_t extra;
  if (std::swscanf(value.c_str(), L"%3u.%3u.%3u.%3u:%5u%lc", &a, &b, &c, &d, &port, &extra) != 5 || a != 127 ||
      b > 255 || c > 255 || d > 255 || port == 0 || port > 65535 || !std::iswdigit(value[0]))
    throw vb::RuntimeError(ERROR_WINHTTP_INVALID_OPTION, L"The test proxy setting names no loopback address and port");
  return value;
}

DWORD EffectiveTimeout(long timeout) {
  std::wstring lower = Environment(kTestTimeout);
  wchar_t* end = nullptr;
  unsigned long n = lower.empty() ? 0 : std::wcstoul(lower.c_str(), &end, 10);
  if (n > 0 && end && !*end && n < static_cast<unsigned long>(timeout)) return static_cast<DWORD>(n);
  return static_cast<DWORD>(timeout);
}

// The time left of the whole exchange.
class Deadline {
 public:
  explicit Deadline(DWORD limit) : start_(GetTickCount()), limit_(limit) {}
  DWORD Left() const {
    DWORD spent = GetTickCount() - start_;  // right across the counter's wrap (XP has no 64-bit count)
    return spent >= limit_ ? 0 : limit_ - spent;
  }
  // Whether the time is (all but) spent: a step that failed then failed on the time-out, whatever
  // number WinHTTP gave (Wine reports a TLS handshake that runs out as a secure channel error).
  bool Spent() const { return Left() <= kSlack; }

 private:
  static constexpr DWORD kSlack = 50;
  DWORD start_;
  DWORD limit_;
};

std::wstring Describe(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_INVALID_URL: return L"The URL is invalid";
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME: return L"The URL is not an https URL";
    case ERROR_WINHTTP_NAME_NOT_RESOLVED: return L"The server name could not be resolved";
    case ERROR_WINHTTP_CANNOT_CONNECT: return L"A connection with the server could not be established";
    case ERROR_WINHTTP_CONNECTION_ERROR: return L"The connection with the server was reset or terminated";
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
    case ERROR_WINHTTP_SECURE_FAILURE: return L"The secure connection failed: the server's certificate was not accepted";
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE: return L"The server's response could not be read";
    case ERROR_WINHTTP_RESPONSE_DRAIN_OVERFLOW: return L"The reply is larger than 1 MiB";
    default: return L"The HTTP request failed (WinHTTP error " + std::to_wstring(error) + L")";
  }
}

// Raises the failure of a WinHTTP call that set error.
[[noreturn]] void Fail(DWORD error, const Deadline& deadline) {
  if (error == ERROR_WINHTTP_TIMEOUT || error == kWsaTimedOut || deadline.Spent())
    throw vb::RuntimeError(errTimedOut, L"The request timed out");
  if (error >= WINHTTP_ERROR_BASE && error <= WINHTTP_ERROR_LAST)
    throw vb::RuntimeError(static_cast<long>(error), Describe(error));
  throw vb::RuntimeError(ERROR_WINHTTP_INTERNAL_ERROR,
                         L"The HTTP request failed (system error " + std::to_wstring(error) + L")");
}

struct Handle {
  HINTERNET h = nullptr;
  ~Handle() {
    if (h) WinHttpCloseHandle(h);
  }
};

// Gives the next step of the request the time that is left, for every WinHTTP time-out (Wine
// waits for the response headers by the receive-response time-out alone).
void Arm(HINTERNET request, const Deadline& deadline) {
  DWORD left = deadline.Left();
  if (!left) throw vb::RuntimeError(errTimedOut, L"The request timed out");
  int ms = static_cast<int>(left);
  if (!WinHttpSetTimeouts(request, ms, ms, ms, ms) ||
      !WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &left, sizeof left))
    Fail(GetLastError(), deadline);
}

void SetDword(HINTERNET h, DWORD option, DWORD value, const Deadline& deadline) {
  if (!WinHttpSetOption(h, option, &value, sizeof value)) Fail(GetLastError(), deadline);
}

std::wstring TrimBlanks(const std::wstring& s) {
  const wchar_t* blanks = L" \t\r\n";
  size_t first = s.find_first_not_of(blanks);
  if (first == std::wstring::npos) return L"";
  return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

std::string Utf8(const std::wstring& s) {
  if (s.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

// The code page of a charset name; CP_UTF8 for a name it does not know.
UINT CodePageOf(const std::wstring& charset) {
  struct Name {
    const wchar_t* name;
    UINT codePage;
  } static const kNames[] = {
      {L"utf-8", CP_UTF8}, {L"utf8", CP_UTF8}, {L"iso-8859-1", 28591}, {L"latin1", 28591},
      {L"us-ascii", 20127}, {L"utf-16", 1200},  {L"utf-16le", 1200},   {L"windows-1252", 1252},
      {L"utf-16be", 1201},
  };
  for (const Name& n : kNames)
    if (charset == n.name) return n.codePage;
  if (charset.rfind(L"windows-", 0) == 0) {
    UINT cp = static_cast<UINT>(std::wcstoul(charset.c_str() + 8, nullptr, 10));
    if (cp && IsValidCodePage(cp)) return cp;
  }
  return CP_UTF8;
}

std::wstring HeaderText(HINTERNET request, DWORD query) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || !size) return L"";
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size, WINHTTP_NO_HEADER_INDEX))
    return L"";
  text.resize(size / sizeof(wchar_t));
  return text;
}

}  // namespace

namespace {

constexpr UINT kUtf16 = 1200, kUtf16BigEndian = 1201;

// The charset parameter of a Content-Type, lower case; "" when there is none.
std::wstring CharsetOf(const std::wstring& contentType) {
  std::wstring type = Lower(contentType);
  size_t at = type.find(L"charset=");
  if (at == std::wstring::npos) return L"";
  std::wstring charset = type.substr(at + 8);
  charset = TrimBlanks(charset.substr(0, charset.find(L';')));
  if (charset.size() >= 2 && charset.front() == L'"' && charset.back() == L'"')
    charset = charset.substr(1, charset.size() - 2);
  return charset;
}

// The encoding that the bytes give themselves, for a reply whose Content-Type names none: a
// byte-order mark (skipped), UTF-16 by the shape of "<?", or the XML declaration's encoding;
// UTF-8 otherwise.
UINT SelfDeclaredCodePage(const std::string& bytes, size_t& skip) {
  skip = 0;
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) {
    skip = 3;
    return CP_UTF8;
  }
  if (bytes.rfind("\xFF\xFE", 0) == 0 || bytes.rfind("\xFE\xFF", 0) == 0) {
    skip = 2;
    return bytes[0] == '\xFF' ? kUtf16 : kUtf16BigEndian;
  }
  if (bytes.rfind(std::string("<\0?\0", 4), 0) == 0) return kUtf16;
  if (bytes.rfind(std::string("\0<\0?", 4), 0) == 0) return kUtf16BigEndian;
  if (bytes.rfind("<?xml", 0) != 0) return CP_UTF8;
  const std::string declaration = bytes.substr(0, bytes.find("?>"));
  size_t at = declaration.find("encoding");
  if (at == std::string::npos) return CP_UTF8;
  at = declaration.find_first_not_of(" \t\r\n", at + 8);
  if (at == std::string::npos || declaration[at] != '=') return CP_UTF8;
  at = declaration.find_first_not_of(" \t\r\n", at + 1);
  if (at == std::string::npos || (declaration[at] != '"' && declaration[at] != '\'')) return CP_UTF8;
  const size_t end = declaration.find(declaration[at], at + 1);
  if (end == std::string::npos) return CP_UTF8;
  std::wstring name;
  for (size_t i = at + 1; i < end; ++i) name += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
  const UINT cp = CodePageOf(Lower(name));
  // A declaration read as single bytes does not stand in UTF-16, whatever it says.
  return cp == kUtf16 || cp == kUtf16BigEndian ? CP_UTF8 : cp;
}

}  // namespace

std::wstring DecodeReply(const std::string& bytes, const std::wstring& contentType) {
  const std::wstring charset = CharsetOf(contentType);
  size_t skip = 0;
  const UINT cp = charset.empty() ? SelfDeclaredCodePage(bytes, skip) : CodePageOf(charset);
  if (bytes.size() <= skip) return L"";
  const char* data = bytes.data() + skip;
  const size_t size = bytes.size() - skip;
  if (cp == kUtf16 || cp == kUtf16BigEndian) {
    std::wstring out(size / sizeof(wchar_t), L'\0');
    std::memcpy(out.data(), data, out.size() * sizeof(wchar_t));
    if (cp == kUtf16BigEndian)
      for (wchar_t& c : out) c = static_cast<wchar_t>(((c & 0xFF) << 8) | ((c >> 8) & 0xFF));
    return out;
  }
  int n = MultiByteToWideChar(cp, 0, data, static_cast<int>(size), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(cp, 0, data, static_cast<int>(size), out.data(), n);
  return out;
}

void GatewayHttpClient::SetTimeout(long milliseconds) {
  if (milliseconds <= 0) vb::Raise(vb::errInvalidCall);
  timeout_ = milliseconds;
}

std::wstring GatewayHttpClient::Post(const std::wstring& body) const {
  const Deadline deadline(EffectiveTimeout(timeout_));
  const std::wstring url = TrimBlanks(URL);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (url.empty() || !WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
    throw vb::RuntimeError(ERROR_WINHTTP_INVALID_URL, Describe(ERROR_WINHTTP_INVALID_URL));
  if (parts.nScheme != INTERNET_SCHEME_HTTPS)
    throw vb::RuntimeError(ERROR_WINHTTP_UNRECOGNIZED_SCHEME, Describe(ERROR_WINHTTP_UNRECOGNIZED_SCHEME));
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath ? parts.lpszUrlPath : L"", parts.dwUrlPathLength);
  if (parts.lpszExtraInfo) path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";
  const std::wstring proxy = TestProxy();

  Handle session{WinHttpOpen(L"gatewayhttp/1.0", proxy.empty() ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_NAMED_PROXY,
                             proxy.empty() ? WINHTTP_NO_PROXY_NAME : proxy.c_str(), WINHTTP_NO_PROXY_BYPASS, 0)};
  if (!session.h) Fail(GetLastError(), deadline);
  Handle connection{WinHttpConnect(session.h, host.c_str(), parts.nPort, 0)};
  if (!connection.h) Fail(GetLastError(), deadline);
  Handle request{WinHttpOpenRequest(connection.h, L"POST", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                    WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE)};
  if (!request.h) Fail(GetLastError(), deadline);
  // One connection per request, never pooled; a redirect's body is the reply (Wine would post
  // the body again to a 307's Location).
  SetDword(request.h, WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_KEEP_ALIVE | WINHTTP_DISABLE_REDIRECTS, deadline);
  SetDword(request.h, WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_NEVER, deadline);

  std::string payload = Utf8(body);
  Arm(request.h, deadline);
  if (!WinHttpSendRequest(request.h, L"Content-Type: application/x-www-form-urlencoded\r\n", static_cast<DWORD>(-1L),
                          payload.empty() ? WINHTTP_NO_REQUEST_DATA : payload.data(), static_cast<DWORD>(payload.size()),
                          static_cast<DWORD>(payload.size()), 0))
    Fail(GetLastError(), deadline);
  Arm(request.h, deadline);
  if (!WinHttpReceiveResponse(request.h, nullptr)) Fail(GetLastError(), deadline);

  std::string reply;
  for (;;) {
    Arm(request.h, deadline);
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request.h, &available)) Fail(GetLastError(), deadline);
    if (!available) break;
    if (reply.size() + available > kMaxReplyBytes)
      throw vb::RuntimeError(ERROR_WINHTTP_RESPONSE_DRAIN_OVERFLOW, Describe(ERROR_WINHTTP_RESPONSE_DRAIN_OVERFLOW));
    size_t at = reply.size();
    reply.resize(at + available);
    DWORD got = 0;
    Arm(request.h, deadline);
    if (!WinHttpReadData(request.h, reply.data() + at, available, &got)) Fail(GetLastError(), deadline);
    reply.resize(at + got);
  }
  return DecodeReply(reply, HeaderText(request.h, WINHTTP_QUERY_CONTENT_TYPE));
}

}  // namespace gatewayhttp
