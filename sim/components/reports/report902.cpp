#include "sim/components/reports/report902.h"

#include <map>

#include "automation/conversions.h"
#include "automation/error.h"
#include "sim/db/sqlite_query.h"

namespace qx::sim {

namespace {

constexpr const char* kSource = "QxEIRpt.Rpt902";

// The item/line pairs of the filter, in report order.
constexpr const char* kPairsSql = R"(
SELECT i.FNumber, r.FInterID, r.FNumber, r.FName, coalesce(w.FName, ''),
       coalesce(CASE WHEN ?9 <> 0 THEN d.FNumber ELSE d.FShortNumber END, ''),
       CASE WHEN il.FProductivity > 0 THEN il.FProductivity ELSE r.FEIProductivity END,
       coalesce(pu.FCoefficient, 1) / coalesce(bu.FCoefficient, 1), i.FQtyDecimal
FROM t_eiItemLine il
JOIN t_ICItem i ON i.FItemID = il.FItemID
JOIN t_resource r ON r.FInterID = il.FLineID AND r.FTypeID = 11063 AND r.FDeleted = 0
LEFT JOIN t_workcenter w ON w.FItemID = r.FWorkCenterID
LEFT JOIN t_department d ON d.FItemID = w.FDeptID
LEFT JOIN t_MeasureUnit bu ON bu.FMeasureUnitID = i.FUnitID
LEFT JOIN t_MeasureUnit pu ON pu.FMeasureUnitID = i.FProductUnitID
WHERE (?1 = '' OR i.FNumber >= ?1) AND (?2 = '' OR i.FNumber <= ?2)
  AND (?3 = '' OR r.FNumber >= ?3) AND (?4 = '' OR r.FNumber <= ?4)
  AND (?5 = '' OR w.FNumber >= ?5) AND (?6 = '' OR w.FNumber <= ?6)
  AND (?7 = '' OR CASE WHEN ?9 <> 0 THEN d.FNumber ELSE d.FShortNumber END >= ?7)
  AND (?8 = '' OR CASE WHEN ?9 <> 0 THEN d.FNumber ELSE d.FShortNumber END <= ?8)
ORDER BY i.FNumber, il.FPriority, r.FNumber, r.FInterID)";

constexpr const char* kShortNumberSql =
    "SELECT FValue FROM t_SystemProfile WHERE FCategory = 'IC' AND FKey = 'UseShortNumber'";

// Long department numbers when the profile says 0; a missing entry means short ones, a profile
// that cannot be read long ones (as the schedule bill reads it).
bool longDepartmentNumbers(SqliteDb& db) {
  try {
    SqliteQuery q(db, kShortNumberSql);
    if (!q.step()) return false;
    return q.real(0) == 0 && !q.text(0).empty();
  } catch (const automation::Error&) {
    return true;
  }
}

struct Pair {
  std::string item, lineNumber, lineName, centre, dept;
  int32_t line = 0;
  double productivity = 0, coefficient = 1;
  int32_t decimals = 0;
};

}  // namespace

ReportTable computeReport902(SqliteDb& db, const Report902Filter& f) {
  std::optional<int64_t> from = daySerial(f.from), to = daySerial(f.to);
  if (!from) {
    throw automation::Error::invalidProcedureCall(
        "the begin date \"" + f.from + "\" is not a date written yyyy-mm-dd", kSource);
  }
  if (!to) {
    throw automation::Error::invalidProcedureCall(
        "the end date \"" + f.to + "\" is not a date written yyyy-mm-dd", kSource);
  }
  if (*to < *from) {
    throw automation::Error::invalidProcedureCall(
        "the end date " + f.to + " is before the begin date " + f.from, kSource);
  }
  if (*to - *from + 1 > kMaxAbilityDays) {
    throw automation::Error::invalidProcedureCall(
        "the period has more than " + std::to_string(kMaxAbilityDays) + " dates", kSource);
  }
  int64_t today = 0;
  if (f.options.remainingOnly) {
    std::optional<int64_t> t = daySerial(f.options.today);
    if (!t) {
      throw automation::Error::invalidProcedureCall(
          "the host's current date is not a date: " + f.options.today, kSource);
    }
    today = *t;
  }

  std::vector<Pair> pairs;
  {
    SqliteQuery q(db, kPairsSql);
    q.bind(1, f.itemFrom).bind(2, f.itemTo).bind(3, f.lineFrom).bind(4, f.lineTo);
    q.bind(5, f.centreFrom).bind(6, f.centreTo).bind(7, f.deptFrom).bind(8, f.deptTo);
    q.bind(9, static_cast<int64_t>(longDepartmentNumbers(db) ? 1 : 0));
    while (q.step()) {
      Pair p;
      p.item = q.text(0);
      p.line = static_cast<int32_t>(q.integer(1));
      p.lineNumber = q.text(2);
      p.lineName = q.text(3);
      p.centre = q.text(4);
      p.dept = q.text(5);
      p.productivity = std::max(0.0, q.real(6));
      p.coefficient = q.real(7) > 0 ? q.real(7) : 1;
      p.decimals = static_cast<int32_t>(std::clamp<int64_t>(q.integer(8), 0, 15));
      pairs.push_back(std::move(p));
    }
  }

  // Capacity and load once per line, whatever number of items it may make.
  AbilityLedger ledger;
  ledger.firstDay = static_cast<int32_t>(*from);
  ledger.days = static_cast<int32_t>(*to - *from + 1);
  std::map<int32_t, size_t> lineIndex;
  for (const Pair& p : pairs) {
    if (lineIndex.emplace(p.line, ledger.lines.size()).second) {
      AbilityLine l;
      l.id = p.line;
      ledger.lines.push_back(l);
    }
  }
  computeLinesLoad(db, ledger, f.from, f.to, f.options, today);

  ReportTable t;
  t.id = 902;
  t.title = "remaining capacity " + f.from + " .. " + f.to;
  t.columns = {"FItemNumber", "FDeptNumber", "FWorkCenter", "FLineNumber", "FLineName", "FDate",
               "FAbility",    "FLoad",       "FDiff",       "FDiffRate",   "FQty",      "FAuxQty"};
  const size_t days = static_cast<size_t>(ledger.days);
  for (const Pair& p : pairs) {
    size_t l = lineIndex.at(p.line);
    for (size_t d = 0; d < days; ++d) {
      size_t at = l * days + d;
      AbilityFigures fig =
          abilityFigures(ledger.ability[at], ledger.load[at], p.productivity, p.coefficient);
      automation::Date date{static_cast<double>(ledger.firstDay) + static_cast<double>(d)};
      t.rows.push_back(
          {p.item, p.dept, p.centre, p.lineNumber, p.lineName, automation::formatDate(date),
           automation::formatNumber(fig.ability, 2), automation::formatNumber(fig.load, 2),
           automation::formatNumber(fig.diff, 2), automation::formatNumber(fig.diffRate, 2),
           automation::formatNumber(fig.qty, p.decimals),
           automation::formatNumber(fig.auxQty, p.decimals)});
    }
  }
  return t;
}

}  // namespace qx::sim
