// Text rules of the run time over oleaut32, in the user locale: numbers, dates, Format, CStr, CLng.
#pragma once
#include <oaidl.h>

#include <string>
#include <string_view>
#include <unordered_map>

namespace vb {

// IsNumeric of a text: true when the text reads as a number in the user locale (empty is false).
bool IsNumeric(const std::wstring& text);
// IsDate of a text: true when the text reads as a date and/or time in the user locale.
bool IsDate(const std::wstring& text);

// CDbl: a text that does not read as a number raises 13.
double ToDouble(const std::wstring& text);
// CDate: a text that does not read as a date raises 13.
DATE ToDate(const std::wstring& text);
// CLng of a double: halves to even; outside the 32-bit range raises 6.
long ToLong(double value);
// CInt of a long: outside the 16-bit range raises 6.
short ToInteger(long value);
// CStr of a double: the general number form (up to 15 significant digits, no thousands separator).
std::wstring DoubleToText(double value);
std::wstring LongToText(long value);
// The decimal digits of a whole number, a minus first when it is negative, written into buf
// (LongToText's text, without a string).
std::wstring_view DecimalDigits(long long value, wchar_t (&buf)[20]);

// Format(value, pattern, vbSunday, vbFirstJan1) of a text value:
//   an empty value gives the empty text;
//   a value that reads as a number is formatted as that number;
//   else a value that reads as a date is formatted as that date;
//   else the text is formatted as text (and comes back as it is when the pattern cannot apply).
// An empty pattern gives the value's own text.
std::wstring Format(const std::wstring& value, const std::wstring& pattern);
// Format of any VARIANT (numbers, dates, Currency, text as above).
std::wstring Format(const VARIANT& value, const std::wstring& pattern);

// While a FormatMemo lives on a thread, Format of a text on that thread remembers each result and
// gives it again for the same text and pattern without reading the text anew (reading a date is
// slow). Its owner keeps it only while the locale cannot change: a run of formatting with no
// message loop, as a file is written. Memos nest; the innermost is used.
class FormatMemo {
 public:
  FormatMemo();
  ~FormatMemo();
  FormatMemo(const FormatMemo&) = delete;
  FormatMemo& operator=(const FormatMemo&) = delete;
  // The remembered result of the text and pattern, or nullptr; then Remember stores one.
  const std::wstring* Find(std::wstring_view value, std::wstring_view pattern);
  void Remember(std::wstring_view value, std::wstring_view pattern, const std::wstring& result);
  // The decimal separator of the user's locale, read at the first call (0 when it is not one
  // character).
  wchar_t DecimalSeparator();
  // The innermost memo of this thread, or nullptr.
  static FormatMemo* Current();

 private:
  // Sets key_ to the key of the text and pattern (its capacity kept from call to call).
  const std::wstring& KeyOf(std::wstring_view value, std::wstring_view pattern);
  std::unordered_map<std::wstring, std::wstring> results_;
  std::wstring key_;
  wchar_t decimal_ = 0;
  bool decimalRead_ = false;
  FormatMemo* outer_;
};

// Text helpers with the run time's meaning.
std::wstring Trim(const std::wstring& s);    // spaces only, both ends
std::wstring LTrim(const std::wstring& s);
std::wstring RTrim(const std::wstring& s);
std::wstring UCase(const std::wstring& s);
std::wstring LCase(const std::wstring& s);

// The system's 8-bit code page (CP_ACP) and back; characters it cannot hold become '?'.
std::string ToAnsi(const std::wstring& s);
std::wstring FromAnsi(const std::string& s);

}  // namespace vb
