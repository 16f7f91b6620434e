// Report 902, the remaining capacity: capacity, load, difference, rate and the schedulable
// quantities of every production line per date, for the lines that may make the items of the
// filter and belong to its work centres and departments, over the filter's period, by the same
// computation as the capacity ledger.
//
// Filter keys: "DtpBDate", "DtpEDate" (yyyy-mm-dd, required, end not before begin, at most
// kMaxAbilityDays dates); the ranges "BItem"/"EItem" (item numbers), "BLine"/"ELine" (line
// numbers), "BWC"/"EWC" (work-centre numbers), "BDept"/"EDept" (department numbers in the form
// the profile "IC"/"UseShortNumber" chooses: long when it is 0), an empty bound being open;
// "FSchedule", "FNoPlanICMO", "FRemain" (0 or 1, missing 0) as the capacity options.
#pragma once

#include <string>

#include "sim/components/capacity/ability_calc.h"
#include "sim/components/reports/report_shelf.h"

namespace qx::sim {

struct Report902Filter {
  std::string from, to;
  std::string itemFrom, itemTo, lineFrom, lineTo, centreFrom, centreTo, deptFrom, deptTo;
  AbilityOptions options;  // remainingOnly is "FRemain"
};

// The report's rows; a bad filter fails with error 5 saying what is wrong.
ReportTable computeReport902(SqliteDb& db, const Report902Filter& filter);

}  // namespace qx::sim
