// A window on the capacity ledger's text: the line and measure columns with a run of dates, so
// a terminal shows the days that matter instead of every date of the capacity result.
#pragma once

#include <string>
#include <utility>

namespace qx::qxhost {

// `text` is the ledger as the ledger control paints it (rows of "|"-separated cells, the dates
// last). Keeps the date columns from `from` (yyyy-mm-dd; empty: the first date) on, at most
// `days` of them (0: all). Rows that are not table rows stay as they are.
std::string ledgerWindow(const std::string& text, const std::string& from, int days);

// The ledger as the workbench prints it: the rows' colour names left off; in each line's
// measure rows (capacity, load, difference, ...) an overloaded date's load and difference
// marked with a trailing "!", a working day's empty figure shown as 0, a day without capacity
// left blank.
std::string ledgerMarked(const std::string& text);

// The dates of the ledger that fit `width` columns: from `around` (yyyy-mm-dd; the first date
// on or after it), moved back when the last dates leave room. The first date and the number of
// dates; {"", 0} when every date fits.
std::pair<std::string, int> ledgerFit(const std::string& text, const std::string& around,
                                      size_t width);

}  // namespace qx::qxhost
