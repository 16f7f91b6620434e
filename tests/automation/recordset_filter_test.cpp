#include "automation/recordset_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "automation/conversions.h"
#include "live_objects_fixture.h"

namespace qx::automation {
namespace {

using testing::errorNumber;

std::string opText(CompareOp op) {
  switch (op) {
    case CompareOp::Eq:
      return "=";
    case CompareOp::Ne:
      return "<>";
    case CompareOp::Lt:
      return "<";
    case CompareOp::Gt:
      return ">";
    case CompareOp::Le:
      return "<=";
    case CompareOp::Ge:
      return ">=";
  }
  return "?";
}

// A parsed filter written back in one canonical form: field op text[=number] joined by " & ".
std::string canonical(const std::vector<FilterCondition>& conditions) {
  std::string r;
  for (const FilterCondition& c : conditions) {
    if (!r.empty()) r += " & ";
    r += c.field + " " + opText(c.op) + " {" + c.literal.text + "}";
    if (c.literal.number) r += "=" + formatDouble(*c.literal.number);
  }
  return r;
}

TEST(ParseFilter, ReadsConditionsJoinedByAnd) {
  const double day = makeDate(2026, 3, 5).serial;
  const double dayNoon = makeDate(2026, 3, 5, 12, 30).serial;
  const struct {
    const char* in;
    std::string out;
  } rows[] = {
      {"", ""},
      {" \t\r\n", ""},
      {"FLineID = 12", "FLineID = {12}=12"},
      {"FLineID=12", "FLineID = {12}=12"},
      {"FLineID <> -3", "FLineID <> {-3}=-3"},
      {"FQty < 1.5", "FQty < {1.5}=1.5"},
      {"FQty > 1e3", "FQty > {1e3}=1000"},
      {"FQty <= &H10", "FQty <= {&H10}=16"},
      {"FQty >= .5", "FQty >= {.5}=0.5"},
      {"FName = 'abc'", "FName = {abc}"},
      {"FName = ''", "FName = {}"},
      {"FName = 'O''Brien'", "FName = {O'Brien}"},
      {"FName = ''''", "FName = {'}"},
      {"FName = \"say \"\"hi\"\"\"", "FName = {say \"hi\"}"},
      {"FName = \"it's\"", "FName = {it's}"},
      {"FName = 'a AND b'", "FName = {a AND b}"},
      {"FName = ' 12 '", "FName = { 12 }=12"},  // a quoted number keeps its numeric reading
      {"[Line Name] = 'x'", "Line Name = {x}"},
      {"[FName]='x'", "FName = {x}"},
      {"FDate = #2026-03-05#", "FDate = {2026-03-05}=" + formatDouble(day)},
      {"FDate < #2026/03/05 12:30#", "FDate < {2026/03/05 12:30}=" + formatDouble(dayNoon)},
      {"A = 1 AND B = 2", "A = {1}=1 & B = {2}=2"},
      {"A = 1 and B = 2 And C = 'x'", "A = {1}=1 & B = {2}=2 & C = {x}"},
      {"A = 'x'AND B = 2", "A = {x} & B = {2}=2"},
      {"  A\t=\n1  ", "A = {1}=1"},
      {"F_1 = 1", "F_1 = {1}=1"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.in);
    EXPECT_EQ(canonical(parseFilter(r.in)), r.out);
  }
}

TEST(ParseFilter, FailsWith3001NamingTheProblem) {
  const struct {
    const char* in;
    const char* why;
  } rows[] = {
      {"FID", "expected a comparison"},
      {"FID =", "missing value"},
      {"= 1", "expected a field name"},
      {"FID ~ 1", "expected a comparison"},
      {"FID = 1 OR FID = 2", "expected AND"},
      {"FID = 1 AND", "expected a field name"},
      {"FID = 1 ANDX = 2", "expected AND"},
      {"FID = abc", "not a number"},
      {"FID = 1,", "not a number"},
      {"FID >= -1e400", "number out of range"},
      {"FID = &H100000000", "number out of range"},
      {"FName = 'x", "unclosed quote"},
      {"FDate = #2026-03-05", "unclosed #"},
      {"FDate = #2026-02-30#", "not a date"},
      {"[FID = 1", "unclosed ["},
      {"[] = 1", "empty field name"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.in);
    try {
      parseFilter(r.in);
      ADD_FAILURE() << "parsed";
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), 3001);
      EXPECT_NE(e.description().find(r.why), std::string::npos) << e.description();
      EXPECT_NE(e.description().find(r.in), std::string::npos) << e.description();
    }
  }
}

FilterCondition cond(const char* text) {
  std::vector<FilterCondition> c = parseFilter(text);
  EXPECT_EQ(c.size(), 1u);
  return c.at(0);
}

TEST(FilterMatches, ComparesByTheTypeOfTheValue) {
  const Date day = makeDate(2026, 3, 5);
  const struct {
    const char* what;
    Variant value;
    std::string condition;
    bool match;
  } rows[] = {
      {"Long equal", Variant(12), "F = 12", true},
      {"Long to a numeric text", Variant(12), "F = '12'", true},
      {"Long to a text", Variant(12), "F = 'x'", false},
      {"Long less", Variant(12), "F < 12.5", true},
      {"Integer", Variant(int16_t{-1}), "F = -1", true},
      {"Double", Variant(0.5), "F >= 0.5", true},
      {"Double not equal", Variant(0.5), "F <> 0.5", false},
      {"negative zero equals zero", Variant(-0.0), "F = 0", true},
      {"Boolean True is -1", Variant(true), "F = -1", true},
      {"Boolean False is 0", Variant(false), "F = 0", true},
      {"date to a date", Variant(day), "F = #2026-03-05#", true},
      {"date to a later date", Variant(day), "F < #2026-03-06#", true},
      {"date to its serial", Variant(day), "F = " + formatDouble(day.serial), true},
      {"text ignoring case", Variant("Beta"), "F = 'BETA'", true},
      {"text ordered ignoring case", Variant("alpha"), "F < 'BETA'", true},
      {"text to a number", Variant("12"), "F = 12", true},
      {"text to a number written otherwise", Variant("12"), "F = 12.0", false},
      {"text with blanks", Variant(" 12"), "F = '12'", false},
      {"text not equal", Variant("a"), "F <> 'b'", true},
      {"empty text", Variant(""), "F = ''", true},
      {"Null equal", Variant::null(), "F = 0", false},
      {"Null not equal", Variant::null(), "F <> 0", false},
      {"Null to an empty text", Variant::null(), "F = ''", false},
      {"Empty", Variant(), "F = 0", false},
      {"Empty not equal", Variant(), "F <> 'x'", false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(matches(r.value, cond(r.condition.c_str())), r.match);
  }
}

// The index finds a row by its keys; the keys must find exactly the rows `matches` accepts for
// an equality.
TEST(FilterKeys, AgreeWithEquality) {
  const Variant values[] = {Variant(3),       Variant(3.0),    Variant(int16_t{3}), Variant("3"),
                            Variant("abc"),   Variant("ABC"),  Variant(true),       Variant(false),
                            Variant(Date{3}), Variant::null(), Variant(),           Variant(" 3"),
                            Variant("3.0"),   Variant(-0.0),   Variant("")};
  const char* conditions[] = {"F = 3",   "F = '3'", "F = 'abc'", "F = 'Abc'", "F = -1",
                              "F = 0",   "F = ''",  "F = '3.0'", "F = 3.0",   "F = #1900-01-01#",
                              "F = ' 3'"};
  for (const char* text : conditions) {
    FilterCondition c = cond(text);
    for (const Variant& v : values) {
      SCOPED_TRACE(std::string(text) + " with " + describe(v));
      bool byKey = false;
      if (auto n = numericKey(v)) byKey = c.literal.number && *n == *c.literal.number;
      if (auto t = textKey(v)) byKey = *t == literalTextKey(c.literal);
      EXPECT_EQ(byKey, matches(v, c));
    }
  }
}

}  // namespace
}  // namespace qx::automation
