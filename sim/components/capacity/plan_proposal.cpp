#include "sim/components/capacity/plan_proposal.h"

#include <algorithm>
#include <cmath>

#include "sim/db/sqlite_query.h"

namespace qx::sim {

namespace {

constexpr const char* kOrderSql = R"(
SELECT o.FBillNo, o.FAuxQty - coalesce((SELECT sum(s.FAuxQty) FROM t_eiRepSchedule s
                                        WHERE s.FICMOInterID = o.FInterID AND s.FCancel <> 'Y'), 0)
FROM icmo o WHERE o.FInterID = ?1)";

constexpr const char* kOrderLimitsSql = R"(
SELECT FInHighLimit, FInLowLimit FROM t_eiRepSchedule
WHERE FICMOInterID = ?1 AND FCancel <> 'Y' ORDER BY FEntryID DESC, FInterID DESC LIMIT 1)";

constexpr const char* kProfileLimitSql = R"(
SELECT FValue FROM t_SystemProfile WHERE FCategory = 'EIRepSchedule' AND FKey = ?1)";

double cutDown(double v, int32_t decimals) {
  double p = std::pow(10.0, decimals);
  return std::floor(v * p + 1e-7) / p;
}

double roundTo(double v, int32_t decimals) {
  double p = std::pow(10.0, decimals);
  return std::round(v * p) / p;
}

// A profile limit in percent; 0 when there is none (or no profile table).
double profileLimit(SqliteDb& db, const char* key) {
  try {
    SqliteQuery q(db, kProfileLimitSql);
    q.bind(1, std::string_view(key));
    if (q.step()) {
      double v = q.real(0);
      return std::isfinite(v) ? v : 0;
    }
  } catch (const automation::Error&) {
  }
  return 0;
}

struct Run {
  int32_t from = 0, to = 0;  // date indexes
  size_t line = 0;
  double level = 0;                  // free quantity of each working day
  std::vector<int32_t> workingDays;  // date indexes
};

// The runs of one line: working days of equal free quantity, days off inside.
void collectRuns(const AbilityLedger& ledger, size_t l, size_t startDay, std::vector<Run>& runs) {
  const size_t days = static_cast<size_t>(ledger.days);
  const AbilityLine& line = ledger.lines[l];
  Run current;
  bool open = false;
  auto close = [&] {
    if (open) runs.push_back(current);
    open = false;
  };
  for (size_t d = startDay; d < days; ++d) {
    size_t at = l * days + d;
    double ability = ledger.ability[at];
    if (ability <= 0) continue;  // a day off (or without capacity) carries no load
    double free =
        abilityFigures(ability, ledger.load[at], line.productivity, ledger.unitCoefficient).auxQty;
    if (free <= 0) {
      close();
      continue;
    }
    bool same = open && std::fabs(free - current.level) <= 1e-9 * std::max(free, 1.0);
    if (!same) {
      close();
      current = Run{static_cast<int32_t>(d), static_cast<int32_t>(d), l, free, {}};
      open = true;
    }
    current.level = std::min(current.level, free);
    current.to = static_cast<int32_t>(d);
    current.workingDays.push_back(static_cast<int32_t>(d));
  }
  close();
}

}  // namespace

void applyLimits(PlanPiece& piece, double highLimit, double lowLimit) {
  piece.highLimit = highLimit;
  piece.lowLimit = lowLimit;
  piece.highLimitQty = roundTo(piece.auxQty * (1 + highLimit / 100), 6);
  piece.lowLimitQty = roundTo(piece.auxQty * (1 - lowLimit / 100), 6);
}

std::optional<PlanProposal> proposePlan(SqliteDb& db, int32_t workOrder, AbilityOptions options) {
  PlanProposal p;
  {
    SqliteQuery q(db, kOrderSql);
    q.bind(1, static_cast<int64_t>(workOrder));
    if (!q.step()) return std::nullopt;
    p.workOrderNo = q.text(0);
    p.undecomposed = q.real(1);
  }
  // Nothing is planned before the host's current date.
  options.remainingOnly = true;
  std::optional<AbilityLedger> ledger = computeAbility(db, workOrder, options);
  if (!ledger) return std::nullopt;
  p.qtyDecimal = ledger->qtyDecimal;
  p.lines = ledger->lines;
  p.undecomposed = roundTo(p.undecomposed, p.qtyDecimal);
  {
    SqliteQuery q(db, kOrderLimitsSql);
    q.bind(1, static_cast<int64_t>(workOrder));
    if (q.step()) {
      p.highLimit = q.real(0);
      p.lowLimit = q.real(1);
    } else {
      p.highLimit = profileLimit(db, "InHighLimit");
      p.lowLimit = profileLimit(db, "InLowLimit");
    }
  }

  double remaining = std::max(p.undecomposed, 0.0);
  std::optional<int64_t> today = daySerial(options.today);
  size_t startDay = 0;
  if (today && *today > ledger->firstDay) {
    startDay = static_cast<size_t>(std::min<int64_t>(*today - ledger->firstDay, ledger->days));
  }
  std::vector<Run> runs;
  for (size_t l = 0; l < ledger->lines.size(); ++l) collectRuns(*ledger, l, startDay, runs);
  std::stable_sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
    return a.from != b.from ? a.from < b.from : a.line < b.line;
  });

  for (const Run& r : runs) {
    if (remaining <= 0) break;
    const double capacity =
        cutDown(r.level * static_cast<double>(r.workingDays.size()), p.qtyDecimal);
    if (capacity <= 0) continue;
    PlanPiece piece;
    piece.lineId = ledger->lines[r.line].id;
    piece.lineName = ledger->lines[r.line].name;
    piece.fromDay = ledger->firstDay + r.from;
    if (remaining <= capacity) {
      // The piece ends on the first working day by which it fits.
      size_t k = static_cast<size_t>(std::ceil(remaining / r.level - 1e-9));
      k = std::clamp<size_t>(k, 1, r.workingDays.size());
      piece.toDay = ledger->firstDay + r.workingDays[k - 1];
      piece.auxQty = remaining;
    } else {
      piece.toDay = ledger->firstDay + r.to;
      piece.auxQty = capacity;
    }
    remaining = roundTo(remaining - piece.auxQty, p.qtyDecimal);
    applyLimits(piece, p.highLimit, p.lowLimit);
    p.pieces.push_back(std::move(piece));
  }
  p.leftOver = std::max(remaining, 0.0);
  return p;
}

}  // namespace qx::sim
