// A recording stand-in of the HTTP component for the payment tests: it notes every call in order
// and answers a send with the reply (or the failure) the test chose.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "exchange.h"
#include "vb/error.h"

namespace payment::testing {

struct GatewayRecord {
  std::vector<std::wstring> calls;  // "timeout 90000", "url <text>", "send <body>"
  int created = 0;                  // components made
  std::wstring reply = L"<Reply/>";
  std::optional<vb::RuntimeError> createFailure, sendFailure;

  ConnectionFactory Factory();
};

class RecordingConnection final : public GatewayConnection {
 public:
  explicit RecordingConnection(GatewayRecord& record) : record_(record) {}
  void SetTimeout(long timeout) override { record_.calls.push_back(L"timeout " + std::to_wstring(timeout)); }
  void SetURL(const std::wstring& url) override { record_.calls.push_back(L"url " + url); }
  std::wstring Send(const std::wstring& body) override {
    record_.calls.push_back(L"send " + body);
    if (record_.sendFailure) throw *record_.sendFailure;
    return record_.reply;
  }

 private:
  GatewayRecord& record_;
};

inline ConnectionFactory GatewayRecord::Factory() {
  return [this]() -> std::unique_ptr<GatewayConnection> {
    ++created;
    if (createFailure) throw *createFailure;
    return std::make_unique<RecordingConnection>(*this);
  };
}

}  // namespace payment::testing
