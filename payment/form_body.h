// The body of a gateway request: key=value pairs joined by "&", each value percent-encoded as
// form data from its UTF-8 bytes.
#pragma once
#include <string>

namespace payment {

// A value as form data: ASCII letters, digits, "-", "." and "_" stay, a blank becomes "+", every
// other byte of its UTF-8 form becomes %XX (upper-case hex). Plain values come out unchanged.
std::wstring FormEncode(const std::wstring& value);

class FormBody {
 public:
  // Appends key=value with the value encoded ("&" before every pair but the first).
  FormBody& Pair(const wchar_t* key, const std::wstring& value);
  // Appends a fixed pair, written as it stands ("SaleTaxAmount=0", "PONumber=").
  FormBody& Fixed(const wchar_t* pair);
  const std::wstring& text() const { return text_; }

 private:
  std::wstring text_;
};

}  // namespace payment
