// One scenario of the repetitive schedule bill, played the same way wherever the plug-in runs
// (in this process, or a COM server under Windows): open a work order, attach the plug-in,
// resize the form, drag the splitter bar, switch lines (the capacity ledger follows), F7 in a
// line cell, a refused row leave, the plan wizard, the capacity report, the options, release.
// It writes what the user saw, one fact a line, so two runs can be compared with diff.
#pragma once

#include <ostream>
#include <string_view>

#include "sim/bills/schedule_bill.h"
#include "sim/sim_host.h"

namespace qx::sim {

// The sample work order the scenario opens.
inline constexpr int32_t kScenarioWorkOrder = 5001;
// The host's date during the scenario, so that every run sees the same days.
inline constexpr const char* kScenarioToday = "2026-12-07";

// `bill` is freshly made for `host` (not loaded); `progId` names the plug-in. Returns false
// when a step failed that should not have (the transcript says which).
bool playScheduleScenario(SimHost& host, ScheduleBill& bill, std::string_view progId,
                          std::ostream& out);

}  // namespace qx::sim
