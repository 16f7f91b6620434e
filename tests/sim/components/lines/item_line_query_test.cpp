#include "sim/components/lines/item_line_query.h"

#include <gtest/gtest.h>

#include "sim/components/lines/item_line_fixture.h"

namespace qx::sim {
namespace {

using automation::Variant;

class ItemLineQueryTest : public ItemLineFixture {
 protected:
  // The line numbers a search finds, in order.
  std::string found(const LineSearch& s) {
    SqliteDb db = database_->open();
    auto rs = searchLines(db, s);
    std::string numbers;
    for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
      numbers +=
          (numbers.empty() ? "" : " ") + rs->value(rs->column(Variant("FLineNumber"))).toString();
    }
    return numbers;
  }
};

TEST_F(ItemLineQueryTest, TheLineSearchAppliesEachFilterToItsTable) {
  struct Case {
    const char* what;
    LineSearch search;
    const char* lines;
  } cases[] = {
      {"no condition: every production line in use", {}, "A-1 A-2 B-1"},
      {"department 1, item 7: the forbidden line and the mould stay out",
       {7, 7, departmentFilter(1), departmentFilter(1)},
       "A-1"},
      {"department 1, item 8", {8, 8, departmentFilter(1), departmentFilter(1)}, "A-2"},
      {"department 2, item 7: no line", {7, 7, departmentFilter(2), departmentFilter(2)}, ""},
      {"item range 7 to 8", {7, 8, "", ""}, "A-1 A-2 B-1"},
      {"item 9 has no relation", {9, 9, "", ""}, ""},
      {"a line condition alone", {std::nullopt, std::nullopt, "FNumber LIKE 'A%'", ""}, "A-1 A-2"},
      {"a relation condition alone", {std::nullopt, std::nullopt, "", "t1.FPriority = 2"}, "B-1"},
      {"a trailing comment cannot swallow the rest", {8, 8, "1 = 1 -- comment", ""}, "A-2 B-1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(found(c.search), c.lines);
  }
}

TEST_F(ItemLineQueryTest, RelationsCarryTheirLineAndAFilterThatMatchesNothingGivesNoRows) {
  SqliteDb db = database_->open();
  auto rs = queryItemLines(db, " t1.FItemID = 8 AND t1.FLineID = 103");
  ASSERT_EQ(rs->recordCount(), 1);
  EXPECT_EQ(rs->value(rs->column(Variant("FLineName"))), Variant("Gamma"));
  EXPECT_EQ(rs->value(rs->column(Variant("FLineNumber"))), Variant("B-1"));
  EXPECT_TRUE(queryItemLines(db, " t1.FItemID = 7 AND t1.FLineID = 103")->eof());
  EXPECT_EQ(queryItemLines(db, "  ")->recordCount(), 5);
}

TEST_F(ItemLineQueryTest, ConditionsThatAreNotAConditionFailAndChangeNothing) {
  const char* bad[] = {
      "t1.FNoSuchField = 1",
      "t1.FItemID = ",
      "1 = 1); DELETE FROM t_eiItemLine; SELECT (1",
      "1 = 1) UNION SELECT 1, 2, 3, 4, 5, 6, 7, 8, 9 --",
  };
  for (const char* condition : bad) {
    SCOPED_TRACE(condition);
    SqliteDb db = database_->open();
    EXPECT_THROW(auto rs = queryItemLines(db, condition), automation::Error);
    LineSearch s;
    s.lineFilter = condition;
    EXPECT_THROW(auto rs = searchLines(db, s), automation::Error);
  }
  EXPECT_EQ(count("SELECT count(*) FROM t_eiItemLine"), 5);
}

}  // namespace
}  // namespace qx::sim
