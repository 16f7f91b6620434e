// The schedule bill engine's own behaviour around a plug-in stand-in that records the events.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "host/event_interfaces.h"
#include "sim/bills/schedule_bill.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::sim {
namespace {

using automation::Variant;

class ScheduleChecksTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    HostOptions o = HostOptions::fromEnvironment();
    o.home = home_.dir();
    o.database.clear();
    host_ = std::make_unique<SimHost>(o);
    sink_ = automation::makeObject<automation::FunctionSink>(
        [this](automation::DispId id, automation::Args) { events_.push_back(id); });
    open();
  }
  void TearDown() override {
    bill_.reset();
    sink_.reset();
    host_.reset();
    LiveObjectsTest::TearDown();
  }
  void open() {
    bill_ = std::make_unique<ScheduleBill>(*host_, automation::ObjectRef());
    bill_->load(5001);
    bill_->events()->advise(host::kBillEvents, automation::ObjectRef(sink_));
  }
  void type(int32_t row, std::string_view key, const std::string& text) {
    bill_->typeInto(row, scheduleColumnIndex(key), text);
  }
  std::string cell(int32_t row, std::string_view key) {
    return bill_->form().grid->cellText(row, scheduleColumnIndex(key));
  }
  std::string table() {
    auto rs = host_->database().open().execute(
        "SELECT group_concat(FAuxQty || ':' || FEndDate || ':' || FInHighLimitQty, ' ') "
        "FROM t_eiRepSchedule WHERE FICMOInterID = 5001");
    return rs->value(0).toString();
  }
  const ShownMessage& lastMessage() { return host_->platform().shownMessages().back(); }
  bool checkDataRaised() {
    bool raised = std::count(events_.begin(), events_.end(), host::bill_event::kOnCheckData) > 0;
    events_.clear();
    return raised;
  }

  qx::testing::TempHome home_;
  std::unique_ptr<SimHost> host_;
  std::unique_ptr<ScheduleBill> bill_;
  automation::Ref<automation::FunctionSink> sink_;
  std::vector<automation::DispId> events_;
};

TEST_F(ScheduleChecksTest, BadRowsAreRefusedWithEveryRowNamedAndNothingWritten) {
  using Edit = std::tuple<int32_t, std::string_view, std::string>;
  const struct {
    std::vector<Edit> edits;
    const char* language;
    const char* message;
  } cases[] = {
      {{{2, "ColQty", "-500"}}, "CHS", "第 1 行 数量必须大于 0"},
      {{{3, "ColQty", "abc"}}, "CHS", "第 2 行 数量必须是数字"},
      {{{3, "ColEDate", "2026-12-01"}}, "CHS", "第 2 行 结束日期早于开始日期"},
      {{{2, "ColInHighLimit", "-5"}}, "CHS", "第 1 行 上限(%)必须是不小于 0 的数"},
      {{{2, "ColQty", "0"}, {4, "ColEDate", "2027-01-01"}, {4, "ColLineId", ""}},
       "CHS",
       "第 1 行 数量必须大于 0; 第 3 行 结束日期早于开始日期; 第 3 行 未选择生产线"},
      {{{2, "ColQty", "-500"}, {3, "ColEDate", "2026-12-01"}},
       "EN",
       "row 1: the quantity must be greater than 0; row 2: the end date is before the begin date"},
  };
  const std::string saved = table();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    host_->login().setEntry("Language", c.language);
    open();
    for (const auto& [row, key, text] : c.edits) type(row, key, text);
    checkDataRaised();
    ScheduleBill::Outcome o = bill_->save();
    EXPECT_EQ(o.action, std::string_view(c.language) == "EN"
                            ? "the bill's own checks refused the rows: nothing was saved"
                            : "单据自身检查不通过, 未保存");
    EXPECT_EQ(lastMessage().prompt, c.message);
    EXPECT_EQ(table(), saved);
    host_->platform().clearShownMessages();
    EXPECT_TRUE(bill_->checkData().cancel);  // the check runs the same checks
    EXPECT_EQ(lastMessage().prompt, c.message);
    EXPECT_FALSE(checkDataRaised());
  }
}

TEST_F(ScheduleChecksTest, LimitQuantitiesFollowAndATotalOverTheOrderAsksBeforeSaving) {
  type(2, "ColQty", "7000");
  type(2, "ColInHighLimit", "10");
  EXPECT_EQ(cell(2, "ColInHighLimitQty") + " " + cell(2, "ColInLowLimitQty"), "7700 6650");
  EXPECT_EQ(bill_->form().text("txtNoQty").text, "0");  // 12000 - 7000 - 3000 - 2000
  type(3, "ColQty", "4000");                            // 13000 on a 12000 order
  const std::string saved = table();
  checkDataRaised();
  EXPECT_FALSE(bill_->save().saved);  // No by default
  EXPECT_EQ(lastMessage().prompt, "计划数量合计 13000 超过任务单数量 12000, 仍然保存吗?");
  EXPECT_FALSE(checkDataRaised());
  EXPECT_EQ(table(), saved);
  host_->platform().queueAnswer(6);
  EXPECT_TRUE(bill_->save().saved);
  EXPECT_TRUE(checkDataRaised());
  EXPECT_EQ(table(), "7000.0:2026-12-11:7700.0 4000.0:2026-12-18:4200.0 2000.0:2027-01-08:2100.0");
}

TEST_F(ScheduleChecksTest, ClosingWithUnsavedChangesAsksAndFollowsTheAnswer) {
  EXPECT_FALSE(bill_->confirmClose().cancel);  // nothing changed: no question
  const struct {
    int32_t answer;  // 0: none queued
    bool cancel, saved, discarded;
    const char* quantity;
  } cases[] = {{0, false, false, true, "6000.0"},
               {7, false, false, true, "6000.0"},
               {2, true, false, false, "6000.0"},
               {6, false, true, false, "5000.0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    open();
    type(2, "ColQty", "5000");
    if (c.answer != 0) host_->platform().queueAnswer(c.answer);
    ScheduleBill::Outcome o = bill_->confirmClose();
    EXPECT_EQ(lastMessage().prompt, "保存修改吗?");
    EXPECT_EQ(std::tuple(o.cancel, o.saved, o.discarded),
              std::tuple(c.cancel, c.saved, c.discarded));
    EXPECT_EQ(table().substr(0, 6), c.quantity);
  }
  type(2, "ColQty", "-1");  // Yes, but the save is refused: the bill stays open
  host_->platform().queueAnswer(6);
  EXPECT_TRUE(bill_->confirmClose().cancel);
}

TEST_F(ScheduleChecksTest, TheHostsToolBarButtonsAddDeleteAndPrint) {
  bill_->clickTool("new");
  EXPECT_EQ(cell(5, "ColNo") + " " + cell(5, "ColBillNo"), "4 WO-2612-001_4");
  EXPECT_EQ(bill_->clickTool("delete").action, "第 4 行未删除");  // No by default
  EXPECT_EQ(lastMessage().prompt, "删除第 4 行吗?");
  bill_->select(2, scheduleColumnIndex("ColQty"));
  host_->platform().queueAnswer(6);
  EXPECT_EQ(bill_->clickTool("delete").action, "单据删除了第 1 行");
  EXPECT_EQ(cell(2, "ColNo") + " " + cell(2, "ColBillNo"), "1 WO-2612-001_2");
  bill_->clickTool("print");
  const ReportTable& printed = host_->reports().shown().back();
  EXPECT_EQ(printed.title + " " + printed.columns.front() + " " + printed.rows[2][1],
            "重复生产计划单 WO-2612-001 序号 WO-2612-001_4");
}

}  // namespace
}  // namespace qx::sim
