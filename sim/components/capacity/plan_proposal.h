// The plan decomposition proposal of the capacity loader: a work order's undecomposed quantity
// split over the lines that may make its item, by their remaining capacity (the same capacity
// and load as the ledger's).
//
// Rules:
// - Undecomposed: the work order's quantity (its unit) less its schedule rows not cancelled.
// - Each line's free quantity per day is the ledger's schedulable quantity in the work order's
//   unit. Dates before the host's current date have none.
// - A range is a run of dates on one line whose working days (calendar hours > 0) all have the
//   same free quantity; a fully loaded working day ends a run, days off do not. A piece on a
//   range loads its working days evenly (as the ledger spreads a row), so a piece never holds
//   more than free quantity x working days: no day is loaded over its capacity.
// - Ranges are filled in date order, preferred lines first among ranges starting the same day;
//   the last piece ends on the first working day by which its quantity fits.
// - Quantities are cut down to the item's decimals. What no range can take is left over.
// - Tolerance limits: those of the work order's latest schedule row not cancelled, else the
//   profile's "EIRepSchedule" "InHighLimit"/"InLowLimit", else 0; the limit quantities are the
//   piece's quantity raised or lowered by them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/components/capacity/ability_calc.h"

namespace qx::sim {

struct PlanPiece {
  int32_t lineId = 0;
  std::string lineName;
  int32_t fromDay = 0, toDay = 0;  // date serials
  double auxQty = 0;
  double highLimit = 0, highLimitQty = 0, lowLimit = 0, lowLimitQty = 0;
};

struct PlanProposal {
  std::string workOrderNo;
  double undecomposed = 0;  // in the work order's unit
  double leftOver = 0;      // what no line could take
  int32_t qtyDecimal = 0;
  double highLimit = 0, lowLimit = 0;
  std::vector<AbilityLine> lines;  // the lines that may make the item, preferred first
  std::vector<PlanPiece> pieces;
};

// Nothing for an unknown work order. `options.today` is where planning starts.
std::optional<PlanProposal> proposePlan(SqliteDb& db, int32_t workOrder, AbilityOptions options);

// The limit quantities of a piece of `qty` under the given limits (percent).
void applyLimits(PlanPiece& piece, double highLimit, double lowLimit);

}  // namespace qx::sim
