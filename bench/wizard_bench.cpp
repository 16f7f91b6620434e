// The plan decomposition on a large bill: the wizard's fill of 2,000 and 4,000 pieces into a
// schedule grid that already has 2,000 rows (linear: one scan of the grid for the bill numbers),
// beside a fill that rescans the grid for every piece's number; and the decomposition proposal
// for a work order over 50 lines x 366 dates.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "bench/bench_bill.h"
#include "sim/components/capacity/plan_proposal.h"
#include "sim/db/plant_generator.h"
#include "sim/db/sqlite_query.h"

namespace qx::scheduler {

using automation::Variant;

// Reaches the plug-in's fill and numbering procedures on their own.
struct WizardBench {
  static void fill(EIRepScheduler& s, const ObjectRef& rows) { s.FillPlanRows(rows); }
  static int32_t nextSeq(EIRepScheduler& s) { return s.GetNextBillSeq(); }
};

namespace {

constexpr int32_t kExistingRows = 2000;

// The sample bill with its grid at 2,000 numbered rows and a quantity no fill uses up.
struct Bill : BenchBill {
  Bill() : BenchBill("wizard_bench", "2026-12-08") { open(5001); }
  void reset() {
    sim::GridControl& g = *bill().form().grid;
    g.setRows(1 + kExistingRows);
    int32_t col = sim::scheduleColumnIndex("ColBillNo");
    for (int32_t r = 2; r <= g.rows(); ++r) {
      if (g.cell(r, col).value.isEmpty()) {
        g.cell(r, col).value = Variant("WO-2612-001_" + std::to_string(r - 1));
      }
    }
    bill().form().text("txtNoQty").text = "100000000";
  }
};

Bill& bill() {
  static Bill b;
  return b;
}

ObjectRef pieces(int n) {
  auto v = automation::HostVector::create();
  for (int i = 0; i < n; ++i) {
    auto d = automation::HostDictionary::create();
    d->set("FFromDate", Variant(automation::makeDate(2027, 1, 4)));
    d->set("FToDate", Variant(automation::makeDate(2027, 1, 8)));
    d->set("FAuxQty", Variant(10.0));
    d->set("FInHighLimit", Variant(5.0));
    d->set("FInHighLimitQty", Variant(10.5));
    d->set("FInLowLimit", Variant(5.0));
    d->set("FInLowLimitQty", Variant(9.5));
    d->set("FLineName", Variant("水壶装配二线"));
    d->set("FLineiD", Variant(int32_t{1002}));
    Variant item{ObjectRef(std::move(d))};
    v->call("Add", item);
  }
  return ObjectRef(v);
}

void BM_FillPlanRows(benchmark::State& state) {
  Bill& b = bill();
  ObjectRef rows = pieces(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    b.reset();
    state.ResumeTiming();
    WizardBench::fill(b.plugin(), rows);
  }
  state.counters["rows"] = static_cast<double>(b.bill().form().grid->rows() - 1);
}
BENCHMARK(BM_FillPlanRows)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

// The same numbering with a scan of the whole grid for every piece, as the numbers were first
// found: the grid grows by a row, the row's bill number comes from a fresh scan.
void BM_FillRescanning(benchmark::State& state) {
  Bill& b = bill();
  const int n = static_cast<int>(state.range(0));
  sim::GridControl& g = *b.bill().form().grid;
  const int32_t col = sim::scheduleColumnIndex("ColBillNo");
  for (auto _ : state) {
    state.PauseTiming();
    b.reset();
    state.ResumeTiming();
    for (int i = 0; i < n; ++i) {
      int32_t seq = WizardBench::nextSeq(b.plugin());
      g.setRows(g.rows() + 1);
      g.cell(g.rows(), col).value = Variant("WO-2612-001_" + std::to_string(seq));
    }
  }
}
BENCHMARK(BM_FillRescanning)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);

void BM_DecompositionProposal(benchmark::State& state) {
  std::filesystem::path file = std::filesystem::temp_directory_path() /
                               ("qx_wizard_plant_" + std::to_string(getpid()) + ".db");
  int32_t order = sim::generatePlant(file, 50, 366);
  sim::Database database(file, "", false);
  {
    // The order's rows already hold its quantity: ask for far more than the lines can take, so
    // the proposal walks every line and date.
    sim::SqliteDb db = database.open();
    sim::SqliteQuery(db,
                     "UPDATE icmo SET FAuxQty = 10 * (FAuxQty + (SELECT sum(FAuxQty) FROM "
                     "t_eiRepSchedule WHERE FICMOInterID = icmo.FInterID))")
        .run();
  }
  sim::AbilityOptions o;
  o.today = "2027-01-01";
  size_t pieceCount = 0;
  double leftOver = 0;
  for (auto _ : state) {
    sim::SqliteDb db = database.open();
    std::optional<sim::PlanProposal> p = sim::proposePlan(db, order, o);
    pieceCount = p ? p->pieces.size() : 0;
    leftOver = p ? p->leftOver : 0;
    benchmark::DoNotOptimize(p);
  }
  state.counters["pieces"] = static_cast<double>(pieceCount);
  state.counters["leftOver"] = leftOver;
  std::error_code ec;
  std::filesystem::remove(file, ec);
}
BENCHMARK(BM_DecompositionProposal)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qx::scheduler

BENCHMARK_MAIN();
