// The HTTPS gateway double (gateway_double.py), as the tests drive it: which of its listeners the
// HTTP component goes through, what it replies to a merchant, and what it received.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace payment::testing {

// One request the double received: its record's lines ("target: /...", "field Name: ...").
struct Received {
  std::vector<std::string> lines;
  // The text after "<key>: " of the first line with that key ("" when none).
  std::string operator[](const std::string& key) const;
};

class GatewayDouble {
 public:
  // Sends the HTTP component of this process through the listener "good", "untrusted" or
  // "wrongname" (the test proxy setting); "" sends it nowhere but to the gateway's own name.
  static void Use(const char* listener);
  // Lowers the HTTP component's time-out (0: no lowering).
  static void LowerTimeout(DWORD milliseconds);
  // The double's reply to a merchant: "<status> <mode>[ <content type>]" and the body.
  static void Reply(const std::wstring& merchant, const std::string& first, const std::string& body);
  // What the double received for a merchant, in order; its record is removed once read, so no
  // request data stays on disk.
  static std::vector<Received> Take(const std::wstring& merchant);
};

}  // namespace payment::testing
