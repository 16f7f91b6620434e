// The ledger binding's row texts: the capacity ledger's shape (6 rows × 371 columns), and a
// generic binding over 100,000 records, where a row's cost must not grow with its number
// (each request repositions from the first record).
#include <benchmark/benchmark.h>

#include <string>

#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/recordset.h"
#include "sim/controls/ledger/ledger_grid.h"
#include "widgets/ledger_data.h"

namespace qx::widgets {
namespace {

using automation::HostDictionary;
using automation::HostVector;
using automation::ObjectRef;
using automation::Recordset;
using automation::Ref;
using automation::Variant;
namespace field_type = automation::field_type;

Variant columnDef(const std::string& caption, const std::string& second, const char* type,
                  const std::string& field, int32_t merge) {
  auto d = HostDictionary::create();
  d->set("FColCaption", Variant(caption));
  d->set("FHeadSecond", Variant(second));
  d->set("FColType", Variant(type));
  d->set("FColName", Variant(field));
  d->set("FVisible", Variant(int16_t{1}));
  d->set("FMergerType", Variant(merge));
  return Variant(ObjectRef(d));
}

struct Bound {
  Ref<sim::LedgerGrid> grid = sim::LedgerGrid::create("ldgAbility");
  Ref<LedgerData> binding = LedgerData::create();
  Ref<HostVector> header = HostVector::create();
  Ref<Recordset> rs = Recordset::create();

  void attach(int32_t records) {
    binding->put("ldg", grid);
    binding->put("Header", header);
    binding->put("rs", rs);
    grid->setCols(header->count());
    grid->setRows(records + 2);
  }
};

// The capacity ledger of one line for a year: 5 fixed columns and 366 dates; 6 measure rows.
Bound& capacityLedger() {
  static Bound b = [] {
    constexpr int kDates = 366;
    Bound r;
    r.header->add(columnDef("Line+|+|+|", "Code", "1", "FLineNumber", 1));
    r.header->add(columnDef("", "Name", "1", "FLineName", 1));
    r.header->add(columnDef("", "Work centre", "1", "FWorkCenter", 1));
    r.header->add(columnDef("", "Productivity", "2", "FProductivity", 1));
    r.header->add(columnDef("Capacity/load$", "", "1", "FTextAbility", 0));
    r.rs->appendField({"FInterID", field_type::kInteger, 0, automation::field_attr::kMayBeNull});
    r.rs->appendField({"FLineNumber", field_type::kVarWChar, 255});
    r.rs->appendField({"FLineName", field_type::kVarWChar, 255});
    r.rs->appendField({"FWorkCenter", field_type::kVarWChar, 255});
    r.rs->appendField({"FTextAbility", field_type::kVarWChar, 40});
    r.rs->appendField({"FSumSort", field_type::kInteger, 0, automation::field_attr::kMayBeNull});
    r.rs->appendField({"FQtyDecimal", field_type::kDouble});
    r.rs->appendField({"FProductivity", field_type::kDouble});
    for (int j = 1; j <= kDates; ++j) {
      std::string name = "F" + std::to_string(j);
      r.header->add(columnDef("2028/01/01$", "", "2", name, 0));
      r.rs->appendField({name, field_type::kDouble});
    }
    r.rs->open();
    const char* measures[] = {"Capacity", "Load",        "Difference",
                              "Rate",     "Schedulable", "Cumulative"};
    for (int m = 0; m < 6; ++m) {
      std::vector<Variant> row = {Variant(1001),         Variant("L0001"),
                                  Variant("Assembly 1"), Variant("Final assembly"),
                                  Variant(measures[m]),  Variant(m == 3 ? 100 : 0),
                                  Variant(2.0),          Variant(120.0)};
      for (int j = 1; j <= kDates; ++j) row.emplace_back(1234.5 + j * 0.25 + m);
      r.rs->appendRow(std::move(row));
    }
    r.attach(6);
    return r;
  }();
  return b;
}

void BM_CapacityLedgerRow(benchmark::State& state) {
  Bound& b = capacityLedger();
  int32_t row = 3;
  size_t bytes = 0;
  for (auto _ : state) {
    Variant colour;
    std::string text = b.binding->GetRowText(row, colour);
    bytes += text.size();
    benchmark::DoNotOptimize(text);
    row = row == 8 ? 3 : row + 1;
  }
  state.SetLabel("one row of 371 columns per iteration");
  state.counters["bytes/row"] =
      static_cast<double>(bytes) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_CapacityLedgerRow)->Unit(benchmark::kMicrosecond);

// A generic binding: 100,000 records of 8 columns, four records per document, values of the
// same size at every row number (so that only the position can make a difference).
Bound& genericLedger() {
  static Bound b = [] {
    constexpr int32_t kRecords = 100000;
    Bound r;
    const char* types[] = {"1", "0", "2", "4", "6", "10", "-3", "1"};
    for (int c = 0; c < 8; ++c) {
      std::string name = "C" + std::to_string(c);
      r.header->add(columnDef("Col " + std::to_string(c), "", types[c], name, c % 3));
    }
    for (const char* f :
         {"FInterID", "FItemID", "FSumSort", "FQtyDecimal", "FPriceDecimal", "FAmountDecimal"}) {
      r.rs->appendField({f, field_type::kInteger});
    }
    r.rs->appendField({"C0", field_type::kVarWChar, 40});
    r.rs->appendField({"C1", field_type::kDate});
    for (int c = 2; c < 7; ++c) r.rs->appendField({"C" + std::to_string(c), field_type::kDouble});
    r.rs->appendField({"C7", field_type::kVarWChar, 40});
    r.rs->open();
    const double day = automation::makeDate(2028, 1, 1).serial;
    for (int32_t i = 0; i < kRecords; ++i) {
      r.rs->appendRow({Variant(i / 4 + 1), Variant(i % 2), Variant(i % 4 == 3 ? 100 : 0),
                       Variant(2), Variant(4), Variant(2), Variant("WO-" + std::to_string(i / 4)),
                       Variant(automation::Date{day + i % 366}), Variant((i % 97 + 1) * 1.5),
                       Variant((i % 89 + 1) * 0.125), Variant((i % 83 + 1) * 3.75),
                       Variant((i % 79 + 1) * 10.0), Variant((i % 73 + 1) / 7.0), Variant("note")});
    }
    r.attach(kRecords);
    return r;
  }();
  return b;
}

void BM_GenericLedgerRow(benchmark::State& state) {
  Bound& b = genericLedger();
  const int32_t lRow = static_cast<int32_t>(state.range(0)) + 2;  // record n is grid row n + 2
  for (auto _ : state) {
    Variant colour;
    std::string text = b.binding->GetRowText(lRow, colour);
    benchmark::DoNotOptimize(text);
  }
  state.SetLabel("record " + std::to_string(state.range(0)));
}
BENCHMARK(BM_GenericLedgerRow)->Arg(1)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qx::widgets

BENCHMARK_MAIN();
