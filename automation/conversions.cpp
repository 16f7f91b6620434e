#include "automation/conversions.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <limits>

#include "automation/error.h"

namespace qx::automation {

double roundHalfEven(double v) noexcept {
  return std::nearbyint(v);
}  // default mode: to even

int32_t roundToInt32(double v) {
  double r = roundHalfEven(v);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw Error::overflow();
  return static_cast<int32_t>(r);
}

int16_t roundToInt16(double v) {
  double r = roundHalfEven(v);
  if (!(r >= -32768.0 && r <= 32767.0)) throw Error::overflow();
  return static_cast<int16_t>(r);
}

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The digits of "&H1F" / "&O17" bodies (after the prefix), read up to the first other
// character; a value beyond 32 bits is an overflow, never another number.
uint32_t radixDigits(std::string_view s, int radix, size_t* used) {
  uint64_t v = 0;
  size_t i = 0;
  for (; i < s.size(); ++i) {
    int d = hexValue(s[i]);
    if (d < 0 || d >= radix) break;
    v = v * radix + d;
    if (v > 0xFFFFFFFFull) throw Error::overflow();
  }
  *used = i;
  return static_cast<uint32_t>(v);
}

// As literals of the language: values of up to 4 hexadecimal (6 octal) digits that fit 16 bits
// are an Integer, others a Long, both signed ("&HFFFF" is -1).
double radixValue(std::string_view s, int radix, size_t* used) {
  uint32_t v = radixDigits(s, radix, used);
  if (*used <= (radix == 16 ? 4u : 6u) && v <= 0xFFFF) return static_cast<int16_t>(v);
  return static_cast<int32_t>(v);
}

// Blanks around a whole-text number, as the runtime's conversion skips them: ASCII white space,
// the no-break space and the ideographic space (UTF-8). The length of the blank at `s`, or 0.
size_t blankAt(std::string_view s) {
  if (s.empty()) return 0;
  if (s[0] == ' ' || (s[0] >= '\t' && s[0] <= '\r')) return 1;
  if (s.starts_with("\xC2\xA0")) return 2;
  if (s.starts_with("\xE3\x80\x80")) return 3;
  return 0;
}

std::string_view trimBlanks(std::string_view s) {
  while (size_t n = blankAt(s)) s.remove_prefix(n);
  while (!s.empty()) {
    size_t n = 0;
    for (size_t k : {1, 2, 3}) {
      if (s.size() >= k && blankAt(s.substr(s.size() - k)) == k) n = k;
    }
    if (n == 0) break;
    s.remove_suffix(n);
  }
  return s;
}

// Decimal exponent of the first significant digit of a number text "[-]digits[.digits][e±n]"
// (0 for "1.5", -3 for "0.0012"); decides whether an out-of-range text is too large or too small.
long leadingExponent(std::string_view s) {
  size_t i = s.empty() || s[0] != '-' ? 0 : 1;
  size_t e = s.find_first_of("eE");
  std::string_view mantissa = s.substr(i, e == std::string_view::npos ? e : e - i);
  long exp = 0;
  if (e != std::string_view::npos) {
    std::string_view digits = s.substr(e + 1);
    bool negative = !digits.empty() && digits[0] == '-';
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
    for (char c : digits) exp = std::min(exp * 10 + (c - '0'), 100000L);
    if (negative) exp = -exp;
  }
  size_t point = mantissa.find('.');
  std::string_view intPart = mantissa.substr(0, point);
  size_t firstInt = intPart.find_first_not_of('0');
  if (firstInt != std::string_view::npos)
    return exp + static_cast<long>(intPart.size() - firstInt) - 1;
  if (point == std::string_view::npos) return exp;
  std::string_view frac = mantissa.substr(point + 1);
  size_t firstFrac = frac.find_first_not_of('0');
  return firstFrac == std::string_view::npos ? exp : exp - static_cast<long>(firstFrac) - 1;
}

// A number text as a double: too large is an overflow (6), too small reads as 0.
double toDouble(const std::string& s) {
  double r = 0;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), r);
  (void)p;
  if (ec == std::errc::result_out_of_range) {
    if (leadingExponent(s) >= 0) throw Error::overflow();
    return !s.empty() && s[0] == '-' ? -0.0 : 0.0;
  }
  return r;
}

}  // namespace

double leadingNumber(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') s.push_back(c);
  }
  if (s.size() >= 2 && s[0] == '&') {
    size_t used = 0;
    char k = s[1];
    if (k == 'h' || k == 'H') return radixValue(std::string_view(s).substr(2), 16, &used);
    if (k == 'o' || k == 'O') return radixValue(std::string_view(s).substr(2), 8, &used);
    return 0;
  }
  std::string num;
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) num.push_back(s[i++]);
  bool digits = false;
  while (i < s.size() && isDigit(s[i])) num.push_back(s[i++]), digits = true;
  if (i < s.size() && s[i] == '.') {
    num.push_back(s[i++]);
    while (i < s.size() && isDigit(s[i])) num.push_back(s[i++]), digits = true;
  }
  if (!digits) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    std::string exp = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp.push_back(s[j++]);
    bool expDigits = false;
    while (j < s.size() && isDigit(s[j])) exp.push_back(s[j++]), expDigits = true;
    if (expDigits) num += exp;
  }
  if (num[0] == '+') num.erase(0, 1);
  return toDouble(num);
}

std::optional<double> parseNumber(std::string_view text) {
  // Codes and counts stored as text ("2", "366") are read on every cell: a few plain digits
  // are their own value, exactly.
  if (!text.empty() && text.size() <= 9 &&
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    int32_t v = 0;
    for (char c : text) v = v * 10 + (c - '0');
    return static_cast<double>(v);
  }
  std::string_view s = trimBlanks(text);
  if (s.empty()) return std::nullopt;
  if (s.size() >= 3 && s[0] == '&') {
    // The runtime reads the digits as an unsigned number: "&HFFFF" is 65535; beyond the
    // largest Long it is an overflow.
    size_t used = 0;
    char k = s[1];
    uint32_t v = 0;
    if (k == 'h' || k == 'H') {
      v = radixDigits(s.substr(2), 16, &used);
    } else if (k == 'o' || k == 'O') {
      v = radixDigits(s.substr(2), 8, &used);
    } else {
      return std::nullopt;
    }
    if (used == 0 || used != s.size() - 2) return std::nullopt;
    if (v > 0x7FFFFFFFu) throw Error::overflow();
    return static_cast<double>(v);
  }
  std::string num;
  size_t i = 0;
  if (s[i] == '+' || s[i] == '-') {
    if (s[i] == '-') num.push_back('-');
    ++i;
    while (size_t n = blankAt(s.substr(i))) i += n;
  }
  bool digits = false;
  while (i < s.size() && (isDigit(s[i]) || (s[i] == ',' && digits))) {
    if (s[i] != ',') num.push_back(s[i]);
    digits = digits || isDigit(s[i]);
    ++i;
  }
  if (digits && s[i - 1] == ',') return std::nullopt;
  if (i < s.size() && s[i] == '.') {
    num.push_back('.');
    ++i;
    while (i < s.size() && isDigit(s[i])) num.push_back(s[i++]), digits = true;
  }
  if (!digits) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    num.push_back('e');
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) num.push_back(s[i++]);
    bool expDigits = false;
    while (i < s.size() && isDigit(s[i])) num.push_back(s[i++]), expDigits = true;
    if (!expDigits) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  return toDouble(num);
}

bool isNumeric(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Double:
      return true;
    case VarType::String:
      try {
        return parseNumber(*v.stringIf()).has_value();
      } catch (const Error&) {
        return false;  // a number beyond the range of a double does not convert
      }
    case VarType::Object: {
      if (v.isNothing()) return false;
      return isNumeric(v.value());
    }
    default:
      return false;
  }
}

namespace {

// Significant digits of a double and the decimal exponent of the first one.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

// `precision` significant digits rounded to nearest, as many as the exact value needs (every
// double's expansion ends within 767 digits) when larger; the shortest that read back when < 0.
Decimal scientific(double v, int precision) {
  char buf[800];
  auto r = precision < 0 ? std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific)
                         : std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific,
                                         std::min(precision, 770) - 1);
  std::string_view s(buf, r.ptr - buf);
  Decimal d;
  size_t i = 0;
  if (s[i] == '-') d.negative = true, ++i;
  size_t ePos = s.find('e');
  for (size_t k = i; k < ePos; ++k) {
    if (s[k] != '.') d.digits.push_back(s[k]);
  }
  std::from_chars(s.data() + ePos + 1 + (s[ePos + 1] == '+'), s.data() + s.size(), d.exponent);
  return d;
}

void dropTrailingZeros(Decimal& d) {
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
}

// At most `places` significant digits, an exact half rounded away from zero as the runtime
// does (226177633950266.5 → 226177633950267). Two more digits rounded to nearest decide it
// unless they read "50": then the value may lie just below, on or above the half, and its exact
// expansion decides.
Decimal roundedDigits(double v, int places) {
  Decimal d = scientific(v, places + 2);
  if (d.digits.compare(places, 2, "50") == 0) d = scientific(v, 800);
  bool up = d.digits[places] >= '5';
  d.digits.resize(places);
  if (up) {
    int k = places - 1;
    while (k >= 0 && d.digits[k] == '9') d.digits[k--] = '0';
    if (k < 0) {
      d.digits.insert(d.digits.begin(), '1');
      d.digits.pop_back();
      ++d.exponent;
    } else {
      ++d.digits[k];
    }
  }
  dropTrailingZeros(d);
  return d;
}

// Plain digits while the exponent is within [-4, 15), otherwise "d.dddE±xx".
std::string writeDecimal(const Decimal& d) {
  std::string r = d.negative ? "-" : "";
  int n = static_cast<int>(d.digits.size());
  if (d.exponent < -4 || d.exponent >= 15) {
    r += d.digits[0];
    if (n > 1) r += "." + d.digits.substr(1);
    r += d.exponent < 0 ? "E-" : "E+";
    std::string es = std::to_string(std::abs(d.exponent));
    return r + (es.size() < 2 ? "0" : "") + es;
  }
  int whole = d.exponent + 1;  // digits before the point
  if (whole <= 0) return r + "0." + std::string(-whole, '0') + d.digits;
  if (whole >= n) return r + d.digits + std::string(whole - n, '0');
  return r + d.digits.substr(0, whole) + "." + d.digits.substr(whole);
}

std::string formatSpecial(double v) {
  if (std::isnan(v)) return "NaN";
  return v < 0 ? "-Infinity" : "Infinity";
}

}  // namespace

std::string formatDouble(double v) {
  if (!std::isfinite(v)) return formatSpecial(v);
  if (v == 0) return "0";
  return writeDecimal(roundedDigits(v, 15));
}

std::string formatDoubleRoundTrip(double v) {
  if (!std::isfinite(v)) return formatSpecial(v);
  if (v == 0) return "0";
  Decimal d = scientific(v, -1);
  dropTrailingZeros(d);
  return writeDecimal(d);
}

namespace {
// Past this place every digit of a double is 0: a larger count of decimals is a mistake, not a
// format, and fails with 5 instead of building a text of that many zeros.
constexpr int kMaxFormatDecimals = 340;
}  // namespace

namespace {

// The digits of a whole number of `decimals` places written out: sign, grouped integer part,
// point and fraction.
std::string placeDigits(bool negative, uint64_t places, int decimals, bool grouping) {
  char buf[24];
  char* end = std::to_chars(buf, buf + sizeof buf, places).ptr;
  int len = static_cast<int>(end - buf);
  int intLen = std::max(len - decimals, 1);
  std::string r;
  r.reserve(static_cast<size_t>(intLen + intLen / 3 + decimals + 2));
  if (negative && places != 0) r.push_back('-');
  auto digit = [&](int i) {  // the i-th of intLen + decimals digits, zeros in front
    int at = i - (intLen + decimals - len);
    return at < 0 ? '0' : buf[at];
  };
  for (int i = 0; i < intLen; ++i) {
    if (grouping && i > 0 && (intLen - i) % 3 == 0) r.push_back(',');
    r.push_back(digit(i));
  }
  if (decimals > 0) {
    r.push_back('.');
    for (int i = intLen; i < intLen + decimals; ++i) r.push_back(digit(i));
  }
  return r;
}

// Most figures scaled to their places land far from a half: rounding the scaled double then
// gives the digits the shortest text would. Empty near a half, or when too large to be sure.
std::optional<uint64_t> placesWhenClear(double v, int decimals) {
  static constexpr double kScale[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
  if (decimals >= static_cast<int>(std::size(kScale))) return std::nullopt;
  double scaled = std::fabs(v) * kScale[decimals];
  // Below 2^40 the product's error and the shortest text's distance from v stay under 1e-3
  // (infinities and NaN fail the test).
  if (!(scaled < 1099511627776.0)) return std::nullopt;
  double whole = std::floor(scaled);
  double fraction = scaled - whole;
  if (std::fabs(fraction - 0.5) < 1e-3) return std::nullopt;
  return static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
}

}  // namespace

std::string formatNumber(double v, int decimals, bool grouping) {
  // Too many decimals, infinities and NaN are never clear: the digit path answers them.
  const int places = std::max(decimals, 0);
  if (auto scaled = placesWhenClear(v, places)) {
    return placeDigits(std::signbit(v), *scaled, places, grouping);
  }
  return formatNumberByDigits(v, decimals, grouping);
}

std::string formatNumberByDigits(double v, int decimals, bool grouping) {
  if (decimals < 0) decimals = 0;
  if (decimals > kMaxFormatDecimals) {
    throw Error::invalidProcedureCall(std::to_string(decimals) + " decimals");
  }
  if (!std::isfinite(v)) return formatDouble(v);
  // The shortest decimal digits of |v|: v = 0.d1d2d3... × 10^exp10.
  char sci[40];
  auto conv = std::to_chars(sci, sci + sizeof sci, std::fabs(v), std::chars_format::scientific);
  const char* e = std::find(sci, conv.ptr, 'e');
  char digits[24];
  int n = 0;
  for (const char* p = sci; p < e; ++p) {
    if (*p != '.') digits[n++] = *p;
  }
  int exp = 0;
  std::from_chars(e + 1 + (e[1] == '+'), conv.ptr, exp);
  int exp10 = exp + 1;
  while (n > 1 && digits[n - 1] == '0') --n;
  if (v == 0) n = 0;
  auto digitAt = [&](int position) {  // the digit `position` places after the point's left
    return position >= 0 && position < n ? digits[position] : '0';
  };

  // Integer and fraction digits with `decimals` places, rounded half away from zero on the
  // decimal value.
  int intLen = std::max(exp10, 1);
  int shift = exp10 - intLen;  // digits before the first integer place (0 unless exp10 <= 0)
  std::string all(static_cast<size_t>(intLen + decimals), '0');
  for (int i = 0; i < intLen + decimals; ++i) all[i] = digitAt(i + shift);
  if (digitAt(intLen + decimals + shift) >= '5') {
    int k = intLen + decimals - 1;
    while (k >= 0 && all[k] == '9') all[k--] = '0';
    if (k < 0) {
      all.insert(all.begin(), '1');
      ++intLen;
    } else {
      ++all[k];
    }
  }
  int firstNonZero = 0;
  while (firstNonZero < intLen - 1 && all[firstNonZero] == '0') ++firstNonZero;
  bool zero = all.find_first_not_of('0') == std::string::npos;

  std::string r;
  r.reserve(all.size() + all.size() / 3 + 3);
  if (v < 0 && !zero) r.push_back('-');
  int shown = intLen - firstNonZero;
  for (int i = 0; i < shown; ++i) {
    if (grouping && i > 0 && (shown - i) % 3 == 0) r.push_back(',');
    r.push_back(all[firstNonZero + i]);
  }
  if (decimals > 0) {
    r.push_back('.');
    r.append(all, intLen, decimals);
  }
  return r;
}

namespace {
using namespace std::chrono;
constexpr sys_days kEpoch = sys_days(year(1899) / December / 30);
// Serials of the dates there are, 0001-01-01 00:00:00 to 9999-12-31 23:59:59 (both bounds
// excluded; before the epoch the time counts away from zero).
constexpr double kBeforeFirstDate = -693594, kAfterLastDate = 2958466;
}  // namespace

Date makeDate(int y, int m, int d, int hh, int mi, int ss) {
  // std::chrono keeps months and days in a byte: check the range before they are cut.
  if (m < 1 || m > 12 || d < 1 || d > 31 || y < 1 || y > 9999) {
    throw Error::invalidProcedureCall("no such date");
  }
  year_month_day ymd{year(y), month(static_cast<unsigned>(m)), day(static_cast<unsigned>(d))};
  if (!ymd.ok()) throw Error::invalidProcedureCall("no such date");
  double days = (sys_days(ymd) - kEpoch).count();
  double t = (hh * 3600.0 + mi * 60.0 + ss) / 86400.0;
  return Date{days >= 0 ? days + t : days - t};
}

DateParts dateParts(Date date) {
  if (!(date.serial > kBeforeFirstDate && date.serial < kAfterLastDate)) throw Error::overflow();
  double whole = std::trunc(date.serial);
  double frac = std::fabs(date.serial - whole);
  long secs = std::lround(frac * 86400.0);
  if (secs >= 86400) secs = 86399;
  year_month_day ymd(kEpoch + days(static_cast<long>(whole)));
  DateParts p;
  p.year = static_cast<int>(ymd.year());
  p.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  p.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  p.hour = static_cast<int>(secs / 3600);
  p.minute = static_cast<int>(secs / 60 % 60);
  p.second = static_cast<int>(secs % 60);
  return p;
}

std::string formatDatePattern(Date d, std::string_view pattern) {
  DateParts p = dateParts(d);
  // Written in place: a ledger header formats a date per column.
  std::string r;
  r.reserve(pattern.size() + 2);
  auto two = [&r](int v) {
    if (v < 10) r.push_back('0');
    char buf[12];
    r.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
  };
  for (size_t i = 0; i < pattern.size();) {
    std::string_view rest = pattern.substr(i);
    if (rest.starts_with("yyyy")) {
      char y[12];
      size_t n = static_cast<size_t>(std::to_chars(y, y + sizeof y, p.year).ptr - y);
      if (n < 4) r.append(4 - n, '0');
      r.append(y, n);
      i += 4;
    } else if (rest.starts_with("mm")) {
      two(p.month), i += 2;
    } else if (rest.starts_with("dd")) {
      two(p.day), i += 2;
    } else if (rest.starts_with("hh")) {
      two(p.hour), i += 2;
    } else if (rest.starts_with("nn")) {
      two(p.minute), i += 2;
    } else if (rest.starts_with("ss")) {
      two(p.second), i += 2;
    } else {
      r += pattern[i++];
    }
  }
  return r;
}

std::string formatDate(Date d) {
  DateParts p = dateParts(d);
  if (p.hour == 0 && p.minute == 0 && p.second == 0) return formatDatePattern(d, "yyyy-mm-dd");
  return formatDatePattern(d, "yyyy-mm-dd hh:nn:ss");
}

std::optional<Date> parseDate(std::string_view text) noexcept {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  std::string_view s = text.substr(b, e - b);
  int v[6] = {0, 0, 0, 0, 0, 0};
  size_t i = 0;
  auto number = [&](int& out, size_t maxDigits) {
    size_t start = i;
    out = 0;
    while (i < s.size() && isDigit(s[i]) && i - start < maxDigits) out = out * 10 + (s[i++] - '0');
    return i > start;
  };
  if (!number(v[0], 4) || i != 4) return std::nullopt;
  char sep = i < s.size() ? s[i] : 0;
  if (sep != '-' && sep != '/') return std::nullopt;
  ++i;
  if (!number(v[1], 2) || i >= s.size() || s[i] != sep) return std::nullopt;
  ++i;
  if (!number(v[2], 2)) return std::nullopt;
  if (i < s.size()) {
    if (s[i] != ' ' && s[i] != 'T') return std::nullopt;
    ++i;
    if (!number(v[3], 2) || i >= s.size() || s[i] != ':') return std::nullopt;
    ++i;
    if (!number(v[4], 2)) return std::nullopt;
    if (i < s.size()) {
      if (s[i] != ':') return std::nullopt;
      ++i;
      if (!number(v[5], 2)) return std::nullopt;
    }
    if (i != s.size() || v[3] > 23 || v[4] > 59 || v[5] > 59) return std::nullopt;
  }
  try {
    return makeDate(v[0], v[1], v[2], v[3], v[4], v[5]);
  } catch (const Error&) {
    return std::nullopt;
  }
}

}  // namespace qx::automation
