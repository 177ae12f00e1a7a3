#include "vb/currency.h"

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <limits>

#include "vb/convert.h"
#include "vb/error.h"

namespace vb {

namespace {

constexpr int64_t kScale = 10000;
constexpr uint64_t kMaxMagnitudePositive = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
constexpr uint64_t kMaxMagnitudeNegative = kMaxMagnitudePositive + 1;

// Divides the 96-bit magnitude (w[0] lowest) by 10 in place and returns the remainder.
uint32_t DivideBy10(uint32_t w[3]) {
  uint64_t rem = 0;
  for (int i = 2; i >= 0; --i) {
    uint64_t cur = (rem << 32) | w[i];
    w[i] = static_cast<uint32_t>(cur / 10);
    rem = cur % 10;
  }
  return static_cast<uint32_t>(rem);
}

// A DECIMAL as a count of ten-thousandths, halves rounded to even. Kept in integer arithmetic
// because oleaut32's own Decimal-to-Currency path may go through a double, which loses the
// last digits near the ends of the range.
bool RawFromDecimal(const DECIMAL& d, int64_t& raw) {
  uint32_t w[3] = {static_cast<uint32_t>(d.Lo64 & 0xFFFFFFFFu), static_cast<uint32_t>(d.Lo64 >> 32),
                   static_cast<uint32_t>(d.Hi32)};
  int scale = d.scale;
  if (scale > 28) return false;
  uint64_t magnitude;
  if (scale > 4) {
    uint32_t lastDigit = 0;
    bool sticky = false;
    for (; scale > 4; --scale) {
      sticky = sticky || lastDigit != 0;
      lastDigit = DivideBy10(w);
    }
    if (w[2] != 0) return false;
    magnitude = (static_cast<uint64_t>(w[1]) << 32) | w[0];
    if (magnitude > kMaxMagnitudeNegative) return false;
    if (lastDigit > 5 || (lastDigit == 5 && (sticky || (magnitude & 1)))) ++magnitude;
  } else {
    if (w[2] != 0) return false;
    magnitude = (static_cast<uint64_t>(w[1]) << 32) | w[0];
    for (; scale < 4; ++scale)
      if (__builtin_mul_overflow(magnitude, uint64_t{10}, &magnitude)) return false;
  }
  const bool negative = (d.sign & DECIMAL_NEG) != 0;
  if (magnitude > (negative ? kMaxMagnitudeNegative : kMaxMagnitudePositive)) return false;
  raw = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

// Reads a text as Currency: S_OK, DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW.
// The text is read as a DECIMAL (exact in the user locale) and scaled in integers.
// A text of digits, with at most one decimal separator followed by one to four digits, read
// without the conversion (which reads the locale at every call) while a FormatMemo keeps the
// locale as it is. False for anything else, which the conversion reads.
bool ParsePlain(const std::wstring& text, int64_t& raw) {
  FormatMemo* memo = FormatMemo::Current();
  if (!memo) return false;
  auto digit = [&](size_t i) { return i < text.size() && text[i] >= L'0' && text[i] <= L'9'; };
  size_t i = 0;
  int64_t whole = 0;
  for (; digit(i); ++i) whole = whole * 10 + (text[i] - L'0');
  if (i == 0 || i > 14) return false;  // well inside the range
  int64_t fraction = 0, unit = kScale;
  if (i < text.size()) {
    const wchar_t separator = memo->DecimalSeparator();
    if (separator == 0 || text[i] != separator) return false;
    const size_t first = ++i;
    for (; digit(i); ++i) {
      if (i - first == 4) return false;
      fraction = fraction * 10 + (text[i] - L'0');
      unit /= 10;
    }
    if (i == first || i != text.size()) return false;
  }
  raw = whole * kScale + fraction * unit;
  return true;
}

HRESULT ParseCurrency(const std::wstring& text, int64_t& raw) {
  if (ParsePlain(text, raw)) return S_OK;
  DECIMAL d{};
  HRESULT hr = VarDecFromStr(const_cast<LPOLESTR>(text.c_str()), LOCALE_USER_DEFAULT, 0, &d);
  if (FAILED(hr)) return hr == DISP_E_OVERFLOW ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH;
  return RawFromDecimal(d, raw) ? S_OK : DISP_E_OVERFLOW;
}

}  // namespace

Currency Currency::FromLong(long whole) { return FromRaw(static_cast<int64_t>(whole) * kScale); }

Currency Currency::FromText(const std::wstring& text) {
  int64_t raw = 0;
  HRESULT hr = ParseCurrency(text, raw);
  if (hr == DISP_E_OVERFLOW) Raise(errOverflow);
  if (FAILED(hr)) Raise(errTypeMismatch);
  return FromRaw(raw);
}

bool Currency::TryFromText(const std::wstring& text, Currency& out) {
  int64_t raw = 0;
  if (FAILED(ParseCurrency(text, raw))) return false;
  out = FromRaw(raw);
  return true;
}

Currency Currency::FromDouble(double value) {
  CY cy{};
  HRESULT hr = VarCyFromR8(value, &cy);
  if (hr == DISP_E_OVERFLOW) Raise(errOverflow);
  if (FAILED(hr)) Raise(errTypeMismatch);
  return FromCy(cy);
}

double Currency::ToDouble() const {
  double d = 0;
  VarR8FromCy(cy(), &d);
  return d;
}

Currency Currency::operator+(Currency other) const {
  int64_t r;
  if (__builtin_add_overflow(raw_, other.raw_, &r)) Raise(errOverflow);
  return FromRaw(r);
}

Currency Currency::operator-(Currency other) const {
  int64_t r;
  if (__builtin_sub_overflow(raw_, other.raw_, &r)) Raise(errOverflow);
  return FromRaw(r);
}

Currency Currency::operator*(long factor) const {
  int64_t r;
  if (__builtin_mul_overflow(raw_, static_cast<int64_t>(factor), &r)) Raise(errOverflow);
  return FromRaw(r);
}

long Currency::ToLong() const {
  int64_t whole = raw_ / kScale;  // truncated toward zero
  int64_t frac = raw_ % kScale;   // same sign as raw_
  const int64_t twice = 2 * (frac < 0 ? -frac : frac);
  if (twice > kScale || (twice == kScale && (whole & 1))) whole += raw_ < 0 ? -1 : 1;
  if (whole < std::numeric_limits<int32_t>::min() || whole > std::numeric_limits<int32_t>::max())
    Raise(errOverflow);
  return static_cast<long>(whole);
}

std::wstring Currency::ToText() const {
  // A value of no sign written without the conversion (which reads the locale at every call)
  // while a FormatMemo keeps the locale as it is: the whole digits, then the separator and the
  // fraction's digits without trailing zeros.
  if (FormatMemo* memo = FormatMemo::Current(); memo && raw_ >= 0 && memo->DecimalSeparator() != 0) {
    wchar_t buf[32];
    wchar_t* const end = buf + 20;  // room for the 19 digits of the whole part
    wchar_t* p = end;
    for (int64_t whole = raw_ / kScale; p == end || whole; whole /= 10) *--p = static_cast<wchar_t>(L'0' + whole % 10);
    wchar_t* q = end;
    if (int64_t fraction = raw_ % kScale) {
      wchar_t digits[4];
      int n = 4;
      for (int i = 3; i >= 0; --i, fraction /= 10) digits[i] = static_cast<wchar_t>(L'0' + fraction % 10);
      while (digits[n - 1] == L'0') --n;
      *q++ = memo->DecimalSeparator();
      for (int i = 0; i < n; ++i) *q++ = digits[i];
    }
    return std::wstring(p, static_cast<size_t>(q - p));
  }
  BSTR b = nullptr;
  if (FAILED(VarBstrFromCy(cy(), LOCALE_USER_DEFAULT, 0, &b))) Raise(errOutOfMemory);
  std::wstring out(b, SysStringLen(b));
  SysFreeString(b);
  return out;
}

}  // namespace vb
