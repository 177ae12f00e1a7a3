// The parameter validators of the payment operations. Each returns when its value is valid and
// raises its numbered parameter error (source: its own name) otherwise. Numbers are read in the
// user's locale.
#pragma once
#include <string>

namespace payment {

enum : long {
  errInvalidAmount = 6001,
  errInvalidExpiration = 6002,
  errInvalidCardNumber = 6003,
  errInvalidTransID = 6004,
};

// Whether the user locale's text-to-number conversion accepts the whole text.
bool IsNumericText(const std::wstring& text);

void ValidParameter_Amount(const std::wstring& Amount);
void ValidParameter_TransID(const std::wstring& TransID);
// A card's expiry as MMYY: trims the blanks around it (into the caller's value, valid or not),
// then needs four characters of numeric text whose first two read as a month from 1 to 12.
void ValidParameter_Expiration(std::wstring& Expiration);
// The Luhn check on the 13 to 16 digits of the value (other characters are skipped).
void ValidParameter_CardNumber(const std::wstring& CardNumber);

}  // namespace payment
