#include "sim/bills/master_data_bill.h"

#include <gtest/gtest.h>

#include <cmath>

#include "automation/conversions.h"
#include "automation/events.h"
#include "automation/host_vector.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::sim {
namespace {

using automation::Args;
using automation::DispId;
using automation::Variant;

constexpr const char* kScript = R"(
CREATE TABLE t_resource (FInterID INTEGER PRIMARY KEY, FNumber TEXT NOT NULL UNIQUE,
                         FName TEXT NOT NULL, FTypeID INTEGER NOT NULL, FWorkCenterID INTEGER,
                         FEIProductivity REAL NOT NULL DEFAULT 0, FForbid INTEGER NOT NULL DEFAULT 0,
                         FDeleted INTEGER NOT NULL DEFAULT 0, FNote TEXT);
CREATE TABLE t_eiLineCalendar (FLineID INTEGER, FDate DATE, FHours REAL);
INSERT INTO t_resource (FInterID, FNumber, FName, FTypeID) VALUES (5, 'L-5', 'five', 11063);
)";

// A plug-in stand-in: answers OnCheckData and OnCheckCanDel as the test says.
class Refuser {
 public:
  explicit Refuser(MasterDataBill& bill)
      : sink_(automation::makeObject<automation::FunctionSink>(
            [this](DispId id, Args a) { answer(id, a); })) {
    connection_.assign(ObjectRef(bill.events()), "MasterDataEvents", ObjectRef(sink_));
  }
  ~Refuser() {
    connection_.reset();
    sink_->detach();
  }
  bool refuse = false;
  bool fail = false;
  std::vector<std::vector<std::string>> seen;

 private:
  using ObjectRef = automation::ObjectRef;
  void answer(DispId id, Args a) {
    if (fail) throw automation::Error(5, "plug-in failure");
    if (id == 4) {
      std::vector<std::string> names;
      automation::forEachItem(a[0].get().toObject(), [&](const Variant& e) {
        names.push_back(e.toObject()->call("GetValue", "FName", "").toString());
      });
      seen.push_back(names);
    }
    if (refuse) {
      a[1].set(Variant("no"));
      a[2].set(Variant(true));
    }
  }
  automation::Ref<automation::FunctionSink> sink_;
  automation::EventConnection connection_;
};

class MasterDataBillTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    database_ = std::make_shared<Database>(home_.database("t.db", kScript), "", false);
    bill_ = automation::makeObject<MasterDataBill>(database_);
    plugin_ = std::make_unique<Refuser>(*bill_);
  }
  void TearDown() override {
    plugin_.reset();
    bill_.reset();
    LiveObjectsTest::TearDown();
  }
  Variant value(const std::string& sql) { return database_->open().execute(sql)->value(0); }

  qx::testing::TempHome home_;
  std::shared_ptr<Database> database_;
  automation::Ref<MasterDataBill> bill_;
  std::unique_ptr<Refuser> plugin_;
};

TEST_F(MasterDataBillTest, SavingSendsTheFieldEntriesAndStoresAnAcceptedRecord) {
  MasterDataBill::Outcome o = bill_->save({{"FNumber", Variant("L-6")},
                                           {"FName", Variant("it's six")},
                                           {"FTypeName", Variant(11063)},
                                           {"FEIProductivity", Variant(12.5)}});
  EXPECT_FALSE(o.failure);
  EXPECT_EQ(o.action, "已新增资源 6");
  EXPECT_EQ(plugin_->seen.back(),
            (std::vector<std::string>{"FNumber", "FName", "FTypeName", "FEIProductivity"}));
  EXPECT_EQ(value("SELECT FName FROM t_resource WHERE FInterID = 6"), Variant("it's six"));
  o = bill_->save({{"FInterID", Variant(5)}, {"FEIProductivity", Variant(3)}});
  EXPECT_EQ(o.action, "已保存资源 5");
  EXPECT_EQ(value("SELECT FEIProductivity FROM t_resource WHERE FInterID = 5"), Variant(3.0));
}

TEST_F(MasterDataBillTest, ARefusedOrFailedCheckStoresNothing) {
  plugin_->refuse = true;
  MasterDataBill::Outcome o = bill_->save({{"FNumber", Variant("L-7")}});
  EXPECT_EQ(o.action, "插件拒绝, 未保存");
  EXPECT_EQ(o["sMsg"], Variant("no"));
  plugin_->refuse = false;
  plugin_->fail = true;
  o = bill_->save({{"FNumber", Variant("L-7")}});
  ASSERT_TRUE(o.failure);
  EXPECT_EQ(o.action, "未保存");
  EXPECT_EQ(value("SELECT COUNT(*) FROM t_resource"), Variant(1));
}

TEST_F(MasterDataBillTest, AStoreThatTheDatabaseRejectsIsReported) {
  MasterDataBill::Outcome o = bill_->save({{"FNumber", Variant("L-5")}, {"FName", Variant("x")}});
  ASSERT_TRUE(o.failure);
  EXPECT_NE(o.failure->description().find("UNIQUE"), std::string::npos);
  // A productivity that is no number is the bill's own refusal now, before the database.
  o = bill_->save({{"FInterID", Variant(5)}, {"FEIProductivity", Variant("abc")}});
  EXPECT_FALSE(o.failure);
  EXPECT_EQ(o.action, "单据自身检查未通过, 未保存");
  EXPECT_EQ(value("SELECT FEIProductivity FROM t_resource WHERE FInterID = 5"), Variant(0.0));
}

TEST_F(MasterDataBillTest, AProductivityMustBeAFiniteNumberAboveZeroBeforeThePluginIsAsked) {
  const std::pair<Variant, bool> cases[] = {
      {Variant(-45.0), false},        {Variant("-0.5"), false}, {Variant(HUGE_VAL), false},
      {Variant(std::nan("")), false}, {Variant("abc"), false},  {Variant(true), false},
      {Variant(0.0), true},           {Variant(12.5), true},    {Variant("7"), true}};
  for (const auto& [productivity, accepted] : cases) {
    SCOPED_TRACE(automation::describe(productivity));
    size_t asked = plugin_->seen.size();
    MasterDataBill::Outcome o =
        bill_->save({{"FInterID", Variant(5)}, {"FEIProductivity", productivity}});
    EXPECT_EQ(plugin_->seen.size(), asked + (accepted ? 1 : 0));
    EXPECT_EQ(o.action, accepted ? "已保存资源 5" : "单据自身检查未通过, 未保存");
    if (!accepted) {
      EXPECT_EQ(o["sMsg"], Variant("生产率必须是大于 0 的数"));
      EXPECT_EQ(o["bCancel"], Variant(true));
    }
  }
  EXPECT_EQ(value("SELECT FEIProductivity FROM t_resource WHERE FInterID = 5"), Variant(7.0));
}

TEST_F(MasterDataBillTest, DeletingFollowsTheAnswer) {
  plugin_->refuse = true;
  EXPECT_EQ(bill_->remove(5).action, "插件拒绝, 未删除");
  plugin_->refuse = false;
  EXPECT_EQ(bill_->remove(5).action, "已删除资源 5");
  EXPECT_EQ(bill_->remove(5).action, "没有资源 5 可删除");
  EXPECT_EQ(value("SELECT COUNT(*) FROM t_resource"), Variant(0));
}

}  // namespace
}  // namespace qx::sim
