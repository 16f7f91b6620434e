// The schedule bill as the user edits it: keys the plug-in handles are swallowed, typing
// changes one cell, saving is checked first and writes all rows or none, reloading shows the
// data again and says so.
#include <gtest/gtest.h>

#include "host/event_interfaces.h"
#include "sim/bills/schedule_bill.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::sim {
namespace {

using automation::Variant;
namespace ev = host::bill_event;

class ScheduleEditingTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    HostOptions o = HostOptions::fromEnvironment();
    o.home = home_.dir();
    o.database.clear();
    host_ = std::make_unique<SimHost>(o);
    bill_ = std::make_unique<ScheduleBill>(*host_, automation::ObjectRef());
    bill_->load(5001);
    // A plug-in stand-in: records the events and answers bCancel as told.
    sink_ = automation::makeObject<automation::FunctionSink>(
        [this](automation::DispId id, automation::Args a) {
          events_.push_back(id);
          if ((id == ev::kOnGridKeyDown || id == ev::kOnCheckData) && refuse_) {
            a.back().set(Variant(true));
          }
        });
    cookie_ = bill_->events()->advise(host::kBillEvents, automation::ObjectRef(sink_));
  }
  void TearDown() override {
    bill_->events()->unadvise(cookie_);
    sink_.reset();
    bill_.reset();
    host_.reset();
    LiveObjectsTest::TearDown();
  }
  GridControl& grid() { return *bill_->form().grid; }
  static int32_t col(std::string_view key) { return scheduleColumnIndex(key); }
  std::string table() {
    auto rs = host_->database().open().execute(
        "SELECT group_concat(FInterID || ':' || FLineID || ':' || FAuxQty || ':' || FStatus, ' ') "
        "FROM t_eiRepSchedule");
    return rs->value(0).toString();
  }

  qx::testing::TempHome home_;
  std::unique_ptr<SimHost> host_;
  std::unique_ptr<ScheduleBill> bill_;
  automation::Ref<automation::FunctionSink> sink_;
  uint32_t cookie_ = 0;
  std::vector<automation::DispId> events_;
  bool refuse_ = false;
};

TEST_F(ScheduleEditingTest, AHandledKeyIsSwallowedAndOtherKeysReachTheBill) {
  ASSERT_FALSE(bill_->select(2, col("ColLine")).cancel);
  refuse_ = true;
  EXPECT_TRUE(bill_->keyDown(40).cancel);
  EXPECT_EQ(grid().selRow(), 2);
  refuse_ = false;
  bill_->keyDown(40);
  EXPECT_EQ(grid().selRow(), 3);
  grid().cell(3, col("ColLine")).locked = true;
  bill_->keyDown(46);
  EXPECT_EQ(grid().cell(3, col("ColLine")).value, Variant("水壶装配二线"));
  EXPECT_EQ(bill_->typeInto(3, col("ColLine"), "x").action, "单元格已锁定, 未输入");
  // SetSelect, as the plug-in calls it, raises the selection event too.
  events_.clear();
  grid().call("SetSelect", 4, 2, 4, 2);
  EXPECT_EQ(events_, std::vector<automation::DispId>{ev::kOnSelectChanged});
  EXPECT_EQ(grid().selRow(), 4);
}

TEST_F(ScheduleEditingTest, TypingALineNameChangesThatCellOnly) {
  bill_->typeInto(2, col("ColLine"), "L-03");
  EXPECT_EQ(grid().cell(2, col("ColLine")).value, Variant("L-03"));
  EXPECT_EQ(grid().cell(2, col("ColLineId")).value, Variant(1001));
  EXPECT_TRUE(bill_->changed());
}

TEST_F(ScheduleEditingTest, ARefusedSaveWritesNothingAndAPassedOneWritesAndShowsTheData) {
  std::string before = table();
  bill_->typeInto(3, col("ColQty"), "3500");
  refuse_ = true;
  ScheduleBill::Outcome o = bill_->save();
  EXPECT_TRUE(o.cancel);
  EXPECT_FALSE(o.saved);
  EXPECT_EQ(table(), before);
  refuse_ = false;
  events_.clear();
  o = bill_->save();
  ASSERT_TRUE(o.saved) << (o.failure ? o.failure->description() : o.action);
  EXPECT_NE(table().find("6002:1002:3500.0:0"), std::string::npos) << table();
  EXPECT_EQ(events_, (std::vector<automation::DispId>{ev::kOnCheckData, ev::kOnAfterSave,
                                                      ev::kOnShowDataEnd}));
  EXPECT_FALSE(bill_->changed());
  EXPECT_EQ(grid().cell(3, col("ColQty")).value, Variant(3500.0));  // the saved data, shown
}

TEST_F(ScheduleEditingTest, CellsThatDoNotConvertFailTheWholeSave) {
  std::string before = table();
  struct Case {
    const char* key;
    const char* text;
  } cases[] = {
      {"ColLineId", "abc"},  {"ColLineId", "99999999999"}, {"ColLineId", "1.5"},
      {"ColLineId", "1103"}, {"ColLineId", "4242"},        {"ColStatusId", "planned"},
      {"ColQty", "lots"},    {"ColBDate", "2026-13-45"},   {"ColCancel", "y"},
      {"ColBillNo", "  "},   {"ColInterId", "6004"},       {"ColEDate", "2020-01-01"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " = " + c.text);
    bill_->load(5001);
    bill_->typeInto(2, col("ColQty"), "7000");  // a valid change in the row before
    bill_->typeInto(3, col(c.key), c.text);
    ScheduleBill::Outcome o = bill_->save();
    EXPECT_FALSE(o.saved);
    // What the bill's own checks see (a line, a quantity, dates) they refuse before the store.
    EXPECT_TRUE(o.failure || o.action == "单据自身检查不通过, 未保存") << o.action;
    EXPECT_EQ(table(), before);
  }
  // Blank line ids and an emptied cell are no line: the bill's own check refuses them.
  bill_->load(5001);
  bill_->typeInto(3, col("ColLineId"), "   ");
  bill_->select(4, col("ColLineId"));
  bill_->keyDown(46);
  EXPECT_FALSE(bill_->save().saved);
  EXPECT_EQ(host_->platform().shownMessages().back().prompt,
            "第 2 行 未选择生产线; 第 3 行 未选择生产线");
  EXPECT_EQ(table(), before);
}

TEST_F(ScheduleEditingTest, ReloadingRaisesTheDataDisplayEndWhetherUserOrPlugInAsks) {
  events_.clear();
  bill_->reload();
  Variant none;
  bill_->events()->callId(host::bill_op::idOf(host::bill_op::kRefreshBill),
                          automation::CallKind::Method, automation::Arg::byRef(none));
  EXPECT_EQ(events_, (std::vector<automation::DispId>{ev::kOnShowDataEnd, ev::kOnShowDataEnd}));
}

}  // namespace
}  // namespace qx::sim
