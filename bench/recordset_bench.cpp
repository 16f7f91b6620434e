// Switching the line filter of a year's capacity result and walking the line's rows, the way
// the schedule bill reads capacity per line: with the equality index and with a full scan; on
// fields in storage of their own type and, as the baseline, on fields keeping variants (the
// storage every field had before).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "automation/conversions.h"
#include "automation/recordset.h"

namespace qx::automation {
namespace {

constexpr int32_t kLines = 500;
constexpr int32_t kDays = 366;

// 500 lines × 366 dates = 183,000 rows, ordered by line and date; built once per storage.
Recordset& capacity(bool typed) {
  static Ref<Recordset> built[2];
  auto make = [typed] {
    auto r = Recordset::create();
    r->setTypedColumns(typed);
    r->appendField({"FLineID", field_type::kInteger});
    r->appendField({"FLineNumber", field_type::kVarWChar, 20});
    r->appendField({"FLineName", field_type::kVarWChar, 80});
    r->appendField({"FDate", field_type::kDate});
    r->appendField({"FAbility", field_type::kDouble});
    r->appendField({"FLoad", field_type::kDouble});
    r->appendField({"FQty", field_type::kDouble});
    r->appendField({"FSumQty", field_type::kDouble});
    r->open();
    const double firstDay = makeDate(2028, 1, 1).serial;
    for (int32_t line = 1; line <= kLines; ++line) {
      char number[16];
      std::snprintf(number, sizeof number, "L%04d", static_cast<int>(line));
      double sum = 0;
      for (int32_t day = 0; day < kDays; ++day) {
        double ability = 8.0 + line % 5;
        double qty = (line * 31 + day * 7) % 13;
        sum += qty;
        r->appendRow({Variant(line), Variant(number),
                      Variant("Assembly line " + std::to_string(line)),
                      Variant(Date{firstDay + day}), Variant(ability), Variant(qty / ability),
                      Variant(qty), Variant(sum)});
      }
    }
    return r;
  };
  Ref<Recordset>& rs = built[typed ? 1 : 0];
  if (!rs) rs = make();
  return *rs;
}

std::string lineFilter(int32_t line) {
  return "FLineID = " + std::to_string(line);
}

// One iteration: switch the filter to the next line, then walk its rows with EOF, MoveNext and
// Fields("FAbility").Value, all called by name through the object interface.
void switchAndWalk(benchmark::State& state, bool indexing, bool typed) {
  Recordset& rs = capacity(typed);
  rs.setIndexing(indexing);
  rs.setFilter(lineFilter(1));  // builds the index outside the timing
  Object& caller = rs;
  int32_t line = 1;
  for (auto _ : state) {
    line = line % kLines + 1;
    caller.put("Filter", lineFilter(line));
    double sum = 0;
    int32_t rows = 0;
    while (!caller.get("EOF").toBool()) {
      sum += caller.get("Fields", "FAbility").toObject()->get("Value").toDouble();
      caller.call("MoveNext");
      ++rows;
    }
    benchmark::DoNotOptimize(sum);
    if (rows != kDays) {
      state.SkipWithError("a line does not have a year of rows");
      break;
    }
  }
  rs.setIndexing(true);
  state.counters["rows"] = kDays;
}
BENCHMARK_CAPTURE(switchAndWalk, indexed, true, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(switchAndWalk, indexed_variants, true, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(switchAndWalk, scan, false, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(switchAndWalk, scan_variants, false, false)->Unit(benchmark::kMicrosecond);

// The filter switch alone.
void switchOnly(benchmark::State& state, bool indexing, bool typed) {
  Recordset& rs = capacity(typed);
  rs.setIndexing(indexing);
  rs.setFilter(lineFilter(1));
  Object& caller = rs;
  int32_t line = 1;
  for (auto _ : state) {
    line = line % kLines + 1;
    caller.put("Filter", lineFilter(line));
  }
  if (rs.recordCount() != kDays) state.SkipWithError("a line does not have a year of rows");
  rs.setIndexing(true);
}
BENCHMARK_CAPTURE(switchOnly, indexed, true, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(switchOnly, indexed_variants, true, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(switchOnly, scan, false, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(switchOnly, scan_variants, false, false)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qx::automation

BENCHMARK_MAIN();
