// The ledger's rule tables: column type codes (alignment and cell formats), merge rules and row
// colours. Each rule is a plain function of values, so the binding reads as its steps.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "automation/variant.h"

namespace qx::widgets {

// The numeric value of a column type code (numeric text counts as its number); fails with 13
// for other text.
double typeCode(const automation::Variant& code);

// The alignment written to a column for a type code; none for 7, 9, 11 and above.
std::optional<int32_t> alignmentFor(double typeCode);

// The decimals a type code formats with.
struct Decimals {
  int quantity = 2, price = 4, amount = 0;
};

// The text of one cell: the value v formatted by the column's type code.
std::string cellText(double typeCode, const automation::Variant& v, const Decimals& d);

// "#,##0" with `decimals` places appended (no point for 0), or empty when the leading number
// of the value's text is 0.
std::string numberCell(const automation::Variant& v, int decimals);

// What a continuation row shows in a column.
enum class MergeRule { Shown, Empty, NewItemOnly, LeftOut };
MergeRule mergeRuleFor(const automation::Variant& mergerType);

// The row colour for a summary marker; none leaves the caller's colour as it was.
std::optional<int32_t> rowColourFor(const automation::Variant& sumSort);

// The text of a value as concatenation sees it: Null is the empty text.
std::string textOf(const automation::Variant& v);

// Surrounding blanks removed.
std::string trimmed(std::string_view s);

}  // namespace qx::widgets
