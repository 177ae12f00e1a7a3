// Times card sales through the registered fennick98.dll and HTTP component against the gateway
// double, beside bare WinHTTP POSTs of the same body to the same place (through the same test
// proxy, certificate checks on, one connection per request), and prints the elapsed time per call
// of each (after one untimed call of each). scripts/bench-payment starts the double and sets the proxy.
//   bench_payment [sales]
#include <windows.h>
#include <winhttp.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "fennick98.h"
#include "gateway_base.h"

namespace {

double Now() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

BSTR Text(const wchar_t* s) { return SysAllocString(s); }

// One sale through fennick98; whether the gateway approved it.
bool Sale(_PostTransaction* post) {
  BSTR args[] = {Text(L"Bench"), Text(L"K200"), Text(L"12.50"), Text(L"4111111111111111"), Text(L"Ann"),
                 Text(L"1225"),  Text(L"R7"),   Text(L"Main"),  Text(L"84101"),            Text(L"123")};
  _BankCardDebitStatus* status = nullptr;
  bool approved = false;
  if (SUCCEEDED(post->BankCardDebit(&args[0], &args[1], &args[2], &args[3], &args[4], &args[5], &args[6], &args[7],
                                    &args[8], &args[9], &status)) &&
      status) {
    BSTR s = nullptr;
    status->get_Status(&s);
    approved = s && std::wcscmp(s, L"approved") == 0;
    SysFreeString(s);
    status->Release();
  }
  for (BSTR b : args) SysFreeString(b);
  return approved;
}

// The same request with WinHTTP alone; whether a reply came.
bool BarePost(const std::wstring& host, const std::wstring& proxy) {
  static const char body[] =
      "MerchantID=Bench&RegKey=K200&Amount=12.50&SaleTaxAmount=0&PONumber=&CardNumber=4111111111111111"
      "&CardHolderName=Ann&Expiration=1225&CVV2=123&RefID=R7&Address=Main&ZipCode=84101&UserID=0&TrackData="
      "&UsrDef1=&UsrDef2=&UsrDef3=&UsrDef4=";
  HINTERNET s = WinHttpOpen(L"bench", WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy.c_str(), WINHTTP_NO_PROXY_BYPASS, 0);
  HINTERNET c = s ? WinHttpConnect(s, host.c_str(), INTERNET_DEFAULT_HTTPS_PORT, 0) : nullptr;
  HINTERNET r = c ? WinHttpOpenRequest(c, L"POST", L"/CreditCard.asmx/CreditCardSaleAll", nullptr, WINHTTP_NO_REFERER,
                                       WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE)
                  : nullptr;
  DWORD off = WINHTTP_DISABLE_KEEP_ALIVE;
  bool ok = r && WinHttpSetOption(r, WINHTTP_OPTION_DISABLE_FEATURE, &off, sizeof off) &&
            WinHttpSendRequest(r, L"Content-Type: application/x-www-form-urlencoded\r\n", static_cast<DWORD>(-1L),
                               const_cast<char*>(body), sizeof body - 1, sizeof body - 1, 0) &&
            WinHttpReceiveResponse(r, nullptr);
  std::string reply;
  for (DWORD n = 0; ok && WinHttpQueryDataAvailable(r, &n) && n;) {
    std::string chunk(n, '\0');
    DWORD got = 0;
    ok = WinHttpReadData(r, chunk.data(), n, &got);
    reply.append(chunk, 0, got);
  }
  for (HINTERNET h : {r, c, s})
    if (h) WinHttpCloseHandle(h);
  return ok && !reply.empty();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int sales = argc > 1 ? _wtoi(argv[1]) : 100;
  wchar_t proxy[64] = L"";
  if (sales <= 0 || !GetEnvironmentVariableW(L"GATEWAY_HTTP_TEST_PROXY", proxy, 64)) {
    std::fwprintf(stderr, L"bench_payment: needs a positive count and GATEWAY_HTTP_TEST_PROXY\n");
    return 2;
  }
  std::wstring host = payment::kGatewayBase + 8;  // after "https://"
  host = host.substr(0, host.find_first_of(L":/"));
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  _PostTransaction* post = nullptr;
  if (FAILED(CoCreateInstance(CLSID_PostTransaction, nullptr, CLSCTX_INPROC_SERVER, IID__PostTransaction,
                              reinterpret_cast<void**>(&post)))) {
    std::fwprintf(stderr, L"bench_payment: fennick98.dll is not registered\n");
    return 1;
  }
  // One of each first, so that neither is timed loading what the other has loaded.
  Sale(post);
  BarePost(host, proxy);
  int approved = 0, replied = 0;
  double t0 = Now();
  for (int i = 0; i < sales; ++i) approved += Sale(post);
  double t1 = Now();
  for (int i = 0; i < sales; ++i) replied += BarePost(host, proxy);
  double t2 = Now();
  post->Release();
  CoUninitialize();
  std::printf("%d sales through fennick98.dll: %.1f ms per call (%d approved)\n", sales, (t1 - t0) * 1000 / sales,
              approved);
  std::printf("%d bare WinHTTP POSTs:          %.1f ms per call (%d replied)\n", sales, (t2 - t1) * 1000 / sales,
              replied);
  return approved == sales && replied == sales ? 0 : 1;
}
