// qxschedulescenario HOME TRANSCRIPT: plays the schedule bill's scenario
// (sim/bills/schedule_scenario.h) with the plug-in in this process on a fresh sample database under
// HOME, and writes what the user saw to TRANSCRIPT. The Windows test host writes the same
// transcript with the plug-in served by the COM server; the two must not differ.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "automation/error.h"
#include "host/prog_ids.h"
#include "scheduler/ei_rep_scheduler.h"
#include "services/local_string.h"
#include "sim/bills/schedule_scenario.h"
#include "widgets/ledger_data.h"

int main(int argc, char** argv) {
  using namespace qx;
  if (argc != 3) {
    std::fprintf(stderr, "usage: qxschedulescenario HOME TRANSCRIPT\n");
    return 2;
  }
  try {
    sim::HostOptions o = sim::HostOptions::fromEnvironment();
    o.home = argv[1];
    o.database.clear();
    o.today = sim::kScenarioToday;
    std::filesystem::remove_all(o.home);
    std::filesystem::create_directories(o.home);
    bool ok = false;
    std::ofstream out(argv[2], std::ios::binary);
    {
      sim::SimHost host(o);
      host.components().registerComponent(host::prog_id::kEIRepScheduler, [] {
        return automation::ObjectRef(scheduler::EIRepScheduler::create());
      });
      sim::ScheduleBill bill(host, automation::ObjectRef(widgets::LedgerData::create()));
      ok = sim::playScheduleScenario(host, bill, host::prog_id::kEIRepScheduler, out);
    }
    services::releaseModuleState();
    out.close();
    if (!out) throw automation::Error(75, std::string("cannot write ") + argv[2]);
    std::printf(ok ? "SCENARIO PLAYED\n" : "the scenario failed: see %s\n", argv[2]);
    return ok ? 0 : 1;
  } catch (...) {
    std::fprintf(stderr, "%s\n",
                 automation::toError(std::current_exception()).description().c_str());
    return 1;
  }
}
