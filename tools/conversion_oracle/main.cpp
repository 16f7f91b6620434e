// The automation runtime as the oracle for our conversions (scripts/windows-test):
//
//   qxconversionoracle generate CASES
//       writes the cases: doubles (as the hex of their bits) of the kinds a planner's arithmetic
//       makes, around the 15-digit, exponent and integer limits, and random ones from a fixed
//       seed; texts with signs, grouping, exponents, "&H"/"&O" forms and blanks, and the text
//       formatDouble writes for every one of the doubles.
//   qxconversionoracle compare ANSWERS DIFFERENCES
//       reads the runtime's answers (win32/oracle/conversion_answers.c, run under Wine) and
//       answers every case with formatDouble, roundToInt32, roundToInt16 and parseNumber. Fails
//       on any disagreement not in DIFFERENCES, and on a listed difference that no longer occurs.
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "automation/conversions.h"
#include "automation/error.h"

namespace {

using qx::automation::Error;

std::string toHex(std::string_view bytes) {
  static const char* kDigits = "0123456789abcdef";
  std::string r;
  for (unsigned char c : bytes) r += {kDigits[c >> 4], kDigits[c & 15]};
  return r;
}

std::string fromHex(std::string_view hex) {
  std::string r;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    unsigned v = 0;
    std::from_chars(hex.data() + i, hex.data() + i + 2, v, 16);
    r.push_back(static_cast<char>(v));
  }
  return r;
}

std::string bitsHex(double v) {
  char buf[17];
  auto r = std::to_chars(buf, buf + 16, std::bit_cast<uint64_t>(v), 16);
  return std::string(16 - (r.ptr - buf), '0') + std::string(buf, r.ptr);
}

double fromBits(std::string_view hex) {
  uint64_t bits = 0;
  std::from_chars(hex.data(), hex.data() + hex.size(), bits, 16);
  return std::bit_cast<double>(bits);
}

// A double as its shortest round-trip text, for the report.
std::string shortest(double v) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

// A text as a quoted literal with escapes, as the differences list writes inputs.
std::string quoted(std::string_view s) {
  std::string r = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      r += '\\', r += static_cast<char>(c);
    } else if (c == '\t') {
      r += "\\t";
    } else if (c == '\n') {
      r += "\\n";
    } else if (c == '\r') {
      r += "\\r";
    } else if (c < 0x20) {
      r += "\\x" + toHex(std::string(1, static_cast<char>(c)));
    } else {
      r += static_cast<char>(c);
    }
  }
  return r + "\"";
}

// --- the cases ---------------------------------------------------------------------------------

class Cases {
 public:
  void value(double v) {
    // The runtime's arithmetic never makes an infinity or a NaN: it raises 6 or 11 instead.
    if (std::isfinite(v) && values_.insert(std::bit_cast<uint64_t>(v)).second) order_.push_back(v);
  }
  void text(std::string t) {
    if (texts_.insert(t).second) textOrder_.push_back(std::move(t));
  }
  void write(std::ostream& out) {
    // The text we write for a double is read back by the component: the runtime reads it too.
    for (double v : order_) text(qx::automation::formatDouble(v));
    for (double v : order_) out << "R8 " << bitsHex(v) << "\n";
    for (const std::string& t : textOrder_) out << "STR " << toHex(t) << "\n";
  }
  size_t values() const { return order_.size(); }
  size_t texts() const { return textOrder_.size(); }

 private:
  std::set<uint64_t> values_;
  std::vector<double> order_;
  std::set<std::string> texts_;
  std::vector<std::string> textOrder_;
};

double pow10(int e) {
  return std::strtod(("1e" + std::to_string(e)).c_str(), nullptr);
}

void planner(Cases& c, std::mt19937_64& gen) {
  auto pick = [&](uint64_t n) { return static_cast<int64_t>(gen() % n); };
  c.value(1000.0 - 333.3 - 333.3 - 333.4);
  c.value(0.1 + 0.2);
  for (int i = 0; i < 700; ++i) {
    int decimals = static_cast<int>(pick(5));
    double scale = pow10(decimals);
    double qty = static_cast<double>(1 + pick(10'000'000)) / scale;
    c.value(qty);
    // A quantity decomposed over lines, the remainder after each piece.
    double rest = qty;
    for (int parts = 2 + static_cast<int>(pick(4)); parts > 0; --parts) {
      double piece = static_cast<double>(pick(static_cast<uint64_t>(qty * scale / 2) + 1)) / scale;
      rest -= piece;
      c.value(rest);
      c.value(rest + piece * 0.5);
    }
    // Limits as percentages of the quantity, an equal share, a running sum.
    static const double kPercents[] = {0.5, 1, 2.5, 3, 5, 7.5, 10, 12.5, 33.3};
    c.value(qty * kPercents[pick(9)] / 100);
    c.value(qty / static_cast<double>(2 + pick(11)));
    c.value(qty + static_cast<double>(pick(100'000)) / pow10(static_cast<int>(pick(5))));
  }
}

void limits(Cases& c, std::mt19937_64& gen) {
  for (int e = -324; e <= 308; ++e) {
    double p = pow10(e);
    for (double v : {p, std::nextafter(p, 0.0), std::nextafter(p, INFINITY), -p}) c.value(v);
    for (const char* m : {"9.99999999999999", "9.999999999999995", "9.9999999999999949",
                          "1.00000000000001", "1.23456789012345", "1.234567890123455"}) {
      c.value(std::strtod((std::string(m) + "e" + std::to_string(e)).c_str(), nullptr));
    }
  }
  // Exact ties at the 15th significant digit: 16-digit integers ending in 5, 15-digit integers
  // and a half, 14 digits and a quarter.
  for (int i = 0; i < 120; ++i) {
    int64_t k = 100'000'000'000'000 + static_cast<int64_t>(gen() % 900'000'000'000'000);
    c.value(static_cast<double>(k / 10 * 10 + 5));
    c.value(static_cast<double>(k) + 0.5);
    c.value(static_cast<double>(k / 10) + 0.25);
    c.value(-(static_cast<double>(k / 10) + 0.75));
  }
  for (double v : {999999999999999.0,
                   999999999999999.4,
                   999999999999999.5,
                   999999999999998.5,
                   1e15 - 1,
                   1e15 + 1,
                   9007199254740992.0,
                   9007199254740994.0,
                   0.0001,
                   0.00009999999999999999,
                   0.000099999999999999995,
                   0.00001,
                   123456789012345.0,
                   1234567890123456.0,
                   0.0,
                   -0.0,
                   5e-324,
                   DBL_MIN,
                   DBL_MAX,
                   -DBL_MAX,
                   std::nextafter(DBL_MIN, 0.0)}) {
    c.value(v);
  }
  // Rounding to 16 and 32 bits: halves go to the even neighbour; the limits overflow.
  for (double edge : {32767.0, 32768.0, -32768.0, -32769.0, 2147483647.0, 2147483648.0,
                      -2147483648.0, -2147483649.0, 0.0, 1.0, 2.0, -1.0, -2.0}) {
    for (double d : {-0.5, 0.5, 0.0, 0.49999999999999994, -0.49999999999999994}) {
      double v = edge + d;
      c.value(v);
      c.value(std::nextafter(v, INFINITY));
      c.value(std::nextafter(v, -INFINITY));
    }
  }
  for (int i = 0; i < 300; ++i) {
    c.value(static_cast<double>(static_cast<int64_t>(gen() % 80'000) - 40'000) + 0.5);
    c.value(static_cast<double>(static_cast<int64_t>(gen() % 5'000'000'000) - 2'500'000'000) + 0.5);
  }
}

void randomDoubles(Cases& c, std::mt19937_64& gen) {
  for (int n = 0; n < 1000;) {
    double v = std::bit_cast<double>(gen());
    if (std::isfinite(v)) c.value(v), ++n;
  }
  for (int i = 0; i < 1000; ++i) {
    double mantissa = static_cast<double>(gen() >> 11) * 0x1p-53 * 20 - 10;
    c.value(mantissa * pow10(static_cast<int>(gen() % 61) - 30));
  }
}

// Hand-picked texts: the forms the runtime reads and those it refuses.
// (Laid out by hand: the formatter puts one text a line after any that ends in a line feed.)
// clang-format off
const char* const kTexts[] = {
    "5", "+5", "-5", "- 5", "+ 5", "5-", "5+", "5 -", "(5)", "$5", "\u00A55", "1,234", "1,234.5",
    "-1,234", "1,2,3", "12,34", ",1", "1,", "1,,2", "1,234,", "1,.5", "1,234e2", "1e5", "1E+5",
    "1e", "1e+", "1D2", "1d2", "1.5e-3", "e5", "1e400", "1e-400", "5e 5", "1E2E3", "&H10", "&HFFFF",
    "&H8000", "&HFFFFFFFF", "&H7FFFFFFF", "&H80000000", "&O17", "&O777777", "&O177777", "&H", "&HG",
    "&h1f", "&O8", "&o7", "&H10 ", " &H10", "&H 10", "&H-1", "&HFFFFFFFFF", " 5", "5 ", "\t5",
    "5\t", "\n5", "5\n", "\r\n5", "\v5", "\f5", "- \n5", "\u00A05", "5\u00A0", "\u30005", "5\u3000",
    "1\u00A0000", "-0", "&H0", " ", "", "5 6", "1 000", ".", ".5", "5.", "-.5", "1.2.3", "0x10",
    "\uFF11\uFF12", "00012", "1,000,000", "--5", "+-5", "- -5", "5%", "True", "1.5,2",
    "1.7976931348623157e308", "1.8e308", "4e-324", "2.2250738585072014e-308",
    "9999999999999999999999", "123456789012345678", "0.30000000000000004", "333.40000000000003"};
// clang-format on

void texts(Cases& c, std::mt19937_64& gen) {
  for (const char* t : kTexts) {
    c.text(t);
  }
  auto pick = [&](uint64_t n) { return static_cast<int>(gen() % n); };
  auto digits = [&](int n, int radix) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "0123456789ABCDEF"[pick(static_cast<uint64_t>(radix))];
    return s;
  };
  auto blanks = [&] { return std::string(pick(4) == 0 ? 1 : 0, pick(2) ? ' ' : '\t'); };
  for (int i = 0; i < 1500; ++i) {
    std::string t = blanks();
    if (pick(6) == 0) {
      bool hex = pick(2);
      t += std::string("&") + (pick(2) ? (hex ? "H" : "O") : (hex ? "h" : "o"));
      t += digits(1 + pick(hex ? 9 : 12), hex ? 16 : 8);
    } else {
      if (int s = pick(4); s < 2) t += s ? "-" : "+";
      // Up to 15 significant digits, the precision every text we write keeps.
      int whole = pick(8), fraction = pick(4) ? pick(8) : 0;
      std::string intPart = digits(whole, 10);
      if (pick(5) == 0 && intPart.size() > 3) {  // grouped by thousands
        for (int k = static_cast<int>(intPart.size()) - 3; k > 0; k -= 3) intPart.insert(k, ",");
      }
      t += intPart;
      if (fraction > 0 || whole == 0) t += "." + digits(fraction + (whole == 0), 10);
      if (pick(4) == 0) {
        t += pick(2) ? "E" : "e";
        if (int s = pick(3); s < 2) t += s ? "-" : "+";
        t += std::to_string(pick(330));
      }
    }
    t += blanks();
    c.text(std::move(t));
  }
}

int generate(const char* path) {
  Cases c;
  std::mt19937_64 gen(20261209);
  planner(c, gen);
  limits(c, gen);
  randomDoubles(c, gen);
  texts(c, gen);
  std::ofstream out(path);
  c.write(out);
  out.close();
  if (!out) {
    std::cerr << "cannot write " << path << "\n";
    return 1;
  }
  std::cout << "CASES WRITTEN (" << c.values() << " values, " << c.texts() << " texts)\n";
  return 0;
}

// --- the comparison ----------------------------------------------------------------------------

// A runtime answer as the report shows it: "!80020005" is a type mismatch, "!8002000a" an overflow.
std::string runtimeFailure(std::string_view hr) {
  if (hr == "80020005") return "type mismatch";
  if (hr == "8002000a") return "overflow";
  return "failure " + std::string(hr);
}

template <class F>
std::string ours(F&& f) {
  try {
    return f();
  } catch (const Error& e) {
    return e.number() == 6 ? "overflow" : "error " + std::to_string(e.number());
  }
}

struct Difference {
  std::string function, locale, input, runtime, ours;
};

// The one class of differences listed by rule rather than input: the runtime reads a text with
// an exponent, or with more than 12 significant digits, up to a few units in the last place away
// from the nearest double (tiny ones as 0); ours is the nearest double.
constexpr std::string_view kImpreciseInput = "<a text with an exponent or over 12 digits>";
constexpr std::string_view kImpreciseRuntime = "<up to 5 units in the last place away>";
constexpr std::string_view kImpreciseOurs = "<the nearest double>";

bool imprecise(std::string_view text, const std::string& runtime, const std::string& mine) {
  size_t significant = 0;
  bool exponent = false, leading = true;
  for (char c : text) {
    if (c == 'e' || c == 'E') exponent = true;
    if (c >= '1' && c <= '9') leading = false;
    if (c >= '0' && c <= '9' && !leading && !exponent) ++significant;
  }
  if (!exponent && significant <= 12) return false;
  double a = 0, b = 0;
  auto ra = std::from_chars(runtime.data(), runtime.data() + runtime.size(), a);
  auto rb = std::from_chars(mine.data(), mine.data() + mine.size(), b);
  if (ra.ec != std::errc() || rb.ec != std::errc() || ra.ptr != runtime.data() + runtime.size() ||
      rb.ptr != mine.data() + mine.size() || std::signbit(a) != std::signbit(b)) {
    return false;
  }
  int64_t ia = std::bit_cast<int64_t>(a), ib = std::bit_cast<int64_t>(b);
  return (ia > ib ? ia - ib : ib - ia) <= 5;
}

std::vector<Difference> readDifferences(const char* path, bool* ok) {
  std::vector<Difference> r;
  std::ifstream in(path);
  *ok = static_cast<bool>(in);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f;
    size_t at = 0;
    for (int k = 0; k < 5; ++k) {
      size_t bar = line.find(" | ", at);
      if (bar == std::string::npos) break;
      f.push_back(line.substr(at, bar - at));
      at = bar + 3;
    }
    if (f.size() != 5) {
      std::cerr << "bad line in " << path << ": " << line << "\n";
      *ok = false;
      continue;
    }
    r.push_back({f[0], f[1], f[2], f[3], f[4]});
  }
  return r;
}

int compare(const char* answersPath, const char* differencesPath) {
  bool listOk = false;
  std::vector<Difference> listed = readDifferences(differencesPath, &listOk);
  if (!listOk) return 1;
  for (const Difference& d : listed) {
    if (d.input.starts_with('<') && (d.input != kImpreciseInput || d.runtime != kImpreciseRuntime ||
                                     d.ours != kImpreciseOurs)) {
      std::cerr << "unknown class of differences: " << d.input << "\n";
      return 1;
    }
  }
  std::vector<size_t> seen(listed.size(), 0);
  std::ifstream in(answersPath);
  if (!in) {
    std::cerr << "cannot read " << answersPath << "\n";
    return 1;
  }
  size_t answers = 0, compared = 0, expected = 0, unlisted = 0;
  std::set<std::string> values, texts;
  auto check = [&](const std::string& function, const std::string& locale, const std::string& input,
                   const std::string& runtime, const std::string& mine,
                   std::string_view text = {}) {
    ++compared;
    if (runtime == mine) return;
    for (size_t i = 0; i < listed.size(); ++i) {
      const Difference& d = listed[i];
      if (d.function != function || (d.locale != "*" && d.locale != locale)) continue;
      if (d.input == kImpreciseInput ? imprecise(text, runtime, mine)
                                     : d.input == input && d.runtime == runtime && d.ours == mine) {
        ++seen[i];
        return;
      }
    }
    ++unlisted;
    std::cout << "NEW DIFFERENCE: " << function << " | " << locale << " | " << input << " | "
              << runtime << " | " << mine << "\n";
  };
  std::string line;
  while (std::getline(in, line)) {
    if (line.ends_with('\r')) line.pop_back();  // written in text mode on Windows
    // Fields are separated by one space each; the hex of an empty text is empty.
    std::vector<std::string> fields;
    for (size_t at = 0;;) {
      size_t space = line.find(' ', at);
      fields.push_back(line.substr(at, space - at));
      if (space == std::string::npos) break;
      at = space + 1;
    }
    if (fields[0] == "ANSWERS" && fields.size() == 2) {
      expected = std::stoul(fields[1]);
      continue;
    }
    if (fields.size() < 4) {
      std::cerr << "bad answer line: " << line << "\n";
      return 1;
    }
    const std::string &kind = fields[0], &hex = fields[1], &locale = fields[2];
    ++answers;
    std::map<std::string, std::string> a;
    for (size_t k = 3; k < fields.size(); ++k) {
      size_t eq = fields[k].find('=');
      if (eq != std::string::npos) a[fields[k].substr(0, eq)] = fields[k].substr(eq + 1);
    }
    auto shown = [](const std::string& answer, auto&& success) {
      return !answer.empty() && answer[0] == '!' ? runtimeFailure(answer.substr(1))
                                                 : success(answer);
    };
    if (kind == "R8") {
      double v = fromBits(hex);
      values.insert(hex);
      std::string input = shortest(v);
      check("VarBstrFromR8", locale, input,
            shown(a["bstr"], [](const std::string& s) { return quoted(fromHex(s)); }),
            ours([&] { return quoted(qx::automation::formatDouble(v)); }));
      auto number = [](const std::string& s) { return s; };
      check("VarI4FromR8", locale, input, shown(a["i4"], number),
            ours([&] { return std::to_string(qx::automation::roundToInt32(v)); }));
      check("VarI2FromR8", locale, input, shown(a["i2"], number),
            ours([&] { return std::to_string(qx::automation::roundToInt16(v)); }));
    } else if (kind == "STR") {
      std::string text = fromHex(hex);
      texts.insert(text);
      check("VarR8FromStr", locale, quoted(text),
            shown(a["r8"], [](const std::string& s) { return shortest(fromBits(s)); }), ours([&] {
              std::optional<double> n = qx::automation::parseNumber(text);
              return n ? shortest(*n) : std::string("type mismatch");
            }),
            text);
    } else {
      std::cerr << "bad answer line: " << line << "\n";
      return 1;
    }
  }
  size_t stale = 0;
  for (size_t i = 0; i < listed.size(); ++i) {
    const Difference& d = listed[i];
    std::cout << (seen[i] ? "listed difference seen " + std::to_string(seen[i]) + " times: "
                          : std::string("LISTED DIFFERENCE NO LONGER SEEN: "))
              << d.function << " | " << d.locale << " | " << d.input << " | " << d.runtime << " | "
              << d.ours << "\n";
    stale += seen[i] == 0;
  }
  std::cout << answers << " answers (" << values.size() << " values, " << texts.size()
            << " texts, 2 locales), " << compared << " conversions compared, "
            << listed.size() - stale << " listed differences seen, " << unlisted
            << " new differences, " << stale << " listed differences no longer seen\n";
  if (answers == 0 || answers != expected) {
    std::cout << "the answers are incomplete: " << answers << " of " << expected << "\n";
    return 1;
  }
  if (unlisted || stale) return 1;
  std::cout << "CONVERSIONS AGREE\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string command = argc > 1 ? argv[1] : "";
  if (command == "generate" && argc == 3) return generate(argv[2]);
  if (command == "compare" && argc == 4) return compare(argv[2], argv[3]);
  std::cerr << "usage: qxconversionoracle generate CASES\n"
               "       qxconversionoracle compare ANSWERS DIFFERENCES\n";
  return 2;
}
