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

// The text ledger marks what a colour shows on the form: an overloaded date's load and
// difference end with "!", a working day's empty figure is 0, a day without capacity stays blank.
TEST(LedgerWindow, MarksOverloadsAndZerosInPlaceOfColours) {
  const char* ledger =
      "| Line      | Measure | 2026-12-01 | 2026-12-02 | 2026-12-03 |\n"
      "| No | Name |         |            |            |            |\n"
      "|----|------|---------|------------|------------|------------|\n"
      "| L1 | One  | Cap     |       8.00 |       8.00 |            |  white\n"
      "|    |      | Load    |            |      12.00 |            |  white\n"
      "|    |      | Diff    |       8.00 |      -4.00 |            |  white\n"
      "| L2 | Two  | Cap     |  12,345.00 |            |       1.00 |  white\n"
      "|    |      | Load    | 123,456.00 |       2.00 |            |  white\n"
      "|    |      | Diff    | -11,111.00 |      -2.00 |       1.00 |  white\n";
  EXPECT_EQ(ledgerMarked(ledger),
            "| Line      | Measure | 2026-12-01 | 2026-12-02 | 2026-12-03 |\n"
            "| No | Name |         |            |            |            |\n"
            "|----|------|---------|------------|------------|------------|\n"
            "| L1 | One  | Cap     |      8.00  |      8.00  |            |\n"
            "|    |      | Load    |         0  |     12.00! |            |\n"
            "|    |      | Diff    |      8.00  |     -4.00! |            |\n"
            "| L2 | Two  | Cap     | 12,345.00  |            |      1.00  |\n"
            "|    |      | Load    |123,456.00! |      2.00! |         0  |\n"
            "|    |      | Diff    |-11,111.00! |     -2.00! |      1.00  |\n");
}

TEST(LedgerWindow, FitsTheDatesToTheTerminalAroundADate) {
  struct Case {
    const char* around;
    size_t width;
    std::pair<std::string, int> fit;
  } cases[] = {
      {"", 62, {"", 0}},  // every date fits
      {"", 50, {"2026-12-01", 2}},
      {"2026-12-03", 50, {"2026-12-02", 2}},  // moved back to fill the width
      {"2026-12-02", 49, {"2026-12-02", 2}},
      {"2027-01-01", 36, {"2026-12-03", 1}},  // after the last date: the last
      {"", 30, {"2026-12-01", 1}},            // one date at least
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.around) + " " + std::to_string(c.width));
    EXPECT_EQ(ledgerFit(kLedger, c.around, c.width), c.fit);
  }
}

}  // namespace
}  // namespace qx::qxhost
