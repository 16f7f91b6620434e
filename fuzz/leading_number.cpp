// The leading number of a text: blanks anywhere change nothing, the result is finite (or the
// failure is an overflow), and it reads back unchanged from its own text.
#include <algorithm>
#include <cmath>

#include "automation/conversions.h"
#include "automation/error.h"
#include "fuzz_support.h"

using qx::automation::Error;
using qx::automation::formatDouble;
using qx::automation::leadingNumber;
using qx::automation::parseNumber;
using qx::fuzz::shown;

namespace {

// The leading number, or the failure's number.
struct Reading {
  double value = 0;
  int32_t error = 0;
};
Reading readLeading(std::string_view text) {
  try {
    return {leadingNumber(text), 0};
  } catch (const Error& e) {
    return {0, e.number()};
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qx::fuzz::Input in(data, size);
  unsigned blankAt = in.byte();
  std::string text = in.rest();

  Reading r = readLeading(text);
  QX_FUZZ_CHECK(r.error == 0 || r.error == 6,
                shown(text) + " failed with " + std::to_string(r.error));

  // A blank, tab or line feed inserted anywhere is ignored.
  std::string blanked = text;
  blanked.insert(blanked.begin() + blankAt % (text.size() + 1), " \t\n"[blankAt % 3]);
  Reading b = readLeading(blanked);
  QX_FUZZ_CHECK(b.error == r.error && b.value == r.value,
                shown(text) + " and " + shown(blanked) + " differ");
  if (r.error) return 0;

  QX_FUZZ_CHECK(std::isfinite(r.value), shown(text) + " gave " + formatDouble(r.value));
  // The number's own text reads back as the same number, as leading number and as whole text.
  std::string again = qx::automation::formatDoubleRoundTrip(r.value);
  QX_FUZZ_CHECK(leadingNumber(again) == r.value, shown(text) + ": " + again + " reads back as " +
                                                     formatDouble(leadingNumber(again)));
  QX_FUZZ_CHECK(parseNumber(again) == r.value,
                shown(text) + ": " + again + " does not parse whole");

  // A text that converts whole has that number as leading number, unless it has group
  // separators, "&H"/"&O" digits (the runtime reads them unsigned, the leading-number rule as the
  // language's Integer or Long) or blanks only the runtime skips (CR, VT, FF, non-ASCII spaces).
  bool sameRules = std::none_of(text.begin(), text.end(), [](char c) {
    return c == ',' || c == '&' || c == '\r' || c == '\v' || c == '\f' ||
           static_cast<unsigned char>(c) >= 0x80;
  });
  if (sameRules) {
    try {
      if (auto whole = parseNumber(text)) {
        QX_FUZZ_CHECK(*whole == r.value, shown(text) + ": whole " + formatDouble(*whole) +
                                             ", leading " + formatDouble(r.value));
      }
    } catch (const Error& e) {
      QX_FUZZ_CHECK(e.number() == 6, shown(text) + " failed with " + std::to_string(e.number()));
    }
  }
  return 0;
}
