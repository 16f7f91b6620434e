// The numeric test agrees with the conversion: a text is numeric exactly when converting it to
// a number succeeds; the number is finite, converts to Long by rounding or overflows, and its
// own text is numeric with the same value.
#include <cmath>

#include "automation/conversions.h"
#include "automation/error.h"
#include "automation/variant.h"
#include "fuzz_support.h"

using qx::automation::Error;
using qx::automation::formatDouble;
using qx::automation::isNumeric;
using qx::automation::Variant;
using qx::fuzz::shown;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qx::fuzz::Input in(data, size);
  const std::string text = in.rest();
  const Variant v(text);

  bool numeric = isNumeric(v);
  double n = 0;
  int32_t error = 0;
  try {
    n = v.toDouble();
  } catch (const Error& e) {
    error = e.number();
  }
  QX_FUZZ_CHECK(numeric == (error == 0), shown(text) + (numeric ? " is" : " is not") +
                                             " numeric, its conversion gives error " +
                                             std::to_string(error));
  if (!numeric) {
    QX_FUZZ_CHECK(error == 13 || error == 6, shown(text) + " failed with " + std::to_string(error));
    return 0;
  }
  QX_FUZZ_CHECK(std::isfinite(n), shown(text) + " converted to " + formatDouble(n));

  // To Long: the rounded number, or an overflow when it is out of range.
  try {
    int32_t l = v.toInt32();
    QX_FUZZ_CHECK(l == qx::automation::roundHalfEven(n),
                  shown(text) + " as Long is " + std::to_string(l));
  } catch (const Error& e) {
    double r = qx::automation::roundHalfEven(n);
    QX_FUZZ_CHECK(e.number() == 6 && (r < -2147483648.0 || r > 2147483647.0),
                  shown(text) + " as Long failed with " + std::to_string(e.number()));
  }

  // The number's own text is numeric and converts to the same number.
  const Variant again(qx::automation::formatDoubleRoundTrip(n));
  QX_FUZZ_CHECK(isNumeric(again) && again.toDouble() == n,
                shown(text) + ": " + shown(*again.stringIf()) + " does not read back");
  return 0;
}
