// Host services on the substitute host: translating with the cached loader, and reading one
// entry of a long property string.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "services/local_string.h"
#include "services/login_props.h"
#include "sim/sim_host.h"

namespace {

using namespace qx;

sim::HostOptions benchOptions() {
  sim::HostOptions o;
  o.home = std::filesystem::temp_directory_path() / "qx_services_bench";
  o.dataDir = sim::HostOptions::fromEnvironment().dataDir;
  o.login.setEntry("Language", "EN");
  return o;
}

// Target: at least 1,000,000 texts per second once the loader is cached.
void BM_LoadLocalString(benchmark::State& state) {
  sim::SimHost host(benchOptions());
  services::LoadLocalString("生产率");  // creates and points the thread's loader
  for (auto _ : state) {
    benchmark::DoNotOptimize(services::LoadLocalString("生产率"));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoadLocalString);

void BM_LoadLocalStringWithSpaces(benchmark::State& state) {
  sim::SimHost host(benchOptions());
  services::LoadLocalString("生产率");
  for (auto _ : state) {
    benchmark::DoNotOptimize(services::LoadLocalString("  数据检查出错,原因： "));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoadLocalStringWithSpaces);

void BM_LoadCompositeString(benchmark::State& state) {
  sim::SimHost host(benchOptions());
  services::LoadLocalString("生产率");
  for (auto _ : state) {
    benchmark::DoNotOptimize(services::LoadLocalString("~$~生产率^|^: 12.5^|^~$~名称"));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoadCompositeString);

// The entry asked for comes last in a 4 KB property string.
void BM_GetPropValue4KB(benchmark::State& state) {
  sim::HostOptions o = benchOptions();
  o.login.props.clear();
  for (int i = 0; o.login.props.size() < 4000; ++i) {
    o.login.props += "Entry" + std::to_string(i) + "=value of entry " + std::to_string(i) + ";";
  }
  o.login.props += "QxVersion=ZRB;Language=EN";
  sim::SimHost host(o);
  for (auto _ : state) {
    benchmark::DoNotOptimize(services::GetPropValue("Language"));
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(o.login.props.size()));
}
BENCHMARK(BM_GetPropValue4KB);

}  // namespace

BENCHMARK_MAIN();
