#include "automation/conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>

#include "live_objects_fixture.h"
#include "value_box.h"

namespace qx::automation {
namespace {

using testing::errorNumber;
using testing::LiveObjectsTest;
using testing::ValueBox;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// --- to Long / Integer ---------------------------------------------------------------------

struct IntRow {
  double in;
  std::optional<int32_t> out;  // empty: overflow
};

TEST(RoundToInt32, HalvesGoToEvenAndTheRangeEdgesOverflow) {
  const IntRow rows[] = {
      {0.0, 0},
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {3.5, 4},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {2.4999999, 2},
      {2.5000001, 3},
      {-2.5000001, -3},
      {2147483647.0, 2147483647},
      {2147483647.4, 2147483647},
      {2147483646.5, 2147483646},
      {2147483647.5, std::nullopt},  // rounds to 2147483648
      {2147483648.0, std::nullopt},
      {-2147483648.0, -2147483647 - 1},
      {-2147483648.4, -2147483647 - 1},
      {-2147483648.5, -2147483647 - 1},  // even neighbour is in range
      {-2147483648.6, std::nullopt},
      {-2147483649.0, std::nullopt},
      {1e300, std::nullopt},
      {kInf, std::nullopt},
      {-kInf, std::nullopt},
      {kNaN, std::nullopt},
  };
  for (const IntRow& r : rows) {
    SCOPED_TRACE(::testing::PrintToString(r.in));
    if (r.out) {
      EXPECT_EQ(roundToInt32(r.in), *r.out);
    } else {
      EXPECT_EQ(errorNumber([&] { (void)roundToInt32(r.in); }), 6);
    }
  }
}

TEST(RoundToInt16, HalvesGoToEvenAndTheRangeEdgesOverflow) {
  const IntRow rows[] = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {-2.5, -2},
      {32767.0, 32767},
      {32767.4, 32767},
      {32766.5, 32766},
      {32767.5, std::nullopt},
      {32768.0, std::nullopt},
      {-32768.0, -32768},
      {-32768.5, -32768},
      {-32768.6, std::nullopt},
      {-32769.0, std::nullopt},
      {kNaN, std::nullopt},
  };
  for (const IntRow& r : rows) {
    SCOPED_TRACE(::testing::PrintToString(r.in));
    if (r.out) {
      EXPECT_EQ(roundToInt16(r.in), *r.out);
    } else {
      EXPECT_EQ(errorNumber([&] { (void)roundToInt16(r.in); }), 6);
    }
  }
}

struct VariantIntRow {
  const char* what;
  Variant in;
  int32_t out;  // when error is 0
  int32_t error;
};

TEST(VariantToInt, FollowsTheRoundingRuleFromEveryType) {
  const VariantIntRow rows[] = {
      {"Empty", Variant(), 0, 0},
      {"True", Variant(true), -1, 0},
      {"False", Variant(false), 0, 0},
      {"Integer", Variant(int16_t{-7}), -7, 0},
      {"Double half", Variant(6.5), 6, 0},
      {"text half", Variant("2.5"), 2, 0},
      {"text with blanks", Variant(" 3.5 "), 4, 0},
      {"text grouped", Variant("1,234"), 1234, 0},
      {"hex text", Variant("&HFF"), 255, 0},
      {"date", Variant(Date{1.5}), 2, 0},
      {"not a number", Variant("abc"), 0, 13},
      {"empty text", Variant(""), 0, 13},
      {"Null", Variant::null(), 0, 94},
      {"too large", Variant(3e9), 0, 6},
  };
  for (const VariantIntRow& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(errorNumber([&] { (void)r.in.toInt32(); }), r.error);
    if (r.error == 0) {
      EXPECT_EQ(r.in.toInt32(), r.out);
    }
  }
}

TEST(VariantToInt16, OverflowsOutsideTheIntegerRange) {
  EXPECT_EQ(Variant(int32_t{32767}).toInt16(), 32767);
  EXPECT_EQ(errorNumber([] { (void)Variant(int32_t{32768}).toInt16(); }), 6);
  EXPECT_EQ(errorNumber([] { (void)Variant("-32769").toInt16(); }), 6);
  EXPECT_EQ(Variant("-32768.5").toInt16(), -32768);
}

// --- to Double -----------------------------------------------------------------------------

struct DoubleRow {
  const char* what;
  Variant in;
  double out;
  int32_t error;
};

TEST(VariantToDouble, ConvertsEachType) {
  const DoubleRow rows[] = {
      {"Empty", Variant(), 0, 0},
      {"True", Variant(true), -1, 0},
      {"False", Variant(false), 0, 0},
      {"Integer", Variant(int16_t{7}), 7, 0},
      {"Long", Variant(int32_t{-70000}), -70000, 0},
      {"Double", Variant(0.1), 0.1, 0},
      {"date", Variant(Date{2.25}), 2.25, 0},
      {"text", Variant("1,234.5"), 1234.5, 0},
      {"text with blanks", Variant("\t 12 "), 12, 0},
      {"text exponent", Variant("1e3"), 1000, 0},
      {"text hex", Variant("&H10"), 16, 0},
      {"text with trailing letters", Variant("12abc"), 0, 13},
      {"empty text", Variant(""), 0, 13},
      {"Null", Variant::null(), 0, 94},
  };
  for (const DoubleRow& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(errorNumber([&] { (void)r.in.toDouble(); }), r.error);
    if (r.error == 0) {
      EXPECT_EQ(r.in.toDouble(), r.out);
    }
  }
}

// --- to text -------------------------------------------------------------------------------

struct TextRow {
  double in;
  const char* out;
};

// As the automation runtime writes them (scripts/windows-test compares thousands more).
TEST(FormatDouble, WritesFifteenDigitsAsTheRuntime) {
  const TextRow rows[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1.0, "1"},
      {100.0, "100"},
      {-2.5, "-2.5"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {1000 - 333.3 - 333.3 - 333.4, "5.6843418860808E-14"},
      {0.0001, "0.0001"},
      {0.00001, "1E-05"},
      {999999999999999.5, "1E+15"},
      {8817417856644230.0, "8.81741785664423E+15"},
      {226177633950266.5, "226177633950267"},  // an exact half: away from zero
      {-22617763395026.25, "-22617763395026.3"},
      {1234.5, "1234.5"},
      {0.001, "0.001"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E+15"},
      {1e21, "1E+21"},
      {-1.25e100, "-1.25E+100"},
      {1.5e-8, "1.5E-08"},
  };
  for (const TextRow& r : rows) {
    SCOPED_TRACE(r.out);
    EXPECT_EQ(formatDouble(r.in), r.out);
  }
}

TEST(FormatDoubleRoundTrip, ReadsBackToTheSameValue) {
  std::mt19937_64 gen(20260305);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-30, 30);
  for (int i = 0; i < 2000; ++i) {
    double v = mantissa(gen) * std::pow(10.0, exponent(gen));
    std::string text = formatDoubleRoundTrip(v);
    SCOPED_TRACE(text);
    std::optional<double> back = parseNumber(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, v);
  }
}

TEST(VariantToString, WritesEachType) {
  struct Row {
    const char* what;
    Variant in;
    const char* out;
  };
  const Row rows[] = {
      {"Empty", Variant(), ""},
      {"True", Variant(true), "True"},
      {"False", Variant(false), "False"},
      {"Integer", Variant(int16_t{-32768}), "-32768"},
      {"Long", Variant(int32_t{2147483647}), "2147483647"},
      {"Double", Variant(1234.5), "1234.5"},
      {"whole Double", Variant(3.0), "3"},
      {"date", Variant(makeDate(2026, 3, 5)), "2026-03-05"},
      {"date and time", Variant(makeDate(2026, 3, 5, 13, 4, 9)), "2026-03-05 13:04:09"},
      {"midnight", Variant(makeDate(2026, 12, 31, 0, 0, 0)), "2026-12-31"},
      {"text", Variant("as is"), "as is"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(r.in.toString(), r.out);
  }
  EXPECT_EQ(errorNumber([] { (void)Variant::null().toString(); }), 94);
}

// --- the leading number of a text ----------------------------------------------------------

TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
  const struct {
    const char* in;
    double out;
  } rows[] = {
      {"123", 123},       {"  1 2 3", 123},   {"\t4\n5", 45},  {"1 . 5", 1.5},    {"12abc", 12},
      {"12 abc 3", 12},   {"abc", 0},         {"", 0},         {"   ", 0},        {"x12", 0},
      {"\r5", 0},  // a carriage return is not a blank
      {"-  5", -5},       {"+3", 3},          {"--3", 0},      {"1.5", 1.5},      {".5", 0.5},
      {"-.25", -0.25},    {"1.2.3", 1.2},     {"1,000", 1},    {"1.5e3", 1500},   {"2E-2", 0.02},
      {"1 e 2", 100},     {"3d2", 300},       {"1e", 1},       {"1e+", 1},        {"1ex", 1},
      {"&HFF", 255},      {"&hff", 255},      {"& H 1 F", 31}, {"&H7FFF", 32767}, {"&HFFFF", -1},
      {"&H10000", 65536}, {"&HFFFFFFFF", -1}, {"&O17", 15},    {"&o8", 0},        {"&H", 0},
      {"&X1", 0},         {"&HFFx", 255},     {"&HFFFFx", -1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::PrintToString(r.in));
    EXPECT_EQ(leadingNumber(r.in), r.out);
  }
}

TEST(LeadingNumber, NumbersBeyondTheRangeOverflowAndTinyOnesAreZero) {
  const struct {
    const char* in;
    std::optional<double> out;  // empty: an overflow (6)
  } rows[] = {
      {"1e400", std::nullopt},
      {"-1e400", std::nullopt},
      {" 1 e 4 0 0 kg", std::nullopt},
      {"1e309", std::nullopt},
      {"0.000001e-400", 0.0},
      {"1e-400", 0.0},
      {"-1e-400", -0.0},
      {"1.7976931348623157e308", 1.7976931348623157e308},
      {"&HFFFFFFFF", -1.0},
      {"&H1FFFFFFFF", std::nullopt},
      {"&H000000001", 1.0},
      {"&O37777777777", -1.0},
      {"&O77777777777", std::nullopt},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.in);
    if (r.out) {
      EXPECT_EQ(leadingNumber(r.in), *r.out);
    } else {
      EXPECT_EQ(errorNumber([&] { leadingNumber(r.in); }), 6);
    }
  }
  EXPECT_EQ(errorNumber([] { leadingNumber("1" + std::string(400, '0')); }), 6);
  // The whole-text rules and every conversion of a text to a number agree.
  EXPECT_EQ(errorNumber([] { parseNumber("-1e400"); }), 6);
  EXPECT_EQ(errorNumber([] { parseNumber("&H100000000"); }), 6);
  EXPECT_EQ(errorNumber([] { parseNumber("&HFFFFFFFF"); }), 6);  // beyond the largest Long
  EXPECT_EQ(parseNumber("&H7FFFFFFF"), 2147483647.0);
  EXPECT_EQ(errorNumber([] { Variant("1e400").toDouble(); }), 6);
  EXPECT_EQ(errorNumber([] { Variant("-1e400").toInt32(); }), 6);
  EXPECT_FALSE(isNumeric(Variant("1e400")));
  EXPECT_FALSE(isNumeric(Variant("&H1FFFFFFFF")));
  EXPECT_TRUE(isNumeric(Variant("1e-400")));
}

// --- the whole text as a number ------------------------------------------------------------

TEST(ParseNumber, ConvertsOnlyWhenTheWholeTextIsANumber) {
  const struct {
    const char* in;
    std::optional<double> out;
  } rows[] = {
      {"12", 12},
      {" 12 ", 12},
      {"\t12\t", 12},
      {"-1.5", -1.5},
      {"- 1.5", -1.5},
      {"+7", 7},
      {".5", 0.5},
      {"5.", 5},
      {"1,234", 1234},
      {"1,234,567.5", 1234567.5},
      {"1e3", 1000},
      {"1E-2", 0.01},
      {"2D1", 20},
      {"-0", -0.0},
      {"&HFF", 255},
      {"&hFFFF", 65535},  // the runtime's digits are unsigned, unlike the leading-number rule
      {"&O10", 8},
      {"\n5\r\n", 5},  // the runtime's blanks: ASCII white space, no-break, ideographic space
      {"\xC2\xA0"
       "5",
       5},
      {"- \xE3\x80\x80"
       "5",
       -5},
      {"1\xC2\xA0"
       "000",
       std::nullopt},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {".", std::nullopt},
      {"-", std::nullopt},
      {"12abc", std::nullopt},
      {"abc", std::nullopt},
      {"1 2", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1e", std::nullopt},
      {"1e+", std::nullopt},
      {",5", std::nullopt},
      {"5,", std::nullopt},
      {"1,.5", std::nullopt},
      {"&H", std::nullopt},
      {"&HG", std::nullopt},
      {"&H1G", std::nullopt},
      {"&X1", std::nullopt},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::PrintToString(r.in));
    EXPECT_EQ(parseNumber(r.in), r.out);
  }
}

class IsNumeric : public LiveObjectsTest {};

TEST_F(IsNumeric, AnswersForEachType) {
  const struct {
    const char* what;
    Variant in;
    bool out;
  } rows[] = {
      {"Empty", Variant(), true},
      {"Null", Variant::null(), false},
      {"Boolean", Variant(false), true},
      {"Integer", Variant(int16_t{1}), true},
      {"Long", Variant(int32_t{1}), true},
      {"Double", Variant(1.5), true},
      {"date", Variant(Date{1}), false},
      {"numeric text", Variant(" 1,234.5 "), true},
      {"hex text", Variant("&H1F"), true},
      {"partly numeric text", Variant("12abc"), false},
      {"empty text", Variant(""), false},
      {"Nothing", Variant::nothing(), false},
      {"object with a numeric value", Variant(ValueBox::create(Variant("42"))), true},
      {"object with a text value", Variant(ValueBox::create(Variant("x"))), false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(isNumeric(r.in), r.out);
  }
}

// --- "#,##0" with decimals -----------------------------------------------------------------

TEST(FormatNumber, GroupsAndRoundsTheDecimalValueHalfAwayFromZero) {
  const struct {
    double in;
    int decimals;
    bool grouping;
    const char* out;
  } rows[] = {
      {0, 0, true, "0"},
      {0, 2, true, "0.00"},
      {1234.5, 2, true, "1,234.50"},
      {1234.5, 0, true, "1,235"},
      {1234567.891, 2, true, "1,234,567.89"},
      {123, 0, true, "123"},
      {999, 0, true, "999"},
      {1000, 0, true, "1,000"},
      {-1234.5, 1, true, "-1,234.5"},
      {1.005, 2, true, "1.01"},  // 1.00499999... in binary; the decimal value is 1.005
      {2.675, 2, true, "2.68"},
      {1.004, 2, true, "1.00"},
      {0.125, 2, true, "0.13"},
      {-0.125, 2, true, "-0.13"},
      {0.5, 0, true, "1"},
      {2.5, 0, true, "3"},
      {-2.5, 0, true, "-3"},
      {999.995, 2, true, "1,000.00"},
      {999999.5, 0, true, "1,000,000"},
      {0.05, 1, true, "0.1"},
      {1e-7, 2, true, "0.00"},
      {-0.0, 2, true, "0.00"},
      {-0.004, 2, true, "0.00"},  // rounds to zero: no sign
      {-0.005, 2, true, "-0.01"},
      {-0.4, 0, true, "0"},
      {12345.678, 2, false, "12345.68"},
      {123, -1, true, "123"},  // negative decimals count as 0
      {1.25, 4, true, "1.2500"},
      {1e21, 0, true, "1,000,000,000,000,000,000,000"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.out);
    EXPECT_EQ(formatNumber(r.in, r.decimals, r.grouping), r.out);
  }
}

// The quick path against the shortest-digits path, over figures a planner's arithmetic makes
// (hours, quotients, ratios, halves and near-halves) and random bit patterns.
TEST(FormatNumber, TheQuickPathAgreesWithTheDigitsOverASweep) {
  std::mt19937_64 random(20261209);
  std::uniform_int_distribution<int64_t> whole(-5'000'000, 5'000'000);
  std::uniform_int_distribution<int> divisor(1, 1000), places(0, 10);
  int checked = 0;
  for (int i = 0; i < 200'000; ++i) {
    double v = 0;
    switch (i % 4) {
      case 0:
        v = static_cast<double>(whole(random)) / divisor(random);
        break;
      case 1:
        v = (static_cast<double>(whole(random)) + 0.5) / 1000;
        break;
      case 2:
        v = static_cast<double>(whole(random)) * 0.1 * 3;
        break;
      default: {
        uint64_t bits = random();
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v)) continue;
      }
    }
    int d = places(random);
    for (bool grouping : {true, false}) {
      ASSERT_EQ(formatNumber(v, d, grouping), formatNumberByDigits(v, d, grouping))
          << formatDoubleRoundTrip(v) << " with " << d;
      ++checked;
    }
  }
  EXPECT_GT(checked, 350'000);
}

TEST(FormatNumber, RefusesMoreDecimalsThanADoubleHas) {
  constexpr int kMostDecimals = 340;
  // The smallest double's digit is the 324th place.
  EXPECT_EQ(formatNumber(5e-324, kMostDecimals, false),
            "0." + std::string(323, '0') + "5" + std::string(16, '0'));
  for (int decimals : {kMostDecimals + 1, 786432, std::numeric_limits<int>::max()}) {
    SCOPED_TRACE(decimals);
    EXPECT_EQ(errorNumber([&] { (void)formatNumber(1.5, decimals); }), 5);
  }
}

// --- dates ---------------------------------------------------------------------------------

TEST(MakeDate, CountsDaysFromTheEpochWithTheTimeAsFraction) {
  const struct {
    int y, m, d, hh, mi, ss;
    double serial;
  } rows[] = {
      {1899, 12, 30, 0, 0, 0, 0},      {1899, 12, 31, 0, 0, 0, 1},
      {1900, 1, 1, 0, 0, 0, 2},        {2000, 1, 1, 0, 0, 0, 36526},
      {2000, 1, 1, 6, 0, 0, 36526.25}, {2000, 1, 1, 18, 0, 0, 36526.75},
      {2000, 2, 29, 0, 0, 0, 36585},   {1899, 12, 29, 0, 0, 0, -1},
      {1899, 12, 29, 6, 0, 0, -1.25},  // before the epoch the time still counts forward
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::PrintToString(r.serial));
    EXPECT_DOUBLE_EQ(makeDate(r.y, r.m, r.d, r.hh, r.mi, r.ss).serial, r.serial);
    DateParts p = dateParts(Date{r.serial});
    EXPECT_EQ(p.year, r.y);
    EXPECT_EQ(p.month, r.m);
    EXPECT_EQ(p.day, r.d);
    EXPECT_EQ(p.hour, r.hh);
    EXPECT_EQ(p.minute, r.mi);
    EXPECT_EQ(p.second, r.ss);
  }
}

TEST(MakeDate, RejectsDaysThatDoNotExist) {
  const struct {
    int y, m, d;
  } rows[] = {
      {2026, 2, 29},  {2026, 13, 1}, {2026, 0, 1}, {2026, 1, 0}, {2026, 4, 31}, {2026, 1, 257},
      {2026, 257, 1}, {2026, -1, 1}, {0, 12, 31},  {-17, 6, 18}, {10000, 1, 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::to_string(r.y) + "-" + std::to_string(r.m) + "-" + std::to_string(r.d));
    EXPECT_EQ(errorNumber([&] { (void)makeDate(r.y, r.m, r.d); }), 5);
  }
}

TEST(DateParts, OutsideTheDatesThereAreIsAnOverflow) {
  for (double serial : {-693594.0, -700000.0, 2958466.0, 1e300, -1e300, std::nan(""),
                        std::numeric_limits<double>::infinity()}) {
    SCOPED_TRACE(serial);
    EXPECT_EQ(errorNumber([&] { (void)dateParts(Date{serial}); }), 6);
    EXPECT_EQ(errorNumber([&] { (void)formatDate(Date{serial}); }), 6);
  }
  EXPECT_EQ(formatDate(Date{-693593.5}), "0001-01-01 12:00:00");
  EXPECT_EQ(formatDate(Date{2958465.5}), "9999-12-31 12:00:00");
  EXPECT_EQ(parseDate("0000-01-01"), std::nullopt);
}

TEST(DateParts, ReadBackEverySecondOfADay) {
  for (int s = 0; s < 86400; s += 7) {
    Date d = makeDate(2026, 3, 5, s / 3600, s / 60 % 60, s % 60);
    DateParts p = dateParts(d);
    ASSERT_EQ(p.day, 5) << s;
    ASSERT_EQ(p.hour * 3600 + p.minute * 60 + p.second, s);
  }
}

TEST(ParseDate, ReadsTheDateFormsOfThisSystem) {
  const Date d = makeDate(2026, 3, 5);
  const Date dt = makeDate(2026, 3, 5, 13, 45, 30);
  const struct {
    const char* in;
    std::optional<Date> out;
  } rows[] = {
      {"2026-03-05", d},
      {"2026/03/05", d},
      {" 2026-03-05 ", d},
      {"2026-3-5", d},
      {"2026-03-05 13:45:30", dt},
      {"2026-03-05T13:45:30", dt},
      {"2026/03/05 13:45", makeDate(2026, 3, 5, 13, 45)},
      {"2026-03-05 00:00", d},
      {"", std::nullopt},
      {"2026-03-05x", std::nullopt},
      {"26-03-05", std::nullopt},
      {"20260-03-05", std::nullopt},
      {"2026.03.05", std::nullopt},
      {"2026-03/05", std::nullopt},
      {"2026-02-30", std::nullopt},
      {"2026-13-01", std::nullopt},
      {"2026-03-05 13", std::nullopt},
      {"2026-03-05 24:00", std::nullopt},
      {"2026-03-05 12:60", std::nullopt},
      {"2026-03-05 12:00:60", std::nullopt},
      {"2026-03-05 12:00 ", makeDate(2026, 3, 5, 12, 0)},
      {"05.03.2026", std::nullopt},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::PrintToString(r.in));
    EXPECT_EQ(parseDate(r.in), r.out);
  }
}

TEST(FormatDate, UsesTheShortFormAndAddsTheTimeWhenThereIsOne) {
  EXPECT_EQ(formatDate(makeDate(2026, 3, 5)), "2026-03-05");
  EXPECT_EQ(formatDate(makeDate(2026, 3, 5, 0, 0, 1)), "2026-03-05 00:00:01");
  EXPECT_EQ(formatDate(makeDate(1899, 12, 29, 6, 0, 0)), "1899-12-29 06:00:00");
  for (const char* text : {"2026-03-05", "2026-12-31 23:59:59", "1900-01-01 12:00:00"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(formatDate(*parseDate(text)), text);
  }
}

TEST(FormatDatePattern, ReplacesEachPartAndCopiesTheRest) {
  const Date d = makeDate(2026, 3, 5, 13, 4, 9);
  const struct {
    const char* pattern;
    const char* out;
  } rows[] = {
      {"yyyy/mm/dd", "2026/03/05"},
      {"yyyymmdd", "20260305"},
      {"dd.mm.yyyy hh:nn:ss", "05.03.2026 13:04:09"},
      {"hh:nn", "13:04"},
      {"Week of yyyy", "Week of 2026"},
      {"", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.pattern);
    EXPECT_EQ(formatDatePattern(d, r.pattern), r.out);
  }
  EXPECT_EQ(formatDatePattern(makeDate(99, 1, 2), "yyyy-mm-dd"), "0099-01-02");
}

TEST(VariantToDate, ReadsTextsAndNumbers) {
  EXPECT_EQ(Variant("2026-03-05").toDate(), makeDate(2026, 3, 5));
  EXPECT_EQ(Variant(2.5).toDate(), Date{2.5});
  EXPECT_EQ(Variant(int32_t{2}).toDate(), Date{2});
  EXPECT_EQ(errorNumber([] { (void)Variant("tomorrow").toDate(); }), 13);
  EXPECT_EQ(errorNumber([] { (void)Variant::null().toDate(); }), 94);
}

}  // namespace
}  // namespace qx::automation
