// The text of data rows: positioning, decimals and their fallbacks, document and item
// grouping, type codes, merge rules, colours and the reset after the last grid row.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "automation/conversions.h"
#include "ledger_fixture.h"
#include "widgets/ledger_data.h"

namespace qx::widgets {
namespace {

using automation::CallKind;
using automation::Date;
using automation::HostDictionary;
using automation::HostVector;
using automation::Ref;
using automation::Variant;
using testing::columnDef;
using testing::headerOf;
using testing::table;

const Variant kUnchanged(int32_t{-7});  // a colour the binding must not have written

class LedgerRowsTest : public testing::LedgerTest {
 protected:
  // The binding with one header list and recordset; the grid has `gridRows` rows.
  LedgerData& bound(std::initializer_list<Ref<HostDictionary>> header, const ObjectRef& rs,
                    int32_t gridRows = 100) {
    LedgerData& l = attached();
    l.setHeader(ObjectRef(headerOf(header)));
    l.setRs(rs);
    control->rows = gridRows;
    return l;
  }
  std::string row(int32_t lRow, Variant* colour = nullptr) {
    Variant c = kUnchanged;
    std::string text = ledger->GetRowText(lRow, c);
    if (colour) *colour = c;
    return text;
  }
};

// A record with all the attribute fields.
std::vector<Variant> record(Variant interId, Variant itemId, Variant sumSort, Variant value,
                            Variant other = Variant("o")) {
  return {interId, itemId, sumSort, Variant(2), Variant(3), Variant(1), value, other};
}
const std::vector<std::string> kFields = {
    "FInterID", "FItemID", "FSumSort", "FQtyDecimal", "FPriceDecimal", "FAmountDecimal", "V", "W"};

TEST_F(LedgerRowsTest, EachRequestPositionsOnItsRecord) {
  auto rs = table(kFields, {record(Variant(0), Variant(0), Variant(0), Variant("first")),
                            record(Variant(0), Variant(0), Variant(0), Variant("second")),
                            record(Variant(0), Variant(0), Variant(0), Variant("third"))});
  bound({columnDef(Variant("V"), Variant(), Variant(1), Variant("V"))}, ObjectRef(rs));
  EXPECT_EQ(row(5), "third|");
  EXPECT_EQ(row(3), "first|");
  EXPECT_EQ(row(4), "second|");
}

TEST_F(LedgerRowsTest, TypeCodes) {
  struct Row {
    Variant code;
    Variant value;
    const char* cell;
  };
  // Quantity decimals 2, price 3, amount 1 (from the record).
  const Row rows[] = {
      {Variant(0), Variant(automation::makeDate(2024, 1, 5)), "2024/01/05"},
      {Variant(0), Variant("2024-03-04"), "2024/03/04"},
      {Variant(0), Variant(), ""},
      {Variant(0), Variant::null(), ""},
      {Variant(0), Variant(""), ""},
      {Variant(0), Variant("not a date"), "not a date"},
      {Variant(2), Variant(1234.5), "1,234.50"},
      {Variant(2), Variant(0), ""},
      {Variant(2), Variant("0.00"), ""},
      {Variant(2), Variant(), ""},
      {Variant(2), Variant("abc"), ""},
      {Variant(2), Variant(-1234.567), "-1,234.57"},
      {Variant(2), Variant("1234.5"), "1,234.50"},
      {Variant("2"), Variant(0.125), "0.13"},  // half away from zero
      {Variant(4), Variant(2.5), "2.500"},
      {Variant(6), Variant(1234.45), "1,234.5"},
      {Variant(8), Variant(1.5), "1.500000"},
      {Variant(8), Variant(0), ""},
      {Variant(10), Variant(1234567.5), "1,234,568"},
      {Variant(10), Variant(0.4), "0"},
      {Variant(-3), Variant(1.23456), "1.235"},
      {Variant(-1), Variant(2.25), "2.3"},
      {Variant("-2"), Variant(0), ""},
      {Variant(1), Variant("raw 1,2"), "raw 1,2"},
      {Variant(1), Variant(1234.5), "1234.5"},
      {Variant(3), Variant(1234.5), "1234.5"},
      {Variant(5), Variant("x"), "x"},
      {Variant(7), Variant(true), "True"},
      {Variant(9), Variant(), ""},
      {Variant(11), Variant(0), "0"},
      {Variant(1), Variant::null(), ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(automation::describe(r.code) + " " + automation::describe(r.value));
    auto rs = table(kFields, {record(Variant(0), Variant(0), Variant(0), r.value)});
    bound({columnDef(Variant("V"), Variant(), r.code, Variant("V"))}, ObjectRef(rs));
    EXPECT_EQ(row(3), std::string(r.cell) + "|");
  }
}

TEST_F(LedgerRowsTest, DecimalsFallBackWhenTheRecordLacksThem) {
  // No FQtyDecimal, FPriceDecimal or FAmountDecimal: 4, 4 and the currency's 3.
  auto rs = table({"FInterID", "FSumSort", "Q", "P", "A"},
                  {{Variant(0), Variant(0), Variant(1.5), Variant(1.5), Variant(1.5)}});
  bound({columnDef(Variant("Q"), Variant(), Variant(2), Variant("Q")),
         columnDef(Variant("P"), Variant(), Variant(4), Variant("P")),
         columnDef(Variant("A"), Variant(), Variant(6), Variant("A"))},
        ObjectRef(rs));
  EXPECT_EQ(row(3), "1.5000|1.5000|1.500|");
  EXPECT_EQ(ledger->amountDecimal(), 3);
}

TEST_F(LedgerRowsTest, AmountDecimalsAboveTwoTakeTheCurrencys) {
  struct Row {
    Variant amountDecimals;
    const char* cell;
  };
  const Row rows[] = {{Variant(0), "1,235"},
                      {Variant(2), "1,234.57"},
                      {Variant(3), "1,234.567"},  // the currency's 3, not the record's
                      {Variant(9), "1,234.567"},
                      {Variant::null(), "1,234.567"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(automation::describe(r.amountDecimals));
    auto rs = table({"FInterID", "FSumSort", "FAmountDecimal", "A"},
                    {{Variant(0), Variant(0), r.amountDecimals, Variant(1234.5671)}});
    bound({columnDef(Variant("A"), Variant(), Variant(6), Variant("A"))}, ObjectRef(rs));
    EXPECT_EQ(row(3), std::string(r.cell) + "|");
  }
}

TEST_F(LedgerRowsTest, SummaryRowsUseTheImposedDecimals) {
  auto rs = table(kFields, {record(Variant(0), Variant(0), Variant(0), Variant(1.5)),
                            record(Variant(0), Variant(0), Variant(100), Variant(1.5))});
  auto header = {columnDef(Variant("Q"), Variant(), Variant(2), Variant("V")),
                 columnDef(Variant("P"), Variant(), Variant(4), Variant("V"))};
  bound(header, ObjectRef(rs));
  EXPECT_EQ(row(4), "1.50|1.500|");  // not imposed: the record's 2 and 3
  ledger->m_QtyDecimal = 0;
  ledger->m_PriceDecimal = 1;
  EXPECT_EQ(row(4), "2|1.5|");
  EXPECT_EQ(row(3), "1.50|1.500|");  // an ordinary row keeps the record's
}

TEST_F(LedgerRowsTest, WithoutASummaryMarkerTheImposedDecimalsApplyOnlyWhenImposed) {
  auto rs = table({"FInterID", "FQtyDecimal", "V"}, {{Variant(0), Variant(2), Variant(1.5)}});
  bound({columnDef(Variant("Q"), Variant(), Variant(2), Variant("V"))}, ObjectRef(rs));
  EXPECT_EQ(row(3), "1.50|");  // not imposed: never -1 decimals
  ledger->m_QtyDecimal = 3;
  EXPECT_EQ(row(3), "1.500|");  // the failing summary test counts as passed
}

TEST_F(LedgerRowsTest, ContinuationRowsOfADocument) {
  auto rs =
      table(kFields, {record(Variant(7), Variant(1), Variant(0), Variant("a"), Variant("x")),
                      record(Variant(7), Variant(1), Variant(0), Variant("b"), Variant("y")),
                      record(Variant(7), Variant(2), Variant(0), Variant("c"), Variant("z"))});
  bound({columnDef(Variant("First"), Variant(), Variant(1), Variant("V"), Variant(int16_t{1}),
                   Variant(int32_t{0})),
         columnDef(Variant("Empty"), Variant(), Variant(1), Variant("W"), Variant(int16_t{1}),
                   Variant(int32_t{1})),
         columnDef(Variant("NewItem"), Variant(), Variant(1), Variant("W"), Variant(int16_t{1}),
                   Variant(int32_t{2})),
         columnDef(Variant("Shown"), Variant(), Variant(1), Variant("V"), Variant(int16_t{1}),
                   Variant(int32_t{0}))},
        ObjectRef(rs));
  EXPECT_EQ(row(3), "a|x|x|a|");  // a new document: the full row
  EXPECT_EQ(control->rowFlags[2], false);
  EXPECT_EQ(row(4), "|||b|");  // column 1 blank, rule 1 blank, same item: rule 2 blank
  EXPECT_EQ(control->rowFlags[3], true);
  EXPECT_EQ(row(5), "||z|c|");  // a new item: rule 2 shows
  EXPECT_EQ(control->rowFlags[4], true);
  EXPECT_EQ(ledger->lastInterId(), 7);
  EXPECT_EQ(ledger->lastItemId(), 2);
}

TEST_F(LedgerRowsTest, MergeRules) {
  struct Row {
    const char* what;
    Variant rule;
    Variant secondItem;
    const char* continuation;
  };
  const Row rows[] = {
      {"0 shows", Variant(int32_t{0}), Variant(1), "|B|"},
      {"1 blanks", Variant(int32_t{1}), Variant(1), "||"},
      {"2 blanks within an item", Variant(int32_t{2}), Variant(1), "||"},
      {"2 shows on a new item", Variant(int32_t{2}), Variant(2), "|B|"},
      {"rule as text", Variant("1"), Variant(1), "||"},
      {"other values leave the column out", Variant(int32_t{3}), Variant(1), "|"},
      {"negative values leave the column out", Variant(int32_t{-1}), Variant(1), "|"},
      {"no rule: Empty is 0", Variant(), Variant(1), "|B|"},
      {"an unreadable rule takes the first", Variant("x"), Variant(1), "|B|"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    auto rs = table(kFields, {record(Variant(9), Variant(1), Variant(0), Variant("A")),
                              record(Variant(9), r.secondItem, Variant(0), Variant("B"))});
    bound(
        {columnDef(Variant("1"), Variant(), Variant(1), Variant("V")),
         columnDef(Variant("2"), Variant(), Variant(1), Variant("V"), Variant(int16_t{1}), r.rule)},
        ObjectRef(rs));
    EXPECT_EQ(row(3), "A|A|");  // a full row ignores the rules
    EXPECT_EQ(row(4), r.continuation);
  }
}

TEST_F(LedgerRowsTest, RowsWithoutADocumentNumberAreAlwaysFull) {
  for (Variant id : {Variant(0), Variant(), Variant::null(), Variant(""), Variant("abc")}) {
    SCOPED_TRACE(automation::describe(id));
    auto rs = table(kFields, {record(id, Variant(1), Variant(0), Variant("A")),
                              record(id, Variant(1), Variant(0), Variant("B"))});
    bound({columnDef(Variant("1"), Variant(), Variant(1), Variant("V"))}, ObjectRef(rs));
    EXPECT_EQ(row(3), "A|");
    EXPECT_EQ(row(4), "B|");
    EXPECT_EQ(control->rowFlags[3], false);
  }
}

TEST_F(LedgerRowsTest, ASummaryRowKeepsTheBlankingButNotTheRowFlag) {
  auto rs = table(kFields, {record(Variant(4), Variant(1), Variant(0), Variant("A")),
                            record(Variant(4), Variant(1), Variant(100), Variant("B"))});
  bound({columnDef(Variant("1"), Variant(), Variant(1), Variant("V")),
         columnDef(Variant("2"), Variant(), Variant(1), Variant("V"), Variant(int16_t{1}),
                   Variant(int32_t{1}))},
        ObjectRef(rs));
  row(3);
  Variant colour;
  EXPECT_EQ(row(4, &colour), "||");
  EXPECT_FALSE(control->rowFlags.count(3));
  EXPECT_EQ(colour, Variant(host::rgb(222, 239, 199)));
}

TEST_F(LedgerRowsTest, RowColours) {
  struct Row {
    Variant sumSort;
    Variant colour;
  };
  const Row rows[] = {
      {Variant(0), Variant(host::rgb(255, 255, 255))},
      {Variant(100), Variant(host::rgb(222, 239, 199))},
      {Variant(101), Variant(host::rgb(255, 255, 232))},
      {Variant(102), Variant(host::rgb(247, 244, 239))},
      {Variant(5000), Variant(host::rgb(247, 244, 239))},
      {Variant(50), kUnchanged},
      {Variant(-1), kUnchanged},
      {Variant(100.5), kUnchanged},
      {Variant(), Variant(host::rgb(255, 255, 255))},  // Empty is 0
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(automation::describe(r.sumSort));
    auto rs = table(kFields, {record(Variant(0), Variant(0), r.sumSort, Variant("A"))});
    bound({columnDef(Variant("1"), Variant(), Variant(1), Variant("V"))}, ObjectRef(rs));
    Variant colour;
    row(3, &colour);
    EXPECT_EQ(colour, r.colour);
  }
}

TEST_F(LedgerRowsTest, WithoutASummaryMarkerTheRowIsWhite) {
  auto rs = table({"FInterID", "V"}, {{Variant(3), Variant("A")}, {Variant(3), Variant("B")}});
  bound({columnDef(Variant("1"), Variant(), Variant(1), Variant("V")),
         columnDef(Variant("2"), Variant(), Variant(1), Variant("V"))},
        ObjectRef(rs));
  Variant colour;
  EXPECT_EQ(row(3, &colour), "A|A|");
  EXPECT_EQ(colour, Variant(host::rgb(255, 255, 255)));
  EXPECT_EQ(row(4, &colour), "|B|");
  EXPECT_EQ(control->rowFlags[3], true);  // the failing summary test counts as passed
}

TEST_F(LedgerRowsTest, TheLastGridRowResetsTheDocument) {
  auto rs = table(kFields, {record(Variant(5), Variant(1), Variant(0), Variant("A")),
                            record(Variant(5), Variant(1), Variant(0), Variant("B"))});
  bound({columnDef(Variant("1"), Variant(), Variant(1), Variant("V"))}, ObjectRef(rs), 4);
  EXPECT_EQ(row(3), "A|");
  EXPECT_EQ(row(4), "|");
  EXPECT_EQ(ledger->lastInterId(), 0);  // row 4 is the grid's last
  EXPECT_EQ(row(4), "B|");              // after the reset the next row starts a document
}

TEST_F(LedgerRowsTest, TheFirstDataRowStartsADocumentWhateverTheRequestOrder) {
  // Six rows of one document, as the capacity ledger shows a line; the grid has 8 rows.
  std::vector<std::vector<Variant>> records;
  for (const char* v : {"a", "b", "c", "d", "e", "f"})
    records.push_back(record(Variant(1), Variant(1), Variant(101), Variant(v)));
  bound({columnDef(Variant("Line"), Variant(), Variant(1), Variant("V"))},
        ObjectRef(table(kFields, records)), 8);
  const std::map<int32_t, std::string> full = {{3, "a|"}, {4, "|"}, {5, "|"},
                                               {6, "|"},  {7, "|"}, {8, "|"}};
  const struct {
    const char* what;
    std::vector<int32_t> order;
  } passes[] = {
      {"all rows, then a repaint of 3 to 5", {3, 4, 5, 6, 7, 8, 3, 4, 5}},
      {"the last row, then the first", {8, 3, 4}},
      {"a repaint of 3 to 5 after rows 4 and 5", {4, 5, 3, 4, 5}},
  };
  for (const auto& p : passes) {
    SCOPED_TRACE(p.what);
    row(8);  // the grid's last row: the group memory is reset
    for (size_t i = 0; i < p.order.size(); ++i) {
      int32_t r = p.order[i];
      SCOPED_TRACE("request " + std::to_string(i + 1) + ": row " + std::to_string(r));
      // Rows before the first request of row 3 follow whatever was built before them.
      bool afterFirstRow =
          std::find(p.order.begin(), p.order.begin() + i, 3) != p.order.begin() + i;
      std::string text = row(r);
      if (r == 3 || afterFirstRow) {
        EXPECT_EQ(text, full.at(r));
      }
    }
  }
}

TEST_F(LedgerRowsTest, BadInputNeverFails) {
  struct Row {
    const char* what;
    std::function<void(LedgerData&)> setUp;
    int32_t lRow;
    const char* text;
  };
  auto header = [] {
    return ObjectRef(headerOf({columnDef(Variant("1"), Variant(), Variant(1), Variant("V")),
                               columnDef(Variant("2"), Variant(), Variant(2), Variant("V"))}));
  };
  auto rs = [] {
    return ObjectRef(table(kFields, {record(Variant(1), Variant(1), Variant(0), Variant(3))}));
  };
  const Row rows[] = {
      {"a row beyond the recordset", [&](LedgerData& l) { l.setHeader(header()), l.setRs(rs()); },
       9, "||"},
      {"the row before the first record",
       [&](LedgerData& l) { l.setHeader(header()), l.setRs(rs()); }, 2, "||"},
      // The move cannot be made and is skipped: the first record is read, and the failure
      // still pending at the quantity decimals makes them fall back to 4.
      {"the lowest row number", [&](LedgerData& l) { l.setHeader(header()), l.setRs(rs()); },
       INT32_MIN, "3|3.0000|"},
      {"no recordset", [&](LedgerData& l) { l.setHeader(header()); }, 3, "||"},
      {"no header list", [&](LedgerData& l) { l.setRs(rs()); }, 3, ""},
      {"a closed recordset",
       [&](LedgerData& l) {
         l.setHeader(header());
         auto closed = automation::Recordset::create();
         closed->appendField({"V"});
         l.setRs(ObjectRef(closed));
       },
       3, "||"},
      {"a record without the column's field",
       [&](LedgerData& l) {
         l.setHeader(
             ObjectRef(headerOf({columnDef(Variant("1"), Variant(), Variant(1), Variant("Missing")),
                                 columnDef(Variant("2"), Variant(), Variant(1), Variant("V"))})));
         l.setRs(rs());
       },
       3, "|3|"},
      {"a column record without keys",
       [&](LedgerData& l) {
         auto v = HostVector::create();
         v->add(Variant(HostDictionary::create()));
         v->add(Variant(42));
         l.setHeader(ObjectRef(v));
         l.setRs(rs());
       },
       3, "||"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    LedgerData& l = attached();
    control->rows = 100;
    r.setUp(l);
    Variant colour = kUnchanged;
    EXPECT_EQ(l.GetRowText(r.lRow, colour), r.text);
    EXPECT_EQ(colour, Variant(host::rgb(255, 255, 255)));  // an unreadable marker: white
  }
}

TEST_F(LedgerRowsTest, TheFieldNameMayBeAPosition) {
  auto rs = table({"FInterID", "V"}, {{Variant(0), Variant("by position")}});
  bound({columnDef(Variant("1"), Variant(), Variant(1), Variant(1))}, ObjectRef(rs));
  EXPECT_EQ(row(3), "by position|");
}

}  // namespace
}  // namespace qx::widgets
