// The header lines of the ledger binding and the column attributes written with line 1.
#include <gtest/gtest.h>

#include "ledger_fixture.h"
#include "widgets/ledger_data.h"

namespace qx::widgets {
namespace {

using automation::CallKind;
using automation::HostDictionary;
using automation::HostVector;
using automation::Ref;
using automation::Variant;
using testing::CallLog;
using testing::columnDef;
using testing::headerOf;

class LedgerHeaderTest : public testing::LedgerTest {
 protected:
  // Sets the header list and returns both lines.
  std::pair<std::string, std::string> lines(std::initializer_list<Ref<HostDictionary>> records) {
    LedgerData& l = attached();
    l.setHeader(ObjectRef(headerOf(records)));
    std::string first = l.GetHeaderText(1);
    std::string second = l.GetHeaderText(2);
    return {first, second};
  }
};

TEST_F(LedgerHeaderTest, OneAndTwoLevelHeadings) {
  struct Row {
    const char* what;
    Variant caption, second;
    const char* line1;
    const char* line2;
  };
  const Row rows[] = {
      {"one level", Variant("Qty"), Variant(), "Qty$|", "|"},
      {"one level, empty second", Variant("Qty"), Variant(""), "Qty$|", "|"},
      {"two levels", Variant("Upper"), Variant("Lower"), "Upper|", "Lower|"},
      {"caption already marked", Variant("Load$"), Variant(), "Load$|", "|"},
      {"marked with a second level", Variant("A$"), Variant("B"), "A$|", "B|"},
      {"spanning marks pass unchanged", Variant("Line+|+|"), Variant("Code"), "Line+|+||", "Code|"},
      {"second level trimmed on line 2 only", Variant(" Q "), Variant("  x "), " Q |", "x|"},
      {"blank caption adds nothing to line 1", Variant("   "), Variant("Name"), "", "Name|"},
      {"no caption key", Variant(), Variant("Name"), "", "Name|"},
      {"a blank second level is not empty on line 1", Variant("Q"), Variant(" "), "Q|", "|"},
      {"Null texts count as empty", Variant::null(), Variant::null(), "", "|"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    auto [first, second] = lines({columnDef(r.caption, r.second, Variant("1"), Variant("F"))});
    EXPECT_EQ(first, r.line1);
    EXPECT_EQ(second, r.line2);
  }
}

TEST_F(LedgerHeaderTest, EveryRecordIsOneColumnAndLineOneEndsWithTheSeparator) {
  auto [first, second] = lines(
      {columnDef(Variant("Line+|+|+|"), Variant("Code"), Variant("1"), Variant("FLineNumber")),
       columnDef(Variant(""), Variant("Name"), Variant("1"), Variant("N")),
       columnDef(Variant(""), Variant("Centre"), Variant("1"), Variant("W")),
       columnDef(Variant(""), Variant("Rate"), Variant("2"), Variant("P")),
       columnDef(Variant("Load$"), Variant(""), Variant("1"), Variant("T")),
       columnDef(Variant("2024/01/05$"), Variant(""), Variant("2"), Variant("F1"))});
  EXPECT_EQ(first, "Line+|+|+||Load$|2024/01/05$|");
  EXPECT_EQ(second, "Code|Name|Centre|Rate|||");
  for (int c = 1; c <= 6; ++c) {
    EXPECT_NE(std::find(log.begin(), log.end(), "ctl[9](" + std::to_string(c) + ")?"), log.end())
        << "column " << c;
  }
}

TEST_F(LedgerHeaderTest, LineOneWritesEachColumnsAttributesInOrder) {
  lines({columnDef(Variant("A"), Variant(), Variant(2), Variant("F"), Variant(int16_t{0})),
         columnDef(Variant("B"), Variant("b"), Variant(7), Variant("G"))});
  EXPECT_EQ(log, (CallLog{"ctl[9](1)?", "col1[8](16) = True", "col1[5] = 1", "ctl[9](2)?",
                          "col2[8](16) = False"}));
}

TEST_F(LedgerHeaderTest, AlignmentByTypeCode) {
  struct Row {
    Variant code;
    std::optional<int32_t> alignment;
  };
  const Row rows[] = {
      {Variant(0), 0},  {Variant(1), 0},  {Variant("1"), 0}, {Variant(2), 1},
      {Variant(3), 1},  {Variant(4), 1},  {Variant(5), 1},   {Variant(6), 1},
      {Variant(8), 1},  {Variant(10), 1}, {Variant(-2), 1},  {Variant("-3"), 1},
      {Variant(7), {}}, {Variant(9), {}}, {Variant(11), {}}, {Variant(250), {}},
      {Variant(), 0},  // no type: Empty counts as 0
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(automation::describe(r.code));
    lines({columnDef(Variant("A"), Variant(), r.code, Variant("F"))});
    auto& column = control->columns[1];
    if (r.alignment) {
      ASSERT_TRUE(column.count("[5]"));
      EXPECT_EQ(column["[5]"], Variant(*r.alignment));
    } else {
      EXPECT_FALSE(column.count("[5]"));
    }
    control->columns.clear();
  }
}

TEST_F(LedgerHeaderTest, VisibilityAndBackgroundColour) {
  auto coloured = columnDef(Variant("C"), Variant(), Variant(1), Variant("F"));
  coloured->set("FBackColor", Variant(int32_t{255}));
  auto zeroColour = columnDef(Variant("Z"), Variant(), Variant(1), Variant("F"));
  zeroColour->set("FBackColor", Variant(int32_t{0}));
  lines({columnDef(Variant("Hidden"), Variant(), Variant(1), Variant("F"), Variant(int16_t{0})),
         columnDef(Variant("Shown"), Variant(), Variant(1), Variant("F"), Variant(int16_t{-1})),
         coloured, zeroColour,
         columnDef(Variant("No visible key"), Variant(), Variant(1), Variant("F"), Variant())});
  EXPECT_EQ(control->columns[1]["[8](16)"], Variant(true));
  EXPECT_EQ(control->columns[2]["[8](16)"], Variant(false));
  EXPECT_EQ(control->columns[3]["[3]"], Variant(int32_t{255}));
  EXPECT_FALSE(control->columns[1].count("[3]"));
  EXPECT_FALSE(control->columns[4].count("[3]"));
  // A record without FVisible reads Empty, which equals 0: the column is hidden.
  EXPECT_EQ(control->columns[5]["[8](16)"], Variant(true));
}

TEST_F(LedgerHeaderTest, AnyFailureGivesAnEmptyLine) {
  struct Row {
    const char* what;
    std::function<void(LedgerData&)> setUp;
    int line;
  };
  auto unreadable = columnDef(Variant("A"), Variant("a"), Variant("not a number"), Variant("F"));
  const Row rows[] = {
      {"no header list", [](LedgerData&) {}, 1},
      {"no header list", [](LedgerData&) {}, 2},
      {"an unreadable type code",
       [&](LedgerData& l) {
         l.setHeader(ObjectRef(
             headerOf({columnDef(Variant("A"), Variant(), Variant(1), Variant("F")), unreadable})));
       },
       1},
      {"a record that is no object",
       [&](LedgerData& l) {
         auto v = headerOf({columnDef(Variant("A"), Variant("a"), Variant(1), Variant("F"))});
         v->add(Variant(12));
         l.setHeader(ObjectRef(v));
       },
       2},
      {"a column object that fails",
       [&](LedgerData& l) {
         control->failing = {"ctl[9]"};
         l.setHeader(
             ObjectRef(headerOf({columnDef(Variant("A"), Variant(), Variant(1), Variant("F"))})));
       },
       1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.what) + ", line " + std::to_string(r.line));
    LedgerData& l = attached();
    r.setUp(l);
    EXPECT_EQ(l.GetHeaderText(r.line), "");
    control->failing.clear();
  }
}

TEST_F(LedgerHeaderTest, OtherLineNumbersAreEmpty) {
  LedgerData& l = attached();
  l.setHeader(
      ObjectRef(headerOf({columnDef(Variant("A"), Variant("a"), Variant(1), Variant("F"))})));
  EXPECT_EQ(l.GetHeaderText(3), "");
  EXPECT_EQ(l.GetHeaderText(0), "");
  EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace qx::widgets
