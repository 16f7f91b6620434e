#include "tools/qxhost/commands/ledger_window.h"

#include <gtest/gtest.h>

namespace qx::qxhost {
namespace {

// Two header lines (the line heading merged over two columns), a rule and two data rows, the
// second a continuation row with its row colour after the last bar.
const char* const kLedger =
    "| Line      | Measure | 2026-12-01 | 2026-12-02 | 2026-12-03 |\n"
    "| No | Name |         |            |            |            |\n"
    "|----|------|---------|------------|------------|------------|\n"
    "| L1 | One  | Cap     |       8.00 |       7.00 |       6.00 |  light yellow\n"
    "|    |      | Load    |       1.00 |       2.00 |       3.00 |  light yellow\n";

TEST(LedgerWindow, KeepsTheLineColumnsAndTheChosenDates) {
  struct Case {
    const char* from;
    int days;
    const char* expected;
  } cases[] = {
      {"", 0, kLedger},
      {"2026-12-02", 1,
       "| Line      | Measure | 2026-12-02 |\n"
       "| No | Name |         |            |\n"
       "|----|------|---------|------------|\n"
       "| L1 | One  | Cap     |       7.00 |  light yellow\n"
       "|    |      | Load    |       2.00 |  light yellow\n"},
      {"2026-12-02", 30,
       "| Line      | Measure | 2026-12-02 | 2026-12-03 |\n"
       "| No | Name |         |            |            |\n"
       "|----|------|---------|------------|------------|\n"
       "| L1 | One  | Cap     |       7.00 |       6.00 |  light yellow\n"
       "|    |      | Load    |       2.00 |       3.00 |  light yellow\n"},
      {"2027-01-01", 5,
       "| Line      | Measure |\n"
       "| No | Name |         |\n"
       "|----|------|---------|\n"
       "| L1 | One  | Cap     |  light yellow\n"
       "|    |      | Load    |  light yellow\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " " + std::to_string(c.days));
    EXPECT_EQ(ledgerWindow(kLedger, c.from, c.days), c.expected);
  }
  // What is no table stays as it is: an unpainted ledger, a header without dates.
  EXPECT_EQ(ledgerWindow("(ldgAbility: nothing painted)\n", "2026-12-02", 1),
            "(ldgAbility: nothing painted)\n");
  const char* noDates = "| Line | Measure |\n| L1 | Cap |\n";
  EXPECT_EQ(ledgerWindow(noDates, "2026-12-02", 1), noDates);
}

}  // namespace
}  // namespace qx::qxhost
