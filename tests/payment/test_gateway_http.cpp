// The HTTP component stand-in on its own: what it refuses before anything is sent, and how it
// reads a reply's bytes.
#include <windows.h>
#include <winhttp.h>

#include <gtest/gtest.h>

#include "gateway_http_client.h"
#include "test_util.h"

namespace gatewayhttp {
namespace {

TEST(GatewayHttpClient, RefusesBeforeSending) {
  struct Case {
    const char* name;
    const wchar_t* url;
    const wchar_t* proxy;  // the test proxy setting, nullptr: unset
    long error;
  } const cases[] = {
      {"plain http", L"http://gateway.example.invalid/x", nullptr, ERROR_WINHTTP_UNRECOGNIZED_SCHEME},
      {"no URL", L"   ", nullptr, ERROR_WINHTTP_INVALID_URL},
      {"not a URL", L"gateway", nullptr, ERROR_WINHTTP_INVALID_URL},
      {"a proxy off the loopback", L"https://gateway.example.invalid/x", L"10.0.0.1:8080", ERROR_WINHTTP_INVALID_OPTION},
      {"a proxy without a port", L"https://gateway.example.invalid/x", L"127.0.0.1", ERROR_WINHTTP_INVALID_OPTION},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetEnvironmentVariableW(L"GATEWAY_HTTP_TEST_PROXY", c.proxy);
    auto client = GatewayHttpClient::New();
    client->URL = c.url;
    EXPECT_VB_ERROR(c.error, client->Post(L"MerchantID=M1"));
  }
  SetEnvironmentVariableW(L"GATEWAY_HTTP_TEST_PROXY", nullptr);
}

TEST(GatewayHttpClient, ATimeOutMustBePositive) {
  auto client = GatewayHttpClient::New();
  EXPECT_EQ(90000, client->Timeout());
  EXPECT_VB_ERROR(5, client->SetTimeout(0));
  EXPECT_VB_ERROR(5, client->SetTimeout(-1));
  client->SetTimeout(2000);
  EXPECT_EQ(2000, client->Timeout());
}

TEST(GatewayHttpClient, RepliesAreDecodedByTheirCharset) {
  struct Case {
    std::string bytes;
    const wchar_t* contentType;
    std::wstring text;
  } const cases[] = {
      {"M\xC3\xBCller", L"text/xml", L"M\u00FCller"},
      {"M\xC3\xBCller", L"", L"M\u00FCller"},
      {"M\xFCller", L"text/xml; charset=iso-8859-1", L"M\u00FCller"},
      {"M\xFCller \x80", L"text/xml; Charset=\"windows-1252\"", L"M\u00FCller \u20AC"},
      {"M\xC3\xBCller", L"text/xml; charset=no-such-set", L"M\u00FCller"},
      {std::string("M\0\xFC\0", 4), L"text/xml; charset=utf-16", L"M\u00FC"},
      // No charset: the reply's own byte-order mark or XML declaration.
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>M\xFCller</r>", L"text/xml",
       L"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>M\u00FCller</r>"},
      {"<?xml version='1.0' encoding = 'windows-1252' ?><r>\x80</r>", L"", L"<?xml version='1.0' encoding = 'windows-1252' ?><r>\u20AC</r>"},
      {"\xEF\xBB\xBFM\xC3\xBCller", L"text/xml", L"M\u00FCller"},
      {std::string("\xFE\xFF\0M\0\xFC", 6), L"text/xml", L"M\u00FC"},
      {"<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\xC3\xBC", L"text/xml; charset=utf-8",
       L"<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\u00FC"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, DecodeReply(c.bytes, c.contentType)) << testing::PrintToString(c.contentType);
}

}  // namespace
}  // namespace gatewayhttp
