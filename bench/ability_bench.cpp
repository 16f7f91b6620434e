// The capacity loader on a large plant: 500 lines x 366 dates computed from SQLite into the
// capacity result the schedule plug-in holds (the plant is generated once, outside the timing).
// Also the memory that result keeps resident.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "automation/host_dictionary.h"
#include "automation/recordset.h"
#include "sim/components/capacity/ability_load.h"
#include "sim/db/plant_generator.h"

namespace qx::sim {
namespace {

constexpr int kLines = 500;
constexpr int kDays = 366;

struct Plant {
  std::filesystem::path file;
  int32_t order = 0;
  std::shared_ptr<Database> database;
  Plant() {
    file = std::filesystem::temp_directory_path() /
           ("qx_ability_bench_" + std::to_string(getpid()) + ".db");
    order = generatePlant(file, kLines, kDays);
    database = std::make_shared<Database>(file, "", false);
  }
  ~Plant() {
    std::error_code ec;
    std::filesystem::remove(file, ec);
  }
};

Plant& plant() {
  static Plant p;
  return p;
}

automation::Variant loadResult(const Plant& p) {
  auto options = automation::HostDictionary::create();
  options->set("FSchedule", automation::Variant(0));
  options->set("CalcRemainAbility", automation::Variant(0));
  options->set("FNoPlanICMO", automation::Variant(1));
  options->set("RepICMO", automation::Variant(static_cast<double>(p.order)));
  automation::Variant arg{automation::ObjectRef(options)};
  auto loader = automation::makeObject<AbilityLoad>(p.database, "2027-06-01");
  return loader->call("GetAbilityByRepICMO", automation::byRef(arg));
}

double residentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// Runs first, before other benchmarks leave freed memory behind: resident memory before and
// while the result is held.
void BM_P1c_ResultResidentMemory(benchmark::State& state) {
  Plant& p = plant();
  double held = 0;
  for (auto _ : state) {
    double before = residentMegabytes();
    automation::Variant result = loadResult(p);
    held = residentMegabytes() - before;
    benchmark::DoNotOptimize(result);
  }
  state.counters["resident_MB"] = held;
}
BENCHMARK(BM_P1c_ResultResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// P1d: the loader end to end (options, SQLite, computation, the recordset, its release).
void BM_P1d_LoaderFromSqlite(benchmark::State& state) {
  Plant& p = plant();
  for (auto _ : state) {
    automation::Variant result = loadResult(p);
    benchmark::DoNotOptimize(result);
  }
  state.counters["rows"] = kLines * kDays;
}
BENCHMARK(BM_P1d_LoaderFromSqlite)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The computation alone, without the recordset: where the time goes.
void BM_ComputeOnly(benchmark::State& state) {
  Plant& p = plant();
  AbilityOptions o;
  o.unplannedOrders = true;
  o.today = "2027-06-01";
  for (auto _ : state) {
    SqliteDb db = p.database->open();
    auto ledger = computeAbility(db, p.order, o);
    benchmark::DoNotOptimize(ledger);
  }
}
BENCHMARK(BM_ComputeOnly)->Unit(benchmark::kMillisecond);

// The recordset alone, from a computed ledger: filling 13 fields of 183,000 rows and releasing
// them.
void BM_RecordsetOnly(benchmark::State& state) {
  Plant& p = plant();
  AbilityOptions o;
  o.today = "2027-06-01";
  SqliteDb db = p.database->open();
  std::optional<AbilityLedger> ledger = computeAbility(db, p.order, o);
  for (auto _ : state) {
    auto rs = abilityRecordset(*ledger);
    benchmark::DoNotOptimize(rs);
  }
  state.counters["variant_bytes"] = sizeof(automation::Variant);
}
BENCHMARK(BM_RecordsetOnly)->Unit(benchmark::kMillisecond);

// The baseline: the same result filled the way it was before, a row of 13 variants at a time
// into fields keeping variants.
automation::Ref<automation::Recordset> variantRecordset(const AbilityLedger& ledger) {
  using automation::Variant;
  auto rs = automation::Recordset::create();
  rs->setTypedColumns(false);
  automation::Ref<automation::Recordset> shape = abilityRecordset(AbilityLedger{});
  for (size_t c = 0; c < shape->fieldCount(); ++c) rs->appendField(shape->fieldDef(c));
  rs->open();
  const size_t days = static_cast<size_t>(ledger.days);
  for (size_t l = 0; l < ledger.lines.size(); ++l) {
    const AbilityLine& line = ledger.lines[l];
    Variant id(line.id), number(line.number), name(line.name), center(line.workCenter);
    Variant productivity(line.productivity), decimals(static_cast<double>(ledger.qtyDecimal));
    for (size_t d = 0; d < days; ++d) {
      size_t at = l * days + d;
      AbilityFigures f = abilityFigures(ledger.ability[at], ledger.load[at], line.productivity,
                                        ledger.unitCoefficient);
      automation::Date date{static_cast<double>(ledger.firstDay) + static_cast<double>(d)};
      rs->appendRow({id, Variant(date), number, name, center, productivity, decimals,
                     Variant(f.ability), Variant(f.load), Variant(f.diff), Variant(f.diffRate),
                     Variant(f.qty), Variant(f.auxQty)});
    }
  }
  if (rs->recordCount() > 0) rs->moveFirst();
  return rs;
}

void BM_RecordsetOnly_VariantBaseline(benchmark::State& state) {
  Plant& p = plant();
  AbilityOptions o;
  o.today = "2027-06-01";
  SqliteDb db = p.database->open();
  std::optional<AbilityLedger> ledger = computeAbility(db, p.order, o);
  double held = 0;
  for (auto _ : state) {
    double before = residentMegabytes();
    auto rs = variantRecordset(*ledger);
    held = residentMegabytes() - before;
    benchmark::DoNotOptimize(rs);
  }
  state.counters["resident_MB"] = held;
}
BENCHMARK(BM_RecordsetOnly_VariantBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qx::sim

BENCHMARK_MAIN();
