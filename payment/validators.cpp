#include "validators.h"

#include <cmath>

#include "vb/convert.h"
#include "vb/error.h"

namespace payment {

bool IsNumericText(const std::wstring& text) { return vb::IsNumeric(text); }

void ValidParameter_Amount(const std::wstring& Amount) {
  if (!IsNumericText(Amount)) throw vb::RuntimeError(errInvalidAmount, L"invalid amount", L"ValidParameter_Amount");
}

void ValidParameter_TransID(const std::wstring& TransID) {
  if (!IsNumericText(TransID)) throw vb::RuntimeError(errInvalidTransID, L"invalid transid", L"ValidParameter_TransID");
}

void ValidParameter_Expiration(std::wstring& Expiration) {
  Expiration = vb::Trim(Expiration);
  bool valid = false;
  if (IsNumericText(Expiration) && Expiration.size() == 4) {
    // The month is the first two characters read as an integer (a fraction rounds half to even);
    // two characters that are no number on their own make no month.
    std::wstring month = Expiration.substr(0, 2);
    if (IsNumericText(month)) {
      double m = std::nearbyint(vb::ToDouble(month));
      valid = m >= 1 && m <= 12;
    }
  }
  if (!valid) throw vb::RuntimeError(errInvalidExpiration, L"invalid expiration", L"ValidParameter_Expiration");
}

void ValidParameter_CardNumber(const std::wstring& CardNumber) {
  std::wstring digits;
  for (wchar_t c : CardNumber)
    if (c >= L'0' && c <= L'9') digits += c;
  bool valid = false;
  if (digits.size() >= 13 && digits.size() <= 16) {
    digits.insert(0, 16 - digits.size(), L'0');
    int sum = 0;
    for (size_t i = 0; i < 16; ++i) {
      int d = (digits[i] - L'0') * (i % 2 == 0 ? 2 : 1);  // positions 1, 3, ... (from 1) doubled
      sum += d > 9 ? d - 9 : d;
    }
    valid = sum % 10 == 0;
  }
  if (!valid) throw vb::RuntimeError(errInvalidCardNumber, L"invalid cardnumber", L"ValidParameter_CardNumber");
}

}  // namespace payment
