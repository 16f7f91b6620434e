#include "sim/bills/schedule_bill.h"

#include <gtest/gtest.h>

#include "automation/host_dictionary.h"
#include "host/event_interfaces.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::sim {
namespace {

using automation::Arg;
using automation::Variant;

class ScheduleBillTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    HostOptions o = HostOptions::fromEnvironment();
    o.home = home_.dir();
    o.database.clear();
    host_ = std::make_unique<SimHost>(o);
    bill_ = std::make_unique<ScheduleBill>(*host_, automation::ObjectRef());
  }
  void TearDown() override {
    bill_.reset();
    host_.reset();
    LiveObjectsTest::TearDown();
  }
  Variant op(int position, Variant arg = Variant()) {
    return bill_->events()->callId(host::bill_op::idOf(position), automation::CallKind::Method,
                                   Arg::byRef(arg));
  }
  int32_t col(std::string_view key) { return scheduleColumnIndex(key); }

  qx::testing::TempHome home_;
  std::unique_ptr<SimHost> host_;
  std::unique_ptr<ScheduleBill> bill_;
};

TEST_F(ScheduleBillTest, LoadsTheWorkOrderHeaderAndItsScheduleRows) {
  bill_->load(5001);
  const ScheduleForm& f = bill_->form();
  EXPECT_EQ(f.grid->rows(), 4);  // the caption row and three schedule rows
  EXPECT_EQ(f.grid->cell(2, col("ColBillNo")).value, Variant("WO-2612-001_1"));
  EXPECT_EQ(f.grid->cell(2, col("ColLineId")).value, Variant(1001));
  EXPECT_EQ(f.text("txtNo").text, "WO-2612-001");
  EXPECT_EQ(f.text("txtInterId").text, "5001");
  EXPECT_EQ(f.text("txtNoQty").text, "1000");
  EXPECT_EQ(f.text("txtdeptid").text, "101");
  EXPECT_DOUBLE_EQ(bill_->totalQty(), 11000);
  EXPECT_FALSE(bill_->changed());
}

TEST_F(ScheduleBillTest, AnUnknownWorkOrderIsAnErrorAndTheFormStaysAsItWas) {
  bill_->load(5001);
  try {
    bill_->load(4242);
    FAIL() << "expected an error";
  } catch (const automation::Error& e) {
    EXPECT_NE(e.description().find("4242"), std::string::npos);
  }
  EXPECT_EQ(bill_->form().text("txtInterId").text, "5001");
  EXPECT_EQ(bill_->form().grid->rows(), 4);
}

TEST_F(ScheduleBillTest, OperationsByPosition) {
  bill_->load(5001);
  Variant form;
  bill_->events()->callId(host::bill_op::idOf(1), automation::CallKind::Method, Arg::byRef(form));
  EXPECT_EQ(form.objectOrNull().get(), bill_->form().form.get());
  Variant columns;
  bill_->events()->callId(host::bill_op::idOf(2), automation::CallKind::Method,
                          Arg::byRef(columns));
  auto map = automation::refCast<automation::HostDictionary>(columns.objectOrNull());
  ASSERT_TRUE(map);
  for (const ScheduleColumn& c : scheduleColumns()) {
    EXPECT_EQ(map->valueOr(c.key, Variant()), Variant(col(c.key))) << c.key;
  }
  GridControl& g = *bill_->form().grid;
  g.setRows(5);
  g.cell(5, col("ColQty")).value = Variant(500.0);
  g.cell(3, col("ColNo")).value = Variant(99);
  op(6);
  op(7);
  op(8);
  EXPECT_EQ(g.cell(3, col("ColNo")).value, Variant(2));
  EXPECT_EQ(g.cell(5, col("ColNo")).value, Variant(4));
  EXPECT_TRUE(bill_->changed());
  EXPECT_DOUBLE_EQ(bill_->totalQty(), 11500);
  EXPECT_EQ(bill_->events()->operationLog(), (std::vector<int>{1, 2, 6, 7, 8}));
}

TEST_F(ScheduleBillTest, SelectingACellRaisesTheSelectionEventWhichMayRefuse) {
  bill_->load(5001);
  std::vector<std::vector<Variant>> seen;
  bool refuse = false;
  auto sink = automation::makeObject<automation::FunctionSink>(
      [&](automation::DispId id, automation::Args a) {
        if (id != host::bill_event::kOnSelectChanged) return;
        seen.push_back({a[0].get(), a[1].get(), a[2].get(), a[3].get()});
        if (refuse) a[4].set(Variant(true));
      });
  uint32_t cookie = bill_->events()->advise(host::kBillEvents, automation::ObjectRef(sink));
  EXPECT_FALSE(bill_->select(2, 3).cancel);
  refuse = true;
  EXPECT_TRUE(bill_->select(3, 4).cancel);
  EXPECT_EQ(bill_->form().grid->selRow(), 2);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1], (std::vector<Variant>{Variant(3), Variant(4), Variant(2), Variant(3)}));
  bill_->events()->unadvise(cookie);
}

TEST_F(ScheduleBillTest, AFailingSelectionHandlerIsReportedAndTheMoveGoesOn) {
  bill_->load(5001);
  auto sink = automation::makeObject<automation::FunctionSink>(
      [](automation::DispId, automation::Args) { throw automation::Error(1234, "handler broke"); });
  uint32_t cookie = bill_->events()->advise(host::kBillEvents, automation::ObjectRef(sink));
  ScheduleBill::Outcome o = bill_->select(3, 2);
  ASSERT_TRUE(o.failure);
  EXPECT_EQ(o.failure->number(), 1234);
  EXPECT_FALSE(o.cancel);
  EXPECT_EQ(bill_->form().grid->selRow(), 3);
  bill_->events()->unadvise(cookie);
}

TEST_F(ScheduleBillTest, WithoutAPluginTheBillStillWorks) {
  bill_->load(5003);
  auto failure = bill_->attachPlugin("No.Such.Plugin");
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->number(), 429);
  EXPECT_FALSE(bill_->plugin());
  EXPECT_FALSE(bill_->clickTool("save").failure);
  EXPECT_THROW(bill_->clickTool("nosuchtool"), automation::Error);
}

}  // namespace
}  // namespace qx::sim
