// The capacity loader's computation: for a repetitive work order, the capacity and load in hours
// of every production line that may make its item, per date of its plan period. A plain function
// over the database and the options; the automation face is AbilityLoad.
//
// Rules (the README's "The capacity loader" says the same for users of the host):
// - Lines: the item's lines in t_eiItemLine that are production lines (type 11063) and not
//   deleted, preferred first (FPriority), then by line number. Productivity: the relation's
//   FProductivity, or the line's FEIProductivity when that is 0.
// - Dates: every date from the plan commit date to the plan finish date. No period (a date
//   missing, or finish before commit): no dates. At most kMaxAbilityDays dates.
// - Capacity: the line's calendar hours that date; no calendar row, 0. With remainingOnly,
//   dates before the host's current date keep their row but have capacity 0.
// - Load: live schedule rows of repetitive work orders on the line (not cancelled, not closed,
//   the work order neither closed nor cancelled; with releasedOnly only released rows). A row's
//   quantity in base units (FAuxQty x the work order unit's coefficient) is spread evenly over
//   the working days (calendar hours > 0) of its whole date range and turned into hours by the
//   line's productivity for the row's item. A range without a working day spreads over all its
//   days, so the load stays visible as overload instead of vanishing. A row whose productivity
//   is 0 (hours unknown) or whose quantity is not positive loads nothing.
// - With unplannedOrders, a repetitive work order without live schedule rows loads its
//   quantity over its plan period on its preferred line by the same rule.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/db/sqlite_db.h"

namespace qx::sim {

// Ten years of dates: a longer plan period is refused as bad data.
inline constexpr int32_t kMaxAbilityDays = 3660;

struct AbilityOptions {
  bool releasedOnly = false;     // only released schedule rows load the lines ("FSchedule" = 1)
  bool remainingOnly = false;    // no capacity before `today` ("CalcRemainAbility" = 1)
  bool unplannedOrders = false;  // orders without schedule rows load too ("FNoPlanICMO" = 1)
  std::string today;             // the host's current date, "yyyy-mm-dd"
};

struct AbilityLine {
  int32_t id = 0;
  std::string number, name, workCenter;
  double productivity = 0;  // base units per hour of the work order's item on this line
};

struct AbilityLedger {
  std::vector<AbilityLine> lines;  // preferred first, then by line number
  int32_t firstDay = 0;            // date serial (days since 1899-12-30) of the first date
  int32_t days = 0;                // number of dates, 0 when the work order has no plan period
  int32_t qtyDecimal = 0;          // the item's quantity decimals
  double unitCoefficient = 1;      // base units per unit of the work order
  // Hours per line and date: [line index * days + date index].
  std::vector<double> ability, load;
};

// The figures of one line and date, all finite.
struct AbilityFigures {
  double ability = 0, load = 0;
  double diff = 0;      // ability - load
  double diffRate = 0;  // diff / ability x 100; 0 when there is no capacity
  double qty = 0;       // max(diff, 0) x productivity, base units
  double auxQty = 0;    // qty in the work order's unit
};
AbilityFigures abilityFigures(double ability, double load, double productivity,
                              double unitCoefficient);

// The serial (days since 1899-12-30) of a date written yyyy-mm-dd; nothing for any other text
// or a date that does not exist.
std::optional<int64_t> daySerial(std::string_view text);

// Capacity and load of `ledger.lines` over the dates `from`..`to` (yyyy-mm-dd; ledger.firstDay
// and ledger.days describe the same period), by the rules above; the lines' productivity is
// not used for the load (each row loads by its own item's productivity). `today`: the serial of
// the host's date, used with remainingOnly.
void computeLinesLoad(SqliteDb& db, AbilityLedger& ledger, const std::string& from,
                      const std::string& to, const AbilityOptions& options, int64_t today);

// Nothing for an unknown work order. Database failures throw kDatabaseError.
std::optional<AbilityLedger> computeAbility(SqliteDb& db, int32_t workOrder,
                                            const AbilityOptions& options);

}  // namespace qx::sim
