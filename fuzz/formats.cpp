// Number and date formats: a number's exact text reads back as the number, its 15-digit text
// within that rounding; a formatted number reads back within half its last place and formats
// again to the same text; a date formats to a text that reads back to a date of the same text;
// patterns never fail inside the date range.
#include <algorithm>
#include <cmath>
#include <limits>

#include "automation/conversions.h"
#include "automation/error.h"
#include "fuzz_support.h"

using namespace qx::automation;
using qx::fuzz::shown;

namespace {

// More decimals than a double has digits for fail with 5.
constexpr int kMostDecimals = 340;

std::string show(double v) {
  return formatDouble(v);
}

void numberText(double v) {
  std::string exact = formatDoubleRoundTrip(v), t = formatDouble(v);
  if (!std::isfinite(v)) return;
  QX_FUZZ_CHECK(parseNumber(exact) == v,
                show(v) + " reads back from " + shown(exact) + " differently");
  // The runtime's text keeps 15 significant digits: it reads back within their rounding (or
  // beyond the largest double) and writes the same text again.
  std::optional<double> back;
  try {
    back = parseNumber(t);
  } catch (const Error& e) {
    QX_FUZZ_CHECK(e.number() == 6 && std::fabs(v) > 1.79769313486231e308,
                  shown(t) + " failed with " + std::to_string(e.number()));
    return;
  }
  // Half a unit of the 15th digit, plus the reading's own rounding (a denormal's included).
  double unit = v == 0 ? 0 : std::pow(10.0, std::floor(std::log10(std::fabs(v))) - 14);
  QX_FUZZ_CHECK(back && std::fabs(*back - v) <= unit / 2 + std::fabs(v) * 2.3e-16 +
                                                    std::numeric_limits<double>::denorm_min(),
                exact + " reads back from " + shown(t) + " as " + show(back.value_or(0)));
  QX_FUZZ_CHECK(formatDouble(*back) == t, shown(t) + " writes again as " + show(*back));
}

void groupedNumber(double v, int decimals, bool grouping) {
  std::string t;
  try {
    t = formatNumber(v, decimals, grouping);
  } catch (const Error& e) {
    QX_FUZZ_CHECK(e.number() == 5 && decimals > kMostDecimals,
                  show(v) + " with " + std::to_string(decimals) + " decimals failed with " +
                      std::to_string(e.number()));
    return;
  }
  QX_FUZZ_CHECK(t == formatNumberByDigits(v, decimals, grouping),
                show(v) + " with " + std::to_string(decimals) + " decimals: quick " + shown(t) +
                    ", by digits " + shown(formatNumberByDigits(v, decimals, grouping)));
  if (!std::isfinite(v)) return;
  QX_FUZZ_CHECK(t[0] != '-' || t.find_first_of("123456789") != std::string::npos,
                show(v) + " formatted as negative zero " + shown(t));
  QX_FUZZ_CHECK(grouping || t.find(',') == std::string::npos, shown(t) + " has groups");
  std::optional<double> back;
  try {
    back = parseNumber(t);
  } catch (const Error&) {
    QX_FUZZ_CHECK(false, show(v) + ": " + shown(t) + " overflows");
  }
  QX_FUZZ_CHECK(back.has_value(), show(v) + ": " + shown(t) + " is not a number");
  // Within half a unit of the last place shown of the shortest text of v, which is itself up to
  // half a step between doubles from v (a coarse step among the denormals), and the text's own
  // reading as the nearest double another half step.
  double unit = std::pow(10.0, -std::max(decimals, 0));
  double step = std::fabs(std::nextafter(v, HUGE_VAL) - v);
  QX_FUZZ_CHECK(std::fabs(*back - v) <= unit / 2 + step + std::fabs(v) * 1e-15,
                show(v) + " with " + std::to_string(decimals) + " decimals is " + shown(t));
  QX_FUZZ_CHECK(formatNumber(*back, decimals, grouping) == t,
                show(v) + ": " + shown(t) + " formats again as " +
                    shown(formatNumber(*back, decimals, grouping)));
}

void dateText(Date d) {
  std::string t;
  try {
    t = formatDate(d);
  } catch (const Error& e) {
    // Only a serial outside the dates there are fails.
    QX_FUZZ_CHECK(e.number() == 6 || e.number() == 5,
                  show(d.serial) + " failed with " + std::to_string(e.number()));
    return;
  }
  std::optional<Date> back = parseDate(t);
  QX_FUZZ_CHECK(back.has_value(), show(d.serial) + " formats as " + shown(t) + ", not a date");
  QX_FUZZ_CHECK(formatDate(*back) == t,
                show(d.serial) + ": " + shown(t) + " formats again as " + shown(formatDate(*back)));
  QX_FUZZ_CHECK(std::fabs(back->serial - d.serial) < 2.0,
                show(d.serial) + " reads back as " + show(back->serial));
}

// Decimals: mostly a few, sometimes any int.
int decimalsFrom(qx::fuzz::Input& in) {
  if (in.pick(8) != 0) return static_cast<int>(in.pick(24)) - 2;
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u = u << 8 | in.byte();
  return static_cast<int>(u);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qx::fuzz::Input in(data, size);
  switch (in.pick(4)) {
    case 0: {
      double v = in.bits();
      numberText(v);
      groupedNumber(v, decimalsFrom(in), in.byte() & 1);
      break;
    }
    case 1: {
      // Numbers near the points where rounding carries: digits from the input.
      std::string digits = in.text();
      double v = 0;
      try {
        v = parseNumber(digits).value_or(0);
      } catch (const Error&) {
        break;
      }
      groupedNumber(v, decimalsFrom(in), in.byte() & 1);
      break;
    }
    case 2: {
      double serial = in.bits();
      dateText(Date{serial});
      std::string pattern = in.rest();
      try {
        (void)formatDatePattern(Date{serial}, pattern);
      } catch (const Error& e) {
        QX_FUZZ_CHECK(e.number() == 6 || e.number() == 5,
                      show(serial) + " failed with " + std::to_string(e.number()));
      }
      break;
    }
    default: {
      std::string text = in.rest();
      if (auto d = parseDate(text)) dateText(*d);
      break;
    }
  }
  return 0;
}
