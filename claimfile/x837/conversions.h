// The conversions the 837 writer applies to host values: dates in a pattern, day counts, Val,
// and numbers in the general form a receiver reads (a full stop, never an exponent).
#pragma once
#include <string>

#include "vb/currency.h"

namespace claimfile::Edi837 {

// A host date text in a date pattern ("YYYYMMDD", "MM/DD/YYYY", "mm/dd/yy"). Empty stays empty;
// a text that does not read as a date is written as it stands.
std::wstring DateText(const std::wstring& text, const std::wstring& pattern);
// IsDate. Both keep their answers for the export (see ModuleState::dateTexts).
bool IsDateText(const std::wstring& text);
// Whole days from `from` to `to` (midnights crossed; negative when `to` is earlier); 13 when
// either does not read as a date.
long DaysBetween(const std::wstring& from, const std::wstring& to);
// Val: the number the text starts with, blanks, tabs and line feeds ignored anywhere; "&H" and
// "&O" read hexadecimal and octal; 0 when the text starts with no number.
double Val(const std::wstring& text);
// The general number form: no grouping, no trailing zeros, a full stop as decimal separator
// whatever the locale, and never an exponent (a double keeps 15 significant digits).
std::wstring NumberText(vb::Currency value);
std::wstring NumberText(double value);
// The decimal text of a whole number (what std::to_wstring gives, without the wide printf behind
// it, which is slow on the writer's paths).
std::wstring DecimalText(long long value);
// A stored number text with the given decimal separator (by default the user locale's) turned
// into a full stop.
std::wstring WithFullStop(const std::wstring& text, const std::wstring& separator = L"");

}  // namespace claimfile::Edi837
