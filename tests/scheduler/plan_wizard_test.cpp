// The plan decomposition's fill of the schedule grid with the pieces of a scripted loader:
// bill numbers after the highest existing one, row numbers, the quantity format, the negative
// remainder with the reserved rows deleted, an empty grid, and no dialog without a quantity.
// Bill-number sequences are a table of texts.
#include <gtest/gtest.h>

#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "schedule_fixture.h"
#include "scheduler/bill_seq.h"
#include "scheduler/grid_rows.h"
#include "sim/platform/host_date.h"
#include "support/fake_object.h"

namespace qx::scheduler {
namespace {

using automation::HostDictionary;
using automation::HostVector;
using automation::Variant;

TEST(BillSeqTest, SequenceNumbersOfBillNumbers) {
  struct Case {
    const char* billNo;
    std::optional<int32_t> seq;
  } cases[] = {
      {"WO1_7", 7},
      {"A_B_12", 12},
      {"15", 15},
      {"ABC", std::nullopt},
      {"X_", std::nullopt},
      {"", std::nullopt},
      {"WO_2.5", 2},
      {"WO_3.5", 4},
      {"WO_99999999999", std::nullopt},
      {"A_7_B", std::nullopt},
      {"1_2_3", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.billNo);
    EXPECT_EQ(billSeqOf(c.billNo), c.seq);
  }
  EXPECT_EQ(nextBillSeq(4), 5);
  EXPECT_EQ(nextBillSeq(2147483647), 0);
}

class PlanWizardTest : public ScheduleFixture {
 protected:
  void SetUp() override {
    ScheduleFixture::SetUp();
    // The loader's decomposition dialog answers the prepared pieces.
    host_->components().registerComponent(host::prog_id::kAbilityLoad, [this] {
      auto loader = qx::testing::FakeObject::create("AbilityLoad");
      loader->method("Show", [this](automation::Args a) {
        shownWith_ = a[0].get().toObject()->get("Value", "RepICMO");
        ++shown_;
        return pieces_.empty() ? Variant::nothing() : Variant(vectorOf(pieces_));
      });
      loader->method("GetAbilityByRepICMO", [](automation::Args) { return Variant::nothing(); });
      return ObjectRef(loader);
    });
    ASSERT_FALSE(open());
  }
  static automation::Ref<HostVector> vectorOf(const std::vector<double>& quantities) {
    auto v = HostVector::create();
    for (double q : quantities) {
      auto d = HostDictionary::create();
      d->set("FFromDate", Variant(automation::makeDate(2027, 1, 4)));
      d->set("FToDate", Variant(automation::makeDate(2027, 1, 8)));
      d->set("FAuxQty", Variant(q));
      d->set("FInHighLimit", Variant(5.0));
      d->set("FInHighLimitQty", Variant(q * 1.05));
      d->set("FInLowLimit", Variant(5.0));
      d->set("FInLowLimitQty", Variant(q * 0.95));
      d->set("FLineName", Variant("水壶装配二线"));
      d->set("FLineiD", Variant(int32_t{1002}));
      v->add(Variant(d));
    }
    return v;
  }
  std::string cell(int32_t row, const char* key) {
    return form().grid->cellText(row, sim::scheduleColumnIndex(key));
  }
  void wizard() { ASSERT_FALSE(bill_->clickTool("wizard").failure); }

  std::vector<double> pieces_;
  Variant shownWith_;
  int shown_ = 0;
};

TEST_F(PlanWizardTest, NewRowsContinueTheBillNumbersAndRowNumbers) {
  // Rows WO-2612-001_1 .. _3 exist; the second is renamed so that _3 is the highest.
  form().grid->cell(3, sim::scheduleColumnIndex("ColBillNo")).value = Variant("WO-2612-001_1");
  pieces_ = {300, 200};
  wizard();
  EXPECT_EQ(shownWith_, Variant("5001"));
  ASSERT_EQ(form().grid->rows(), 6);
  EXPECT_EQ(cell(5, "ColBillNo"), "WO-2612-001_4");
  EXPECT_EQ(cell(6, "ColBillNo"), "WO-2612-001_5");
  EXPECT_EQ(cell(5, "ColNo"), "4");
  EXPECT_EQ(cell(6, "ColNo"), "5");
  EXPECT_EQ(cell(6, "ColLineId"), "1002");
  EXPECT_EQ(cell(6, "ColStatusId"), "-1");
  EXPECT_EQ(cell(6, "ColInterId"), "0");
  EXPECT_EQ(cell(6, "ColCheckDate"), sim::hostDate(host_->options().today));
  EXPECT_EQ(cell(6, "ColBiller"), "demo");
  EXPECT_EQ(cell(6, "ColBatchNo"), "B2612-01");
  EXPECT_EQ(form().text("txtNoQty").text, "500");
  EXPECT_EQ(form().grid->selRow(), 6);
  EXPECT_EQ(form().grid->selCol(), sim::scheduleColumnIndex("ColBillNo"));
  EXPECT_TRUE(bill_->changed());
  const std::vector<int>& ops = bill_->events()->operationLog();
  ASSERT_GE(ops.size(), 3u);
  EXPECT_EQ(std::vector<int>(ops.end() - 3, ops.end()), (std::vector<int>{6, 7, 8}));
}

TEST_F(PlanWizardTest, PiecesBeyondTheQuantityStopAtTheFirstNegativeRemainder) {
  pieces_ = {600, 400, 300, 200};  // 1000 undecomposed: 600, 400 (0 goes on), 300 (-300)
  wizard();
  ASSERT_EQ(form().grid->rows(), 7);
  EXPECT_EQ(cell(7, "ColBillNo"), "WO-2612-001_6");
  EXPECT_EQ(form().text("txtNoQty").text, "-300");
  EXPECT_EQ(form().grid->selRow(), 7);
}

TEST_F(PlanWizardTest, TheQuantityFormatFollowsTheDecimals) {
  // Negative decimals show none; more than a number format can show fail as it does (5).
  for (auto [decimals, format] : {std::pair{"2", "0.00"},
                                  {"0", "0"},
                                  {"3", "0.000"},
                                  {"-2", "0"},
                                  {"-0.4", "0"},
                                  {"100000", ""}}) {
    SCOPED_TRACE(decimals);
    form().text("txtDecimal").text = decimals;
    form().text("txtNoQty").text = "100";
    pieces_ = {1};
    int32_t rows = form().grid->rows();
    auto o = bill_->clickTool("wizard");
    EXPECT_EQ(o.failure ? o.failure->number() : 0, *format ? 0 : 5);
    EXPECT_EQ(form().grid->rows(), rows + (*format ? 1 : 0));
    if (*format) {
      EXPECT_EQ(form().grid->cell(rows + 1, sim::scheduleColumnIndex("ColQty")).format, format);
    }
  }
}

TEST_F(PlanWizardTest, AnEmptyGridStartsAtRowTwo) {
  form().grid->setRows(1);
  pieces_ = {10};
  wizard();
  ASSERT_EQ(form().grid->rows(), 2);
  EXPECT_EQ(cell(2, "ColNo"), "1");
  EXPECT_EQ(cell(2, "ColBillNo"), "WO-2612-001_1");
}

TEST_F(PlanWizardTest, NoQuantityLeftMeansAMessageAndNoDialog) {
  for (const char* qty : {"", "0", "-5", "abc"}) {
    SCOPED_TRACE(qty);
    host_->platform().clearShownMessages();
    form().text("txtNoQty").text = qty;
    wizard();
    ASSERT_EQ(host_->platform().shownMessages().size(), 1u);
    EXPECT_EQ(host_->platform().shownMessages()[0].prompt,
              "未分解数量需要大于0才可以进行计划分解，请检查");
    EXPECT_EQ(shown_, 0);
    EXPECT_EQ(form().grid->rows(), 4);
  }
}

TEST_F(PlanWizardTest, NothingDecomposedChangesNothing) {
  pieces_ = {};
  wizard();
  EXPECT_EQ(shown_, 1);
  EXPECT_EQ(form().grid->rows(), 4);
  EXPECT_EQ(form().text("txtNoQty").text, "1000");
}

// The rounding noise of the subtraction is no quantity left; a real rest, however small, is.
TEST_F(PlanWizardTest, TheRemainderDropsTheSubtractionsNoiseOnly) {
  const std::pair<std::vector<double>, bool> rows[] = {{{333.3, 333.3, 333.4}, true},
                                                       {{0.1, 0.2, 999.7}, true},
                                                       {{999.9999}, false},
                                                       {{1000.001}, false}};
  for (const auto& [pieces, none] : rows) {
    SCOPED_TRACE(pieces.size());
    form().text("txtNoQty").text = "1000";
    pieces_ = pieces;
    wizard();
    EXPECT_EQ(automation::leadingNumber(form().text("txtNoQty").text) == 0, none)
        << form().text("txtNoQty").text;
  }
}

// A failure after the loop (deleting the reserved rows, selecting the last one) leaves whole
// rows only and still tells the bill that rows were added.
TEST_F(PlanWizardTest, AFailureAfterTheLoopKeepsWholeRowsAndTellsTheBill) {
  using Case = std::tuple<const char*, const char*, std::vector<double>, int32_t>;
  for (const auto& [object, member, pieces, rows] :
       {Case{"grdDetail", "SetSelect", {300, 200}, 6},
        {"GridRows", "Delete", {600, 400, 300, 200}, 7}}) {
    SCOPED_TRACE(member);
    form().grid->setRows(4);
    form().text("txtNoQty").text = "1000";
    size_t ops = bill_->events()->operationLog().size();
    pieces_ = pieces;
    host_->faults().add(object, member, 1);
    auto o = bill_->clickTool("wizard");
    host_->faults().clear();
    EXPECT_EQ(o.failure.value_or(automation::Error(0, "")).source(), object);
    EXPECT_EQ(form().grid->rows(), rows);
    for (int32_t r = 5; r <= rows; ++r) EXPECT_NE(cell(r, "ColBillNo"), "");
    EXPECT_EQ(bill_->events()->operationLog().size(), ops + 3);  // 6, 7 and 8
  }
}

TEST(RowArithmeticTest, BeyondThirtyTwoBitsIsTheOverflowError) {
  const std::tuple<int32_t, int64_t, int32_t> rows[] = {
      {4, 1, 0}, {2147483646, 1, 0}, {2147483647, 1, 6}, {1, 2147483647, 6}, {-5, -2147483647, 6}};
  for (const auto& [row, n, error] : rows) {
    int32_t r = row;
    int64_t k = n;
    EXPECT_EQ(qx::testing::errorNumber([&] { (void)rowPlus(r, k); }), error) << row << "+" << n;
  }
}

}  // namespace
}  // namespace qx::scheduler
