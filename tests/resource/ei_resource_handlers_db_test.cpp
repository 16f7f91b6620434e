// The delete check against a real SQLite database through the substitute host.
#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "resource/ei_resource.h"
#include "sim/bills/master_data_bill.h"
#include "sim/sim_host.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::resource {
namespace {

using automation::Variant;

constexpr const char* kScript = R"(
CREATE TABLE t_resource (FInterID INTEGER PRIMARY KEY, FNumber TEXT, FName TEXT, FTypeID INTEGER,
                         FWorkCenterID INTEGER, FEIProductivity REAL, FForbid INTEGER,
                         FDeleted INTEGER DEFAULT 0, FNote TEXT);
CREATE TABLE t_eiLineCalendar (FLineID INTEGER, FDate DATE, FHours REAL);
CREATE TABLE t_eiItemLine (FID INTEGER PRIMARY KEY, FItemID INTEGER, FLineID INTEGER);
INSERT INTO t_resource (FInterID, FNumber, FName, FTypeID) VALUES
  (1, 'L-1', 'used line', 11063), (2, 'L-2', 'free line', 11063), (-1, 'X', 'odd id', 11062);
INSERT INTO t_eiLineCalendar VALUES (2, '2026-12-01', 8);
INSERT INTO t_eiItemLine VALUES (1, 100, 1), (2, 101, 1);
)";

class DeleteCheckDbTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    dir_ = qx::testing::uniqueTempPath("delete_check");
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "t.sql") << kScript;
    sim::Database::build(dir_ / "t.db", {dir_ / "t.sql"});
    sim::HostOptions o;
    o.home = dir_;
    o.database = dir_ / "t.db";
    o.dataDir = std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data";
    o.login.setEntry("Language", "EN");
    host_ = std::make_unique<sim::SimHost>(o);
  }
  void TearDown() override {
    host_.reset();
    std::filesystem::remove_all(dir_);
    LiveObjectsTest::TearDown();
  }
  int32_t count(const std::string& sql) {
    return host_->database().open().execute(sql)->value(0).toInt32();
  }
  // The bill engine with the plug-in subscribed, on a thread of its own (translation state).
  void run(const std::function<void(sim::MasterDataBill&)>& body) {
    std::thread([&] {
      auto bill = automation::makeObject<sim::MasterDataBill>(host_->databaseShared());
      auto plugin = EIResource::create();
      plugin->Init(Variant(bill->events()));
      body(*bill);
    }).join();
  }
  std::filesystem::path dir_;
  std::unique_ptr<sim::SimHost> host_;
};

TEST_F(DeleteCheckDbTest, ALineWithRelationsIsKeptWithTheTwoLineMessage) {
  run([&](sim::MasterDataBill& bill) {
    sim::MasterDataBill::Outcome o = bill.remove(1);
    EXPECT_FALSE(o.failure);
    EXPECT_EQ(o["bCancel"], Variant(true));
    EXPECT_EQ(o["sMsg"], Variant("Line/item relations still refer to this resource; it cannot be "
                                 "deleted.\r\nYou can disable the resource instead."));
  });
  EXPECT_EQ(count("SELECT COUNT(*) FROM t_resource WHERE FInterID = 1"), 1);
}

TEST_F(DeleteCheckDbTest, ALineWithoutRelationsIsDeletedWithItsCalendar) {
  run([&](sim::MasterDataBill& bill) {
    sim::MasterDataBill::Outcome o = bill.remove(2);
    EXPECT_FALSE(o.failure);
    EXPECT_EQ(o["bCancel"], Variant(false));
    EXPECT_EQ(o["sMsg"], Variant(""));
  });
  EXPECT_EQ(count("SELECT COUNT(*) FROM t_resource WHERE FInterID = 2"), 0);
  EXPECT_EQ(count("SELECT COUNT(*) FROM t_eiLineCalendar WHERE FLineID = 2"), 0);
}

TEST_F(DeleteCheckDbTest, TheNegativeIdIsQueriedWithItsSign) {
  host_->database().open().run("INSERT INTO t_eiItemLine VALUES (3, 102, -1)");
  run([&](sim::MasterDataBill& bill) { EXPECT_EQ(bill.remove(-1)["bCancel"], Variant(true)); });
  EXPECT_EQ(count("SELECT COUNT(*) FROM t_resource WHERE FInterID = -1"), 1);
}

TEST_F(DeleteCheckDbTest, AConnectionThatCannotBeCreatedIsTheEventsErrorAndNothingIsDeleted) {
  host_->faults().add("QxConnection.AppConnection", "(create)");
  run([&](sim::MasterDataBill& bill) {
    sim::MasterDataBill::Outcome o = bill.remove(2);
    ASSERT_TRUE(o.failure);
    EXPECT_NE(o.failure->description().find("Injected failure"), std::string::npos);
    EXPECT_EQ(o["bCancel"], Variant(false));
  });
  host_->faults().clear();
  EXPECT_EQ(count("SELECT COUNT(*) FROM t_resource WHERE FInterID = 2"), 1);
}

TEST_F(DeleteCheckDbTest, AMissingRelationTableIsTheEventsError) {
  host_->database().open().run("DROP TABLE t_eiItemLine");
  run([&](sim::MasterDataBill& bill) {
    sim::MasterDataBill::Outcome o = bill.remove(2);
    ASSERT_TRUE(o.failure);
    EXPECT_NE(o.failure->description().find("no such table: t_eiItemLine"), std::string::npos);
  });
  EXPECT_EQ(count("SELECT COUNT(*) FROM t_resource WHERE FInterID = 2"), 1);
}

}  // namespace
}  // namespace qx::resource
