// The capacity loader's decomposition proposal on the sample plant: once the proposed pieces
// are schedule rows, no day that had free capacity is loaded over it, and the pieces with what
// is left add up to the undecomposed quantity; a quantity beyond every line's free capacity
// uses it up and says what is left. Then the loader's two dialogs as a script answers them.
#include "sim/components/capacity/plan_proposal.h"

#include <gtest/gtest.h>

#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "host/prog_ids.h"
#include "sim/components/capacity/ability_load.h"
#include "sim/db/sqlite_query.h"
#include "sim/sim_host.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::sim {
namespace {

using automation::ObjectRef;
using automation::Variant;

constexpr const char* kToday = "2026-12-08";

class PlanProposalTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    home_ = qx::testing::uniqueTempPath("plan");
    std::filesystem::remove_all(home_);
    HostOptions o;
    o.home = home_;
    o.dataDir = std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data";
    o.today = kToday;
    host_ = std::make_unique<SimHost>(o);
  }
  void TearDown() override {
    host_.reset();
    std::filesystem::remove_all(home_);
    LiveObjectsTest::TearDown();
  }
  AbilityOptions options() {
    AbilityOptions o;
    o.today = kToday;
    o.remainingOnly = true;
    return o;
  }
  // The pieces as the bill would save them.
  void save(SqliteDb& db, int32_t order, const PlanProposal& p) {
    int n = 100;
    for (const PlanPiece& piece : p.pieces) {
      SqliteQuery q(db,
                    "INSERT INTO t_eiRepSchedule (FICMOInterID, FEntryID, FBillNo, FBeginDate, "
                    "FEndDate, FAuxQty, FLineID, FStatus) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, 0)");
      q.bind(1, int64_t{order}).bind(2, int64_t{n});
      q.bind(3, std::string_view("P" + std::to_string(order) + "_" + std::to_string(n)));
      std::string from = automation::formatDate(automation::Date{double(piece.fromDay)});
      std::string to = automation::formatDate(automation::Date{double(piece.toDay)});
      q.bind(4, std::string_view(from)).bind(5, std::string_view(to));
      q.bind(6, piece.auxQty).bind(7, int64_t{piece.lineId});
      q.run();
      ++n;
    }
  }
  ObjectRef loader() { return host_->components().create(host::prog_id::kAbilityLoad); }

  std::filesystem::path home_;
  std::unique_ptr<SimHost> host_;
};

TEST_F(PlanProposalTest, NoDayIsLoadedOverItsFreeCapacity) {
  for (int32_t order : {5001, 5004, 5005, 5002, 5003}) {
    SCOPED_TRACE(order);
    SqliteDb db = host_->database().open();
    std::optional<PlanProposal> p = proposePlan(db, order, options());
    ASSERT_TRUE(p);
    double sum = p->leftOver;
    for (const PlanPiece& piece : p->pieces) {
      sum += piece.auxQty;
      EXPECT_GE(piece.fromDay, automation::parseDate(kToday)->serial);
      EXPECT_LE(piece.fromDay, piece.toDay);
      EXPECT_DOUBLE_EQ(piece.highLimitQty, piece.auxQty * (1 + piece.highLimit / 100));
    }
    EXPECT_NEAR(sum, std::max(p->undecomposed, 0.0), 1e-6);
    AbilityLedger before = *computeAbility(db, order, options());
    save(db, order, *p);
    AbilityLedger after = *computeAbility(db, order, options());
    ASSERT_EQ(before.load.size(), after.load.size());
    for (size_t i = 0; i < after.load.size(); ++i) {
      if (before.ability[i] - before.load[i] < 0) continue;  // overloaded already
      EXPECT_LE(after.load[i], after.ability[i] + 1e-6) << "line/day " << i;
    }
  }
}

TEST_F(PlanProposalTest, WhenCapacityRunsOutTheRestIsLeftOver) {
  SqliteDb db = host_->database().open();
  SqliteQuery(db, "UPDATE icmo SET FAuxQty = 1000000000, FQty = 1000000000 WHERE FInterID = 5005")
      .run();
  std::optional<PlanProposal> p = proposePlan(db, 5005, options());
  ASSERT_TRUE(p);
  ASSERT_FALSE(p->pieces.empty());
  EXPECT_GT(p->leftOver, 0);
  save(db, 5005, *p);
  AbilityLedger after = *computeAbility(db, 5005, options());
  // Every working day of the period is used up (to less than one unit of the item).
  for (size_t l = 0; l < after.lines.size(); ++l) {
    for (size_t d = 0; d < static_cast<size_t>(after.days); ++d) {
      size_t i = l * after.days + d;
      if (after.ability[i] <= 0) continue;
      double free = abilityFigures(after.ability[i], after.load[i], after.lines[l].productivity,
                                   after.unitCoefficient)
                        .auxQty;
      EXPECT_LT(free, 1.0) << "line " << after.lines[l].id << " day " << d;
    }
  }
}

TEST_F(PlanProposalTest, TheDecompositionDialogAsAnswered) {
  auto show = [&](std::vector<std::string> answer) {
    if (!answer.empty()) host_->dialogs().queue("decompose", answer);
    auto input = automation::HostDictionary::create();
    input->set("RepICMO", Variant("5001"));
    Variant arg{ObjectRef(input)};
    return loader()->call("Show", automation::byRef(arg));
  };
  Variant proposed = show({});
  ASSERT_TRUE(proposed.isObject());
  auto* pieces = dynamic_cast<automation::HostVector*>(proposed.toObject().get());
  ASSERT_NE(pieces, nullptr);
  const int32_t n = pieces->count();
  ASSERT_GE(n, 2);
  EXPECT_TRUE(show({"cancel"}).isNothing());

  Variant edited = show({"1.FAuxQty=10", "1.FLineiD=1001", "drop=2"});
  auto* e = dynamic_cast<automation::HostVector*>(edited.toObject().get());
  ASSERT_EQ(e->count(), n - 1);
  ObjectRef first = e->items()[0].toObject();
  EXPECT_EQ(first->get("Value", "FAuxQty").toDouble(), 10);
  EXPECT_EQ(first->get("Value", "FInHighLimitQty").toDouble(), 10.5);
  EXPECT_EQ(first->get("Value", "FLineiD").toInt32(), 1001);
  EXPECT_EQ(first->get("Value", "FLineName").toString(), "水壶装配一线");

  for (const char* bad : {"1.FLineiD=1005", "9.FAuxQty=1", "1.FAuxQty=-1", "1.FColour=red"}) {
    SCOPED_TRACE(bad);
    try {
      show({bad});
      ADD_FAILURE() << "accepted";
    } catch (const automation::Error& err) {
      EXPECT_EQ(err.number(), 5);
    }
  }
  EXPECT_EQ(host_->platform().dialogs().shownCount("decompose"),
            3u);  // the refused edits closed nothing
}

TEST_F(PlanProposalTest, TheOptionsDialogConfirmedOrCancelled) {
  auto options = automation::HostDictionary::create();
  options->set("FSchedule", Variant(int16_t{0}));
  options->set("CalcRemainAbility", Variant(int16_t{0}));
  options->set("FNoPlanICMO", Variant(int16_t{0}));
  Variant arg{ObjectRef(options)};

  host_->dialogs().queue("options", {"cancel"});
  Variant result = loader()->call("ShowAbilityOption", automation::byRef(arg));
  EXPECT_FALSE(result.toObject()->get("Value", "OK").toBool());
  EXPECT_EQ(arg.toObject(), ObjectRef(options));

  host_->dialogs().queue("options", {"ok", "CalcRemainAbility=1"});
  result = loader()->call("ShowAbilityOption", automation::byRef(arg));
  EXPECT_TRUE(result.toObject()->get("Value", "OK").toBool());
  EXPECT_EQ(arg.toObject(), result.toObject());
  EXPECT_EQ(arg.toObject()->get("Value", "CalcRemainAbility").toInt32(), 1);
  EXPECT_EQ(options->find("CalcRemainAbility")->toInt32(), 0);  // the old one is untouched
}

TEST_F(PlanProposalTest, TheReportRefusesABadFilterAndComputesAGoodOne) {
  auto run = [&](const char* from, const char* to, const char* dept) {
    ObjectRef report = host_->components().create(host::prog_id::kRpt902);
    auto filter = automation::HostDictionary::create();
    filter->set("DtpBDate", Variant(from));
    filter->set("DtpEDate", Variant(to));
    filter->set("BItem", Variant("1.01.001"));
    filter->set("EItem", Variant("1.01.001"));
    filter->set("BDept", Variant(dept));
    filter->set("EDept", Variant(dept));
    report->put("RptID", Variant(int16_t{902}));
    report->putRef("Filter", Variant(ObjectRef(filter)));
    report->call("GetReportData");
    return report;
  };
  ObjectRef bad = run("2026-12-10", "2026-12-01", "01.01");
  EXPECT_FALSE(bad->get("Result", "OK").toBool());
  EXPECT_NE(bad->get("Result", "Error").toString().find("before the begin date"),
            std::string::npos);

  ObjectRef good = run("2026-12-01", "2026-12-10", "01.01");
  ASSERT_TRUE(good->get("Result", "OK").toBool()) << good->get("Result", "Error").toString();
  EXPECT_EQ(good->get("Result", "Error").toString(), "");
  host_->reports().setOutput(home_ / "report.csv");
  ObjectRef view = host_->components().create(host::prog_id::kReportView);
  Variant arg{good};
  view->call("Show", automation::byRef(arg), Variant(int16_t{902}));
  ASSERT_EQ(host_->reports().shown().size(), 1u);
  EXPECT_EQ(host_->reports().shown()[0].rows.size(), 20u);  // two lines, ten dates
  EXPECT_TRUE(std::filesystem::exists(home_ / "report.csv"));

  ObjectRef otherDept = run("2026-12-01", "2026-12-10", "01.02");
  ASSERT_TRUE(otherDept->get("Result", "OK").toBool());
}

}  // namespace
}  // namespace qx::sim
