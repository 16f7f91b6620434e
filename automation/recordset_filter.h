// Filter conditions of the in-memory recordset: comparisons joined by AND, e.g.
//   FLineID = 12 AND FName <> 'x' AND FDate >= #2026-12-01#
// Field names may be written in brackets. Texts are quoted with ' (doubled inside) or ".
//
// Comparison follows the type of the field's value: numbers, Booleans and dates compare
// numerically with a literal that is a number, a date or a numeric text; texts compare as text,
// ignoring ASCII letter case, with the literal as written. Null and Empty values never match.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "automation/variant.h"

namespace qx::automation {

enum class CompareOp : uint8_t { Eq, Ne, Lt, Gt, Le, Ge };

struct FilterLiteral {
  std::string text;              // as written (without quotes)
  std::optional<double> number;  // the numeric reading, when there is one
};

struct FilterCondition {
  std::string field;
  CompareOp op = CompareOp::Eq;
  FilterLiteral literal;
};

// Fails with 3001 and a message naming the problem when the text does not parse.
std::vector<FilterCondition> parseFilter(std::string_view text);

bool matches(const Variant& value, const FilterCondition& condition);
// The same test on a number (a numeric value's toDouble) and on a text.
bool matchesNumber(double value, const FilterCondition& condition) noexcept;
bool matchesText(std::string_view value, const FilterCondition& condition);

// The keys a value is indexed under, consistent with `matches` for CompareOp::Eq.
std::optional<double> numericKey(const Variant& value);
std::optional<std::string> textKey(const Variant& value);
std::string literalTextKey(const FilterLiteral& literal);

}  // namespace qx::automation
