#include "form_body.h"

#include <windows.h>

namespace payment {

std::wstring FormEncode(const std::wstring& value) {
  std::string bytes;
  if (!value.empty()) {
    int n = WideCharToMultiByte(CP_UTF8, 0, value.data(), static_cast<int>(value.size()), nullptr, 0, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(n));
    WideCharToMultiByte(CP_UTF8, 0, value.data(), static_cast<int>(value.size()), bytes.data(), n, nullptr, nullptr);
  }
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out;
  for (unsigned char b : bytes) {
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' || b == '.' || b == '_') {
      out += static_cast<wchar_t>(b);
    } else if (b == ' ') {
      out += L'+';
    } else {
      out += L'%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

FormBody& FormBody::Pair(const wchar_t* key, const std::wstring& value) {
  Fixed(key);
  text_ += L'=';
  text_ += FormEncode(value);
  return *this;
}

FormBody& FormBody::Fixed(const wchar_t* pair) {
  if (!text_.empty()) text_ += L'&';
  text_ += pair;
  return *this;
}

}  // namespace payment
