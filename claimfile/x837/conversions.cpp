#include "x837/conversions.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "vb/automation.h"
#include "vb/convert.h"
#include "x837/edi837.h"

namespace claimfile::Edi837 {

namespace {

// Drops the trailing zeros of a fixed-point text, and the full stop when nothing follows it.
std::wstring WithoutTrailingZeros(std::wstring s) {
  if (s.find(L'.') == std::wstring::npos) return s;
  while (s.back() == L'0') s.pop_back();
  if (s.back() == L'.') s.pop_back();
  return s;
}

}  // namespace

namespace {

// The answer kept under the pattern and the text, made by make() when there is none.
template <class Make>
const std::wstring& Kept(std::wstring_view pattern, const std::wstring& text, Make&& make) {
  std::wstring key(pattern);
  key += L'\x1F';
  key += text;
  auto& kept = State().dateTexts;
  auto it = kept.find(key);
  if (it == kept.end()) it = kept.emplace(std::move(key), make()).first;
  return it->second;
}

}  // namespace

std::wstring DateText(const std::wstring& text, const std::wstring& pattern) {
  if (text.empty()) return text;
  return Kept(pattern, text, [&] {
    if (!vb::IsDate(text)) return text;
    vb::Variant v;
    v.vt = VT_DATE;
    v.date = vb::ToDate(text);
    return vb::Format(v, pattern);
  });
}

bool IsDateText(const std::wstring& text) {
  return !Kept(L"", text, [&] { return std::wstring(vb::IsDate(text) ? L"1" : L""); }).empty();
}

long DaysBetween(const std::wstring& from, const std::wstring& to) {
  // A date's whole days are its integral part; times of day (the fraction) do not count.
  auto day = [](const std::wstring& text) { return std::trunc(vb::ToDate(text)); };
  return static_cast<long>(day(to) - day(from));
}

double Val(const std::wstring& text) {
  std::wstring s;
  for (wchar_t c : text)
    if (c != L' ' && c != L'\t' && c != L'\n') s += c;
  if (s.size() > 2 && s[0] == L'&' && (s[1] == L'H' || s[1] == L'h' || s[1] == L'O' || s[1] == L'o')) {
    const int base = (s[1] == L'H' || s[1] == L'h') ? 16 : 8;
    return static_cast<double>(std::wcstoll(s.c_str() + 2, nullptr, base));
  }
  // Sign, digits, one full stop, then an exponent E or D with its sign.
  std::string number;
  size_t i = 0;
  if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) number += static_cast<char>(s[i++]);
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    if (s[i] >= L'0' && s[i] <= L'9') {
      number += static_cast<char>(s[i]);
      digits = true;
    } else if (s[i] == L'.' && !point) {
      number += '.';
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  if (i < s.size() && (s[i] == L'E' || s[i] == L'e' || s[i] == L'D' || s[i] == L'd')) {
    std::string exponent = "e";
    size_t j = i + 1;
    if (j < s.size() && (s[j] == L'+' || s[j] == L'-')) exponent += static_cast<char>(s[j++]);
    size_t start = exponent.size();
    for (; j < s.size() && s[j] >= L'0' && s[j] <= L'9'; ++j) exponent += static_cast<char>(s[j]);
    if (exponent.size() > start) number += exponent;
  }
  return std::strtod(number.c_str(), nullptr);
}

std::wstring NumberText(vb::Currency value) {
  const int64_t raw = value.raw();
  const uint64_t magnitude = raw < 0 ? 0 - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
  wchar_t buf[40];
  std::swprintf(buf, sizeof buf / sizeof buf[0], L"%s%llu.%04llu", raw < 0 ? L"-" : L"",
                static_cast<unsigned long long>(magnitude / 10000), static_cast<unsigned long long>(magnitude % 10000));
  return WithoutTrailingZeros(buf);
}

std::wstring NumberText(double value) {
  if (value == 0 || !std::isfinite(value)) return L"0";
  // 15 significant digits: as many decimals as the digits before the point leave.
  const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
  const int decimals = magnitude >= 14 ? 0 : 14 - magnitude;
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  std::wstring out = WithoutTrailingZeros(std::wstring(buf, buf + std::strlen(buf)));
  return out == L"-0" ? L"0" : out;
}

std::wstring WithFullStop(const std::wstring& text, const std::wstring& separator) {
  std::wstring sep = separator;
  if (sep.empty()) {
    wchar_t buf[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) > 1) sep = buf;
  }
  if (sep.empty() || sep == L".") return text;
  std::wstring out = text;
  for (size_t at = out.find(sep); at != std::wstring::npos; at = out.find(sep, at + 1)) out.replace(at, sep.size(), L".");
  return out;
}

std::wstring DecimalText(long long value) {
  wchar_t digits[20];
  return std::wstring(vb::DecimalDigits(value, digits));
}

}  // namespace claimfile::Edi837
