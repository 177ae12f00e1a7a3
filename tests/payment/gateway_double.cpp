#include "gateway_double.h"

#include <gtest/gtest.h>

#include <sstream>

#include "test_util.h"

namespace payment::testing {

namespace {

const std::wstring kDir = L"" GATEWAY_DOUBLE_DIR;

std::string Port(const char* listener) {
  std::istringstream ports(testutil::ReadBytes(kDir + L"/ports"));
  std::string line, prefix = std::string(listener) + "=";
  while (std::getline(ports, line))
    if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
  ADD_FAILURE() << "the gateway double has no listener " << listener << " (is it running?)";
  return "1";
}

}  // namespace

std::string Received::operator[](const std::string& key) const {
  for (const std::string& line : lines)
    if (line.rfind(key + ": ", 0) == 0) return line.substr(key.size() + 2);
  return "";
}

void GatewayDouble::Use(const char* listener) {
  if (!*listener) {
    SetEnvironmentVariableW(L"GATEWAY_HTTP_TEST_PROXY", nullptr);
    return;
  }
  std::string proxy = "127.0.0.1:" + Port(listener);
  SetEnvironmentVariableA("GATEWAY_HTTP_TEST_PROXY", proxy.c_str());
}

void GatewayDouble::LowerTimeout(DWORD milliseconds) {
  SetEnvironmentVariableA("GATEWAY_HTTP_TEST_TIMEOUT_MS", milliseconds ? std::to_string(milliseconds).c_str() : nullptr);
}

void GatewayDouble::Reply(const std::wstring& merchant, const std::string& first, const std::string& body) {
  testutil::WriteBytes(kDir + L"/replies/" + merchant, first + "\n" + body);
}

std::vector<Received> GatewayDouble::Take(const std::wstring& merchant) {
  const std::wstring path = kDir + L"/records/" + merchant;
  std::istringstream text(testutil::ReadBytes(path));
  DeleteFileW(path.c_str());
  DeleteFileW((kDir + L"/replies/" + merchant).c_str());
  std::vector<Received> all(1);
  std::string line;
  while (std::getline(text, line)) {
    if (line == "end") all.emplace_back();
    else all.back().lines.push_back(line);
  }
  all.pop_back();
  return all;
}

}  // namespace payment::testing
