// The automation conversion rules, each in one place.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "automation/variant.h"

namespace qx::automation {

// To Long / Integer: halves round to the even neighbour; out of range is an overflow (6).
int32_t roundToInt32(double v);
int16_t roundToInt16(double v);
// Rounds halves to even without a range check.
double roundHalfEven(double v) noexcept;

// The leading number of a text: blanks, tabs and line feeds are ignored wherever they stand,
// "." is the decimal point, "&H"/"&O" prefixes read hexadecimal/octal; 0 when the text does not
// start with a number. A number beyond the range of a double, or an "&H"/"&O" value beyond 32
// bits, is an overflow (6).
double leadingNumber(std::string_view text);

// The whole text as a number: optional surrounding blanks, a sign, digits (with "," between
// groups), "." decimals, an exponent ("E" or "D"), or "&H"/"&O" forms. Empty when it does not
// convert; an overflow (6) when it is a number beyond the range of a double or of 32 bits
// ("&H"/"&O").
std::optional<double> parseNumber(std::string_view text);

// The numeric test: Empty, Boolean and numbers are numeric; a text when it converts whole
// (a text beyond the range of a double does not).
bool isNumeric(const Variant& v);

// A double as the automation runtime writes it (what CStr gives): at most 15 significant
// digits, plain while the exponent is within [-4, 15), otherwise in exponent form
// ("0.3" for 0.1 + 0.2, "1E-05", "8.81741785664423E+15").
std::string formatDouble(double v);
// The same layout with as many digits as reading the text back to the same double needs
// ("0.30000000000000004"): for values stored as text and read again, never shown.
std::string formatDoubleRoundTrip(double v);

// Civil date and time parts. Dates run from 0001-01-01 to 9999-12-31: makeDate fails with 5
// for any other day, and dateParts (so every date format) with an overflow (6) for a serial
// outside them.
struct DateParts {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};
Date makeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
DateParts dateParts(Date d);
// The short date form of this system: "yyyy-mm-dd", with " hh:mm:ss" when there is a time.
std::string formatDate(Date d);
// Reads "yyyy-mm-dd" or "yyyy/mm/dd", optionally followed by " hh:mm[:ss]"; also "T" as the
// separator. Empty when the text is not such a date.
std::optional<Date> parseDate(std::string_view text) noexcept;
// A date with a pattern of yyyy, mm, dd, hh, nn, ss (others copied), e.g. "yyyy/mm/dd".
std::string formatDatePattern(Date d, std::string_view pattern);

// "#,##0" with `decimals` places: thousands grouped with ",", "." as the point, rounded half
// away from zero on the decimal value; negative decimals count as 0.
std::string formatNumber(double v, int decimals, bool grouping = true);
// The same from the shortest decimal digits of v, always: what formatNumber's quick path for
// figures far from a half must agree with.
std::string formatNumberByDigits(double v, int decimals, bool grouping = true);

}  // namespace qx::automation
