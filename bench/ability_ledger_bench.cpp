// The capacity ledger with a capacity result of 500 lines × 366 dates held by the plug-in:
// rebuilding a line's six measure rows (beside SQLite answering the same line's rows from an
// indexed table and pivoting them), a selection change to another line end to end (the event,
// the refresh, the binding, the ledger control asking for every row's text), and the memory the
// result holds.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "automation/conversions.h"
#include "automation/recordset.h"
#include "bench/bench_bill.h"

namespace qx::scheduler {

using automation::Args;
using automation::FieldDef;
using automation::ObjectRef;
using automation::Recordset;
using automation::Ref;
using automation::Variant;
namespace ft = automation::field_type;

constexpr int kLines = 500, kDays = 366;

struct AbilityBench {
  static void buildLine(EIRepScheduler& s, int32_t line) { s.BuildLineAbility(line); }
};

namespace {

double residentMB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * 4096.0 / (1024.0 * 1024.0);
}

// The loader's result as the capacity loader delivers it: typed fields, one row per line and
// date, the rows of a line together in date order.
Ref<Recordset> capacityResult() {
  auto rs = Recordset::create();
  rs->appendField(FieldDef{"FLineID", ft::kInteger});
  rs->appendField(FieldDef{"FDate", ft::kDate});
  for (const char* f : {"FLineNumber", "FLineName", "FWorkCenter"}) {
    rs->appendField(FieldDef{f, ft::kVarWChar, 255});
  }
  for (const char* f : {"FProductivity", "FQtyDecimal", "FAbility", "FLoad", "FDiff", "FDiffRate",
                        "FQty", "FAuxQty"}) {
    rs->appendField(FieldDef{f, ft::kDouble});
  }
  rs->open();
  const double first = automation::makeDate(2027, 1, 1).serial;
  for (int l = 1; l <= kLines; ++l) {
    for (int d = 0; d < kDays; ++d) {
      double hours = d % 7 >= 5 ? 0 : 16, load = (l * 7 + d * 3) % 20;
      rs->appendRow(
          {Variant(1000 + l), Variant(automation::Date{first + d}),
           Variant("L-" + std::to_string(l)), Variant("装配线" + std::to_string(l)),
           Variant("总装一工段"), Variant(60.0), Variant(0.0), Variant(hours), Variant(load),
           Variant(hours - load), Variant(hours == 0 ? 0 : (hours - load) / hours * 100),
           Variant(std::max(hours - load, 0.0) * 60), Variant(std::max(hours - load, 0.0) * 10)});
    }
  }
  return rs;
}

class FakeLoader final : public automation::Dispatch<FakeLoader> {
 public:
  static constexpr std::string_view kTypeName = "AbilityLoad";
  static std::span<const automation::Member<FakeLoader>> members() {
    static const automation::Member<FakeLoader> m[] = {
        {"GetAbilityByRepICMO", 1, &FakeLoader::mGet}};
    return m;
  }
  explicit FakeLoader(ObjectRef r) : result_(std::move(r)) {}

 private:
  Variant mGet(Args) { return Variant(result_); }
  ObjectRef result_;
};

// The schedule bill of the sample work order with the capacity area shown; its first rows are
// put on lines 1001 and 1002 and taken out of the line check (status 1), so a selection change
// measures the ledger alone.
struct Bill : BenchBill {
  double resultMB = 0;

  Bill() : BenchBill("ability_bench") {
    double before = residentMB();
    ObjectRef result(capacityResult());
    resultMB = residentMB() - before;
    host().components().registerComponent(host::prog_id::kAbilityLoad, [result] {
      return ObjectRef(automation::makeObject<FakeLoader>(result));
    });
    host().registry().write(settingsKeyPath(0), "ShowAbility", Variant(true));
    open(5001, [](sim::ScheduleBill& bill) {
      sim::GridControl& g = *bill.form().grid;
      for (int32_t r = 2; r <= 3; ++r) {
        g.cell(r, sim::scheduleColumnIndex("ColLineId")).value = Variant(1001 + (r - 2) * 250);
        g.cell(r, sim::scheduleColumnIndex("ColStatusId")).value = Variant(1);
      }
    });
  }
};

Bill& theBill() {
  static Bill b;
  return b;
}

void BM_BuildLineAbility(benchmark::State& state) {
  Bill& b = theBill();
  int32_t line = 1001;
  for (auto _ : state) {
    AbilityBench::buildLine(b.plugin(), line);
    line = line == 1500 ? 1001 : line + 1;
  }
  state.counters["result_MB"] = b.resultMB;
  state.SetLabel("another line's six rows of 366 dates from the held result");
}
BENCHMARK(BM_BuildLineAbility)->Unit(benchmark::kMicrosecond);

// The same line's rows answered by SQLite from a table indexed on the line, pivoted into six
// rows of 366 doubles.
void BM_SqliteLinePivot(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  sqlite3_exec(db,
               "CREATE TABLE ability (FLineID INTEGER, FDate REAL, FAbility REAL, FLoad REAL, "
               "FDiff REAL, FDiffRate REAL, FQty REAL, FAuxQty REAL);"
               "BEGIN;",
               nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO ability VALUES (?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
  for (int l = 1; l <= kLines; ++l) {
    for (int d = 0; d < kDays; ++d) {
      sqlite3_bind_int(insert, 1, 1000 + l);
      for (int c = 2; c <= 8; ++c) sqlite3_bind_double(insert, c, d * 0.5 + c);
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
  }
  sqlite3_finalize(insert);
  sqlite3_exec(db, "COMMIT; CREATE INDEX ix_line ON ability(FLineID, FDate);", nullptr, nullptr,
               nullptr);
  sqlite3_stmt* query = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT FAbility, FLoad, FDiff, FDiffRate, FQty, FAuxQty FROM ability "
                     "WHERE FLineID = ? ORDER BY FDate",
                     -1, &query, nullptr);
  int32_t line = 1001;
  for (auto _ : state) {
    std::vector<std::vector<double>> rows(6);
    for (auto& r : rows) r.reserve(kDays);
    sqlite3_bind_int(query, 1, line);
    while (sqlite3_step(query) == SQLITE_ROW) {
      for (int m = 0; m < 6; ++m) rows[m].push_back(sqlite3_column_double(query, m));
    }
    sqlite3_reset(query);
    benchmark::DoNotOptimize(rows);
    line = line == 1500 ? 1001 : line + 1;
  }
  sqlite3_finalize(query);
  sqlite3_close(db);
}
BENCHMARK(BM_SqliteLinePivot)->Unit(benchmark::kMicrosecond);

// A selection change to another line: the event, the refresh, the binding's refresh and the
// ledger control's requests for its 8 row texts.
void BM_SelectAnotherLine(benchmark::State& state) {
  Bill& b = theBill();
  int32_t row = 2;
  for (auto _ : state) {
    row = row == 2 ? 3 : 2;
    auto outcome = b.bill().select(row, 1);
    if (outcome.failure) state.SkipWithError(outcome.failure->description().c_str());
  }
  state.counters["ledger_rows"] = b.bill().form().ldgAbility->rows();
}
BENCHMARK(BM_SelectAnotherLine)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qx::scheduler

BENCHMARK_MAIN();
