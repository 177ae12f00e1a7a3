#include "vb/convert.h"

#include <windows.h>
#include <oleauto.h>

#include <cmath>
#include <limits>

#include "vb/automation.h"
#include "vb/error.h"

namespace vb {

namespace {

bool IsBlank(const std::wstring& s) {
  return s.find_first_not_of(L" \t\r\n") == std::wstring::npos;
}

LPOLESTR Ole(const std::wstring& s) { return const_cast<LPOLESTR>(s.c_str()); }

[[noreturn]] void RaiseConversion(HRESULT hr) {
  if (hr == DISP_E_OVERFLOW) Raise(errOverflow);
  if (hr == E_OUTOFMEMORY) Raise(errOutOfMemory);
  Raise(errTypeMismatch);
}

// VarFormat with the run time's defaults for Format: weeks start on Sunday, and week 1 is
// the week that holds January 1.
HRESULT FormatVariant(VARIANT* v, const std::wstring& pattern, std::wstring& out) {
  Bstr b;
  HRESULT hr = VarFormat(v, Ole(pattern), 1, 1, 0, &b.b);
  if (SUCCEEDED(hr)) out = b.str();
  return hr;
}

// A reader of oleaut32 from text to a number or date (both doubles), used in the user locale.
using TextReader = HRESULT(WINAPI*)(OLECHAR*, LCID, ULONG, double*);

HRESULT Read(TextReader read, const std::wstring& text, double& out) {
  out = 0;
  return read(Ole(text), LOCALE_USER_DEFAULT, 0, &out);
}

bool Reads(TextReader read, const std::wstring& text) {
  double d;
  return !IsBlank(text) && SUCCEEDED(Read(read, text, d));
}

double ReadOrRaise(TextReader read, const std::wstring& text) {
  double d;
  HRESULT hr = Read(read, text, d);
  if (FAILED(hr)) RaiseConversion(hr);
  return d;
}

// A copy of the text with every character passed through a case mapping of user32. Plain ASCII
// maps the same in every locale (no linguistic casing is asked for), so it skips the call.
std::wstring MapCase(const std::wstring& s, DWORD(WINAPI* map)(LPWSTR, DWORD), wchar_t from, wchar_t to) {
  std::wstring out = s;
  bool ascii = true;
  for (wchar_t c : out) ascii = ascii && c < 0x80;
  if (!ascii) {
    map(out.data(), static_cast<DWORD>(out.size()));
    return out;
  }
  for (wchar_t& c : out)
    if (c >= from && c <= from + 25) c = static_cast<wchar_t>(c - from + to);
  return out;
}

}  // namespace

bool IsNumeric(const std::wstring& text) { return Reads(VarR8FromStr, text); }
bool IsDate(const std::wstring& text) { return Reads(VarDateFromStr, text); }
double ToDouble(const std::wstring& text) { return ReadOrRaise(VarR8FromStr, text); }
DATE ToDate(const std::wstring& text) { return ReadOrRaise(VarDateFromStr, text); }

long ToLong(double value) {
  if (std::isnan(value)) Raise(errOverflow);
  // value - floor(value) is exact for every double, so the half is seen exactly.
  double whole = std::floor(value);
  const double frac = value - whole;
  if (frac > 0.5 || (frac == 0.5 && std::fmod(whole, 2.0) != 0)) whole += 1;
  if (whole < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
      whole > static_cast<double>(std::numeric_limits<int32_t>::max()))
    Raise(errOverflow);
  return static_cast<long>(whole);
}

short ToInteger(long value) {
  if (value < std::numeric_limits<short>::min() || value > std::numeric_limits<short>::max())
    Raise(errOverflow);
  return static_cast<short>(value);
}

std::wstring DoubleToText(double value) {
  Bstr b;
  HRESULT hr = VarBstrFromR8(value, LOCALE_USER_DEFAULT, 0, &b.b);
  if (FAILED(hr)) RaiseConversion(hr);
  return b.str();
}

std::wstring_view DecimalDigits(long long value, wchar_t (&buf)[20]) {
  // The digits written here: std::to_wstring goes through the C library's formatted print,
  // which takes the locale's lock at every call.
  wchar_t* const end = buf + 20;
  wchar_t* p = end;
  unsigned long long n = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
  do {
    *--p = static_cast<wchar_t>(L'0' + n % 10);
    n /= 10;
  } while (n);
  if (value < 0) *--p = L'-';
  return std::wstring_view(p, static_cast<size_t>(end - p));
}

std::wstring LongToText(long value) {
  wchar_t buf[20];
  return std::wstring(DecimalDigits(value, buf));
}

namespace {
// The innermost memo of this thread (a plain pointer: nothing to destroy at thread exit).
thread_local FormatMemo* tMemo = nullptr;

}  // namespace

FormatMemo::FormatMemo() : outer_(tMemo) { tMemo = this; }
FormatMemo::~FormatMemo() { tMemo = outer_; }

FormatMemo* FormatMemo::Current() { return tMemo; }

wchar_t FormatMemo::DecimalSeparator() {
  if (!decimalRead_) {
    wchar_t buf[8] = {};
    decimal_ = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) == 2 ? buf[0] : 0;
    decimalRead_ = true;
  }
  return decimal_;
}

const std::wstring& FormatMemo::KeyOf(std::wstring_view value, std::wstring_view pattern) {
  key_.assign(pattern);
  key_ += L'\0';
  key_ += value;
  return key_;
}

const std::wstring* FormatMemo::Find(std::wstring_view value, std::wstring_view pattern) {
  auto it = results_.find(KeyOf(value, pattern));
  return it == results_.end() ? nullptr : &it->second;
}

void FormatMemo::Remember(std::wstring_view value, std::wstring_view pattern, const std::wstring& result) {
  results_.insert_or_assign(KeyOf(value, pattern), result);
}

std::wstring Format(const std::wstring& value, const std::wstring& pattern) {
  if (value.empty()) return L"";
  if (pattern.empty()) return value;
  if (tMemo) {
    if (const std::wstring* known = tMemo->Find(value, pattern)) return *known;
    FormatMemo* memo = tMemo;
    tMemo = nullptr;
    std::wstring result;
    try {
      result = Format(value, pattern);
    } catch (...) {
      tMemo = memo;
      throw;
    }
    tMemo = memo;
    memo->Remember(value, pattern, result);
    return result;
  }
  Variant v;
  double read = 0;  // each reading is made once: a date's is slow
  const bool blank = IsBlank(value);
  if (!blank && SUCCEEDED(Read(VarR8FromStr, value, read))) {
    V_VT(&v) = VT_R8;
    V_R8(&v) = read;
  } else if (!blank && SUCCEEDED(Read(VarDateFromStr, value, read))) {
    V_VT(&v) = VT_DATE;
    V_DATE(&v) = read;
  } else {
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    if (!V_BSTR(&v)) Raise(errOutOfMemory);
  }
  std::wstring out;
  if (FAILED(FormatVariant(&v, pattern, out))) return value;
  return out;
}

std::wstring Format(const VARIANT& value, const std::wstring& pattern) {
  Variant v;
  HRESULT hr = VariantCopyInd(&v, const_cast<VARIANT*>(&value));
  if (FAILED(hr)) RaiseConversion(hr);
  switch (V_VT(&v)) {
    case VT_EMPTY:
    case VT_NULL:
      return L"";
    case VT_BSTR:
      return Format(FromBstr(V_BSTR(&v)), pattern);
    default:
      break;
  }
  std::wstring out;
  if (pattern.empty()) {
    Variant text;
    hr = VariantChangeType(&text, &v, VARIANT_ALPHABOOL, VT_BSTR);
    if (FAILED(hr)) RaiseConversion(hr);
    return FromBstr(V_BSTR(&text));
  }
  hr = FormatVariant(&v, pattern, out);
  if (FAILED(hr)) RaiseConversion(hr);
  return out;
}

std::wstring LTrim(const std::wstring& s) {
  size_t first = s.find_first_not_of(L' ');
  return first == std::wstring::npos ? std::wstring() : s.substr(first);
}

std::wstring RTrim(const std::wstring& s) {
  size_t last = s.find_last_not_of(L' ');
  return last == std::wstring::npos ? std::wstring() : s.substr(0, last + 1);
}

std::wstring Trim(const std::wstring& s) { return LTrim(RTrim(s)); }

std::wstring UCase(const std::wstring& s) { return MapCase(s, CharUpperBuffW, L'a', L'A'); }
std::wstring LCase(const std::wstring& s) { return MapCase(s, CharLowerBuffW, L'A', L'a'); }

std::string ToAnsi(const std::wstring& s) {
  if (s.empty()) return {};
  // No best-fit mapping: a character the code page does not hold becomes '?' rather than a
  // look-alike.
  const int len = static_cast<int>(s.size());
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, s.data(), len, nullptr, 0, "?", nullptr);
  if (n <= 0) Raise(errOutOfMemory);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, s.data(), len, out.data(), n, "?", nullptr);
  return out;
}

std::wstring FromAnsi(const std::string& s) {
  if (s.empty()) return {};
  const int len = static_cast<int>(s.size());
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), len, nullptr, 0);
  if (n <= 0) Raise(errOutOfMemory);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), len, out.data(), n);
  return out;
}

}  // namespace vb
