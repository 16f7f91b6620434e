#include "sim/db/plant_generator.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "automation/error.h"
#include "sim/components/capacity/ability_calc.h"
#include "sim/db/sqlite_query.h"
#include "sim/sim_host.h"

namespace qx::sim {

namespace {

constexpr int32_t kWorkOrder = 9001;
constexpr int kMaxLines = 100000;

// ?1 = lines, ?2 = days. Lines 1..n have the ids 100000 + n; every fourth line is preferred;
// every third takes its productivity from the line. Schedule rows start every 7 days and run
// 10 days, so neighbours overlap; their sizes vary so that some days are overloaded.
constexpr const char* kSteps[] = {
    "CREATE TEMP TABLE n AS WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k"
    " WHERE i < max(?1, ?2)) SELECT i FROM k",
    "CREATE TEMP TABLE days AS SELECT i - 1 AS k, date('2027-01-01', '+' || (i - 1) || ' days')"
    " AS day FROM temp.n WHERE i <= ?2",
    "INSERT INTO t_department (FItemID, FNumber, FShortNumber, FName)"
    " VALUES (1, '01', '01', 'Assembly')",
    "INSERT INTO t_workcenter (FItemID, FNumber, FName, FDeptID) SELECT i, printf('WC-%03d', i),"
    " printf('Work centre %d', i), 1 FROM temp.n WHERE i <= (?1 + 9) / 10",
    "INSERT INTO t_resourcetype (FTypeID, FName) VALUES (11063, 'Production line')",
    "INSERT INTO t_resource (FInterID, FNumber, FName, FTypeID, FWorkCenterID, FEIProductivity)"
    " SELECT 100000 + i, printf('L-%05d', i), printf('Line %d', i), 11063, (i + 9) / 10,"
    " 40 + (i % 5) * 10 FROM temp.n WHERE i <= ?1",
    "INSERT INTO t_MeasureUnit (FMeasureUnitID, FNumber, FName, FUnitGroupID, FCoefficient)"
    " VALUES (1, 'PCS', 'piece', 1, 1), (2, 'BOX', 'box', 1, 10)",
    "INSERT INTO t_ICItem (FItemID, FNumber, FName, FUnitID, FProductUnitID, FQtyDecimal)"
    " VALUES (1, '1.01.001', 'Product', 1, 2, 0)",
    "INSERT INTO t_eiItemLine (FItemID, FLineID, FPriority, FProductivity)"
    " SELECT 1, FInterID, CASE WHEN FInterID % 4 = 1 THEN 1 ELSE 2 END,"
    " CASE WHEN FInterID % 3 = 0 THEN 0 ELSE 50 END FROM t_resource ORDER BY FInterID",
    "INSERT INTO t_eiLineCalendar (FLineID, FDate, FHours)"
    " SELECT r.FInterID, d.day, CASE WHEN strftime('%w', d.day) IN ('0', '6') THEN 0"
    " WHEN r.FInterID % 2 = 0 THEN 16 ELSE 8 END"
    " FROM t_resource r CROSS JOIN temp.days d ORDER BY r.FInterID, d.k",
    "INSERT INTO icmo (FInterID, FBillNo, FType, FStatus, FItemID, FWorkShop, FUnitID, FQty,"
    " FAuxQty, FPlanCommitDate, FPlanFinishDate)"
    " SELECT 9001, 'WO-GEN-001', 2, 1, 1, 1, 2, 100000 * ?1, 10000 * ?1, min(day), max(day)"
    " FROM temp.days",
    "INSERT INTO t_eiRepSchedule (FICMOInterID, FEntryID, FBillNo, FBeginDate, FEndDate, FAuxQty,"
    " FLineID, FStatus)"
    " SELECT 9001, row_number() OVER (ORDER BY r.FInterID, d.k),"
    " printf('WO-GEN-001_%d_%d', r.FInterID, d.k), d.day,"
    " min(date(d.day, '+9 days'), (SELECT max(day) FROM temp.days)),"
    " 100 + ((r.FInterID * 7 + d.k * 13) % 9) * 35, r.FInterID, CASE WHEN d.k % 3 = 0 THEN 1"
    " ELSE 0 END FROM t_resource r CROSS JOIN temp.days d WHERE d.k % 7 = 0"
    " ORDER BY r.FInterID, d.k",
};

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw automation::Error(kDatabaseError, "Cannot read " + file.string(), "SQLite");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

int32_t generatePlant(const std::filesystem::path& file, int lines, int days) {
  if (lines < 1 || lines > kMaxLines || days < 1 || days > kMaxAbilityDays) {
    throw automation::Error::invalidProcedureCall(
        "a plant has 1 to " + std::to_string(kMaxLines) + " lines and 1 to " +
            std::to_string(kMaxAbilityDays) + " days, not " + std::to_string(lines) +
            " lines and " + std::to_string(days) + " days",
        "generatePlant");
  }
  std::string schema = readFile(HostOptions::fromEnvironment().dataDir / "schema.sql");
  std::error_code ec;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
  // Built beside the target and renamed over it when complete: a failure leaves no half plant.
  std::filesystem::path tmp = file.string() + ".generating." + std::to_string(getpid());
  std::filesystem::remove(tmp, ec);
  try {
    {
      SqliteDb db = SqliteDb::create(tmp);
      // A file nobody else sees yet: no journal, no waiting for the disk.
      SqliteQuery(db, "PRAGMA journal_mode = OFF").run();
      SqliteQuery(db, "PRAGMA synchronous = OFF").run();
      db.run(schema);
      SqliteQuery(db, "BEGIN").run();
      for (const char* sql : kSteps) {
        SqliteQuery q(db, sql);
        if (q.parameterCount() >= 1) q.bind(1, static_cast<int64_t>(lines));
        if (q.parameterCount() >= 2) q.bind(2, static_cast<int64_t>(days));
        q.run();
      }
      SqliteQuery(db, "COMMIT").run();
    }
    std::filesystem::rename(tmp, file);
  } catch (...) {
    std::filesystem::remove(tmp, ec);
    throw;
  }
  return kWorkOrder;
}

}  // namespace qx::sim
