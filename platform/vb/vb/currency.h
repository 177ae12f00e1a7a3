// Automation Currency: a 64-bit integer count of ten-thousandths, with checked arithmetic.
#pragma once
#include <oaidl.h>

#include <compare>
#include <cstdint>
#include <string>

namespace vb {

class Currency {
 public:
  constexpr Currency() = default;
  static constexpr Currency FromRaw(int64_t tenThousandths) { Currency c; c.raw_ = tenThousandths; return c; }
  static Currency FromCy(CY cy) { return FromRaw(cy.int64); }
  static Currency FromLong(long whole);          // whole units
  // CCur of a text (user locale): a text that does not read as a number raises 13, one out of range 6.
  static Currency FromText(const std::wstring& text);
  static bool TryFromText(const std::wstring& text, Currency& out);
  // CCur of a double: rounded to four decimals, out of range raises 6.
  static Currency FromDouble(double value);

  constexpr int64_t raw() const { return raw_; }
  CY cy() const { CY c; c.int64 = raw_; return c; }
  double ToDouble() const;

  // Checked arithmetic: a result outside the Currency range raises 6.
  Currency operator+(Currency other) const;
  Currency operator-(Currency other) const;
  Currency operator*(long factor) const;
  Currency& operator+=(Currency other) { return *this = *this + other; }
  Currency& operator-=(Currency other) { return *this = *this - other; }

  // CLng of the value: rounded to a whole number, halves to even; outside the 32-bit range raises 6.
  long ToLong() const;
  // The text the run time gives a Currency (CStr): no thousands separator, no trailing zeros.
  std::wstring ToText() const;

  friend constexpr bool operator==(Currency a, Currency b) { return a.raw_ == b.raw_; }
  friend constexpr auto operator<=>(Currency a, Currency b) { return a.raw_ <=> b.raw_; }

 private:
  int64_t raw_ = 0;
};

}  // namespace vb
