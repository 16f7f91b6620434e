// Sequence numbers of schedule bill numbers ("stem_n"), the plan rows' quantity rules and the
// department query of the report.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx::scheduler {

// The sequence number of a bill number: prefixes are cut one "_" at a time until a numeric
// rest is left ("WO1_7" and "A_B_12" give 7 and 12, "15" gives 15); nothing for "ABC" or "X_".
// A numeric rest is rounded to 32 bits (halves to even); one beyond 32 bits gives nothing.
std::optional<int32_t> billSeqOf(std::string_view billNo);

// The next sequence number after `max`: max + 1, or 0 when that is beyond 32 bits (the step
// that computes it fails and is skipped, leaving the result at 0).
int32_t nextBillSeq(int32_t max) noexcept;

// The number format of a new row's quantity cell: "0." and `decimals` zeros, "0" for none or
// a negative count; a count beyond what a number format can show fails with 5.
std::string quantityFormat(int32_t decimals);

// The undecomposed quantity left after a piece: a difference that is only the rounding noise of
// the subtraction (below 1e-9 of the larger operand) is 0; a real remainder, however small,
// stays.
double remainderAfter(double quantity, double piece) noexcept;

// The query of the department number (long or short form) of a work order's workshop. The
// work order is its internal id as a number, never the text pasted into the SQL.
std::string departmentQuery(int32_t workOrderId, bool longNumber);

}  // namespace qx::scheduler
