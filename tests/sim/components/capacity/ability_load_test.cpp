// The capacity loader against a small plant whose figures are worked out by hand: a holiday, a
// weekend, a date without calendar row, two overlapping rows, a row over a weekend only, rows
// that must not load (cancelled, closed, of a standard work order, productivity 0), an order
// without schedule rows, and each option.
#include "sim/components/capacity/ability_load.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "sim/db/plant_generator.h"
#include "sim/platform/host_date.h"
#include "sim/sim_host.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::sim {
namespace {

using automation::byRef;
using automation::ObjectRef;
using automation::Recordset;
using automation::Variant;

// Line 11 "L-B" is preferred; 12 "L-A" and 13 "L-C" follow by number; 14 is a mould and 15 a
// deleted line. Item 1 makes 10/h on 11 (the line's figure), 40/h on 12, nothing known on 13.
// Work order 100 (item 1, boxes of 10) plans 2027-01-01 (holiday, Friday) to 2027-01-06.
constexpr const char* kPlant = R"(
INSERT INTO t_department VALUES (1, '01', '01', 'Assembly', 0);
INSERT INTO t_workcenter VALUES (1, 'WC1', 'Centre one', 1, 0);
INSERT INTO t_resourcetype VALUES (11063, 'line'), (11064, 'mould');
INSERT INTO t_resource (FInterID, FNumber, FName, FTypeID, FWorkCenterID, FEIProductivity, FDeleted)
VALUES (11, 'L-B', 'Line B', 11063, 1, 10, 0), (12, 'L-A', 'Line A', 11063, NULL, 20, 0),
       (13, 'L-C', 'Line C', 11063, 1, 0, 0), (14, 'M-1', 'Mould', 11064, 1, 0, 0),
       (15, 'L-D', 'Gone', 11063, 1, 10, 1);
INSERT INTO t_MeasureUnit VALUES (1, 'PCS', 'piece', 1, 1), (2, 'BOX', 'box', 1, 10);
INSERT INTO t_ICItem (FItemID, FNumber, FName, FUnitID, FProductUnitID, FQtyDecimal)
VALUES (1, 'P1', 'Kettle', 1, 2, 2), (2, 'P2', 'Lid', 1, 1, 0), (3, 'P3', 'Nowhere', 1, 1, 0);
INSERT INTO t_eiItemLine (FItemID, FLineID, FPriority, FProductivity)
VALUES (1, 11, 1, 0), (1, 12, 2, 40), (1, 13, 2, 0), (1, 14, 1, 9), (1, 15, 1, 9), (2, 11, 1, 5);
INSERT INTO t_eiLineCalendar (FLineID, FDate, FHours) VALUES
  (11, '2026-12-31', 8), (11, '2027-01-01', 0), (11, '2027-01-02', 0), (11, '2027-01-03', 0),
  (11, '2027-01-04', 8), (11, '2027-01-05', 8), (11, '2027-01-07', 8),
  (12, '2027-01-01', 8), (12, '2027-01-02', 0), (12, '2027-01-03', 0), (12, '2027-01-04', 8),
  (12, '2027-01-05', 8), (12, '2027-01-06', 8), (13, '2027-01-04', 8);
INSERT INTO icmo (FInterID, FBillNo, FType, FStatus, FItemID, FWorkShop, FUnitID, FQty, FAuxQty,
                  FPlanCommitDate, FPlanFinishDate) VALUES
  (100, 'WO-100', 2, 1, 1, 1, 2, 1000, 100, '2027-01-01', '2027-01-06'),
  (200, 'WO-200', 2, 1, 2, 1, 1, 100, 100, '2027-01-01', '2027-01-31'),
  (300, 'WO-300', 2, 0, 1, 1, 1, 80, 80, '2027-01-04', '2027-01-05'),
  (400, 'WO-400', 1, 1, 1, 1, 1, 100, 100, '2027-01-01', '2027-01-06'),
  (500, 'WO-500', 2, 0, 3, 1, 1, 10, 10, '2027-01-01', '2027-01-06'),
  (600, 'WO-600', 2, 0, 1, 1, 1, 10, 10, '2027-01-01', NULL);
-- 1: 120 base units = 12 h on 11 over its 3 working days (12-31, 01-04, 01-05), 4 h each.
-- 2: 30 lids at 5/h = 6 h on 01-04, on top of row 1. 5: 40 units = 1 h over a weekend.
INSERT INTO t_eiRepSchedule (FInterID, FICMOInterID, FEntryID, FBillNo, FBeginDate, FEndDate,
                             FAuxQty, FLineID, FStatus, FCancel) VALUES
  (1, 100, 1, 'R1', '2026-12-31', '2027-01-05', 12, 11, 1, 'N'),
  (2, 200, 1, 'R2', '2027-01-04', '2027-01-04', 30, 11, 0, 'N'),
  (3, 100, 2, 'R3', '2027-01-05', '2027-01-05', 1000, 11, 0, 'Y'),
  (4, 100, 3, 'R4', '2027-01-04', '2027-01-04', 1000, 12, 2, 'N'),
  (5, 100, 4, 'R5', '2027-01-02', '2027-01-03', 4, 12, 0, 'N'),
  (6, 100, 5, 'R6', '2027-01-04', '2027-01-04', 10, 13, 1, 'N'),
  (7, 400, 1, 'R7', '2027-01-05', '2027-01-05', 100, 12, 1, 'N');
)";

std::string schemaAnd(const std::string& script) {
  std::ifstream in(std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data" / "schema.sql");
  std::ostringstream text;
  text << in.rdbuf() << script;
  return text.str();
}

struct Figures {
  double ability, load, diff, rate, qty, aux;
};

class AbilityLoadTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    database_ = std::make_shared<Database>(home_.database("p.db", schemaAnd(kPlant)), "", false);
  }
  // GetAbilityByRepICMO through the automation face, today being 2027-01-05.
  Variant load(std::map<std::string, Variant> options) {
    auto dict = automation::HostDictionary::create();
    for (auto& [k, v] : options) dict->set(k, v);
    Variant arg{ObjectRef(dict)};
    auto loader = automation::makeObject<AbilityLoad>(database_, "2027-01-05");
    return loader->call("GetAbilityByRepICMO", byRef(arg));
  }
  std::map<std::pair<int32_t, std::string>, Figures> figures(Variant result) {
    auto rs = automation::refCast<Recordset>(result.toObject());
    std::map<std::pair<int32_t, std::string>, Figures> out;
    for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
      auto v = [&](const char* f) { return rs->value(rs->column(Variant(f))).toDouble(); };
      out[{rs->value(0).toInt32(), automation::formatDate(rs->value(1).toDate())}] = {
          v("FAbility"), v("FLoad"), v("FDiff"), v("FDiffRate"), v("FQty"), v("FAuxQty")};
    }
    return out;
  }
  qx::testing::TempHome home_;
  std::shared_ptr<Database> database_;
};

TEST_F(AbilityLoadTest, OneRowPerLineAndDateInLedgerOrderWithTheFieldsAndTypes) {
  Variant result = load({{"RepICMO", Variant(100.0)}});
  auto rs = automation::refCast<Recordset>(result.toObject());
  ASSERT_TRUE(rs);
  EXPECT_EQ(rs->get("State"), Variant(1));
  const char* names[] = {"FLineID",       "FDate",       "FLineNumber", "FLineName", "FWorkCenter",
                         "FProductivity", "FQtyDecimal", "FAbility",    "FLoad",     "FDiff",
                         "FDiffRate",     "FQty",        "FAuxQty"};
  ASSERT_EQ(rs->fieldCount(), 13u);
  for (size_t i = 0; i < 13; ++i) EXPECT_EQ(rs->fieldDef(i).name, names[i]);
  std::ostringstream order;
  for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
    order << rs->value(0).toInt32() << "/"
          << automation::formatDate(rs->value(1).toDate()).substr(8) << " ";
  }
  EXPECT_EQ(order.str(),
            "11/01 11/02 11/03 11/04 11/05 11/06 12/01 12/02 12/03 12/04 12/05 12/06 "
            "13/01 13/02 13/03 13/04 13/05 13/06 ");
  rs->moveFirst();
  EXPECT_EQ(rs->value(2), Variant("L-B"));
  EXPECT_EQ(rs->value(4), Variant("Centre one"));
  EXPECT_EQ(rs->value(5), Variant(10.0));
  EXPECT_EQ(rs->value(6), Variant(2.0));
  rs->move(6);
  EXPECT_EQ(rs->value(4), Variant(""));  // a line without work centre
  EXPECT_EQ(rs->value(5), Variant(40.0));
}

TEST_F(AbilityLoadTest, FiguresPerOptionMatchTheHandComputedOnes) {
  struct Case {
    const char* what;
    std::map<std::string, Variant> options;
    int32_t line;
    const char* date;
    Figures f;
  };
  const Variant on(1.0);
  const Case cases[] = {
      {"holiday: no capacity, no load", {}, 11, "2027-01-01", {0, 0, 0, 0, 0, 0}},
      {"overlapping rows overload", {}, 11, "2027-01-04", {8, 10, -2, -25, 0, 0}},
      {"row over weekend and holiday", {}, 11, "2027-01-05", {8, 4, 4, 50, 40, 4}},
      {"no calendar row", {}, 11, "2027-01-06", {0, 0, 0, 0, 0, 0}},
      {"free day", {}, 12, "2027-01-01", {8, 0, 8, 100, 320, 32}},
      {"row without working day", {}, 12, "2027-01-02", {0, 0.5, -0.5, 0, 0, 0}},
      {"closed row does not load", {}, 12, "2027-01-04", {8, 0, 8, 100, 320, 32}},
      {"standard order does not load", {}, 12, "2027-01-05", {8, 0, 8, 100, 320, 32}},
      {"productivity 0", {}, 13, "2027-01-04", {8, 0, 8, 100, 0, 0}},
      {"released only", {{"FSchedule", on}}, 11, "2027-01-04", {8, 4, 4, 50, 40, 4}},
      {"released only, weekend", {{"FSchedule", on}}, 12, "2027-01-02", {0, 0, 0, 0, 0, 0}},
      {"remaining: past date",
       {{"CalcRemainAbility", on}},
       11,
       "2027-01-04",
       {0, 10, -10, 0, 0, 0}},
      {"remaining: today", {{"CalcRemainAbility", on}}, 11, "2027-01-05", {8, 4, 4, 50, 40, 4}},
      {"unplanned orders", {{"FNoPlanICMO", on}}, 11, "2027-01-04", {8, 14, -6, -75, 0, 0}},
      {"unplanned orders, full", {{"FNoPlanICMO", on}}, 11, "2027-01-05", {8, 8, 0, 0, 0, 0}},
      {"options as True", {{"FSchedule", Variant(true)}}, 11, "2027-01-04", {8, 4, 4, 50, 40, 4}},
      {"options as text",
       {{"FNoPlanICMO", Variant("0")}},
       11,
       "2027-01-04",
       {8, 10, -2, -25, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::map<std::string, Variant> options = c.options;
    options["RepICMO"] = Variant(100.0);
    auto all = figures(load(options));
    auto it = all.find({c.line, c.date});
    ASSERT_NE(it, all.end());
    const Figures& f = it->second;
    EXPECT_DOUBLE_EQ(f.ability, c.f.ability);
    EXPECT_DOUBLE_EQ(f.load, c.f.load);
    EXPECT_DOUBLE_EQ(f.diff, c.f.diff);
    EXPECT_DOUBLE_EQ(f.rate, c.f.rate);
    EXPECT_DOUBLE_EQ(f.qty, c.f.qty);
    EXPECT_DOUBLE_EQ(f.aux, c.f.aux);
  }
}

TEST_F(AbilityLoadTest, BadInputGivesAClearOutcome) {
  struct Case {
    const char* what;
    std::map<std::string, Variant> options;
    int32_t error;  // 0: a result
    int32_t rows;   // -1: Nothing
  };
  const Case cases[] = {
      {"unknown work order", {{"RepICMO", Variant(999.0)}}, 0, -1},
      {"work order 0", {{"RepICMO", Variant(0.0)}}, 0, -1},
      {"item without lines", {{"RepICMO", Variant(500.0)}}, 0, 0},
      {"no plan period", {{"RepICMO", Variant(600.0)}}, 0, 0},
      {"id as text", {{"RepICMO", Variant("100")}}, 0, 18},
      {"RepICMO missing", {}, 449, 0},
      {"RepICMO not whole", {{"RepICMO", Variant(100.5)}}, 5, 0},
      {"option not a number", {{"RepICMO", Variant(100.0)}, {"FSchedule", Variant("yes")}}, 13, 0},
      {"option Null", {{"RepICMO", Variant(100.0)}, {"FNoPlanICMO", Variant::null()}}, 13, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Variant result;
    int32_t error = qx::testing::errorNumber([&] { result = load(c.options); });
    EXPECT_EQ(error, c.error);
    if (c.error != 0) continue;
    if (c.rows < 0) {
      EXPECT_TRUE(result.isNothing());
      continue;
    }
    auto rs = automation::refCast<Recordset>(result.toObject());
    ASSERT_TRUE(rs);
    EXPECT_TRUE(rs->isOpen());
    EXPECT_EQ(rs->recordCount(), c.rows);
  }
  try {
    load({{"RepICMO", Variant(100.0)}, {"CalcRemainAbility", Variant("x")}});
    ADD_FAILURE() << "no error";
  } catch (const automation::Error& e) {
    EXPECT_NE(e.description().find("\"CalcRemainAbility\""), std::string::npos) << e.description();
  }
}

TEST_F(AbilityLoadTest, HostDates) {
  const std::pair<const char*, bool> cases[] = {{"2027-01-05", true},  {"2028-02-29", true},
                                                {"2027-02-29", false}, {"2027-1-5", false},
                                                {"05/01/2027", false}, {"", false}};
  for (auto [text, ok] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(isHostDate(text), ok);
  }
  EXPECT_TRUE(isHostDate(hostDate("")));

  // The host hands its fixed date to the loader it registers, and refuses a date that is none.
  HostOptions o;
  o.home = home_.dir();
  o.dataDir = std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data";
  o.today = "2026-12-32";
  EXPECT_THROW(SimHost{o}, automation::Error);
  o.today = "2026-12-10";
  SimHost host(o);
  auto options = automation::HostDictionary::create();
  options->set("RepICMO", Variant(5001.0));
  options->set("CalcRemainAbility", Variant(1));
  Variant arg{ObjectRef(options)};
  ObjectRef loader = host.components().create("QxEIAbility.AbilityLoad");
  auto rs =
      automation::refCast<Recordset>(loader->call("GetAbilityByRepICMO", byRef(arg)).toObject());
  ASSERT_TRUE(rs);
  rs->move(8);  // line 1001, 2026-12-09 and 2026-12-10: 16 hours each in the calendar
  EXPECT_EQ(rs->value(1), Variant(automation::makeDate(2026, 12, 9)));
  EXPECT_EQ(rs->value(7), Variant(0.0));
  rs->moveNext();
  EXPECT_EQ(rs->value(7), Variant(16.0));
}

TEST_F(AbilityLoadTest, AGeneratedPlantLoadsItsLinesOverWorkingDays) {
  std::filesystem::path file = home_.dir() / "plant.db";
  int32_t order = generatePlant(file, 3, 14);
  auto plant = std::make_shared<Database>(file, "", false);
  SqliteDb db = plant->open();
  std::optional<AbilityLedger> ledger = computeAbility(db, order, {});
  ASSERT_TRUE(ledger);
  ASSERT_EQ(ledger->lines.size(), 3u);
  ASSERT_EQ(ledger->days, 14);
  EXPECT_EQ(ledger->firstDay, automation::makeDate(2027, 1, 1).serial);
  double ability = 0, load = 0;
  for (size_t i = 0; i < ledger->ability.size(); ++i) {
    int32_t weekday = (ledger->firstDay + static_cast<int32_t>(i % 14)) % 7;  // 0 = Saturday
    if (weekday < 2) {
      EXPECT_EQ(ledger->ability[i], 0) << i;
    }
    ability += ledger->ability[i];
    load += ledger->load[i];
  }
  EXPECT_GT(ability, 0);
  EXPECT_GT(load, 0);
  EXPECT_THROW(generatePlant(file, 0, 10), automation::Error);
}

}  // namespace
}  // namespace qx::sim
