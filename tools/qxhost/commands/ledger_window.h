// A window on the capacity ledger's text: the line and measure columns with a run of dates, so
// a terminal shows the days that matter instead of every date of the capacity result.
#pragma once

#include <string>

namespace qx::qxhost {

// `text` is the ledger as the ledger control paints it (rows of "|"-separated cells, the dates
// last). Keeps the date columns from `from` (yyyy-mm-dd; empty: the first date) on, at most
// `days` of them (0: all). Rows that are not table rows stay as they are.
std::string ledgerWindow(const std::string& text, const std::string& from, int days);

}  // namespace qx::qxhost
