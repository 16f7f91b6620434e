#include "sim/components/capacity/ability_calc.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <unordered_map>

#include "automation/conversions.h"
#include "automation/error.h"
#include "sim/db/sqlite_query.h"

namespace qx::sim {

namespace {

constexpr const char* kWorkOrderSql = R"(
SELECT coalesce(i.FItemID, 0), coalesce(i.FQtyDecimal, 0), coalesce(u.FCoefficient, 1),
       o.FPlanCommitDate, o.FPlanFinishDate
FROM icmo o
LEFT JOIN t_ICItem i ON i.FItemID = o.FItemID
LEFT JOIN t_MeasureUnit u ON u.FMeasureUnitID = o.FUnitID
WHERE o.FInterID = ?1)";

// The production lines that may make item ?1, in ledger order.
constexpr const char* kLinesSql = R"(
SELECT r.FInterID, r.FNumber, r.FName,
       coalesce((SELECT w.FName FROM t_workcenter w WHERE w.FItemID = r.FWorkCenterID), ''),
       CASE WHEN il.FProductivity > 0 THEN il.FProductivity ELSE r.FEIProductivity END
FROM t_eiItemLine il
JOIN t_resource r ON r.FInterID = il.FLineID AND r.FTypeID = 11063 AND r.FDeleted = 0
WHERE il.FItemID = ?1
ORDER BY il.FPriority, r.FNumber, r.FInterID)";

// ?1: the lines, a JSON array of their ids.
constexpr const char* kCalendarSql = R"(
SELECT c.FLineID, c.FDate, c.FHours
FROM t_eiLineCalendar c
WHERE c.FLineID IN (SELECT value FROM json_each(?1)) AND c.FDate BETWEEN ?2 AND ?3)";

// Every row that loads one of the lines ?1 (a JSON array of ids) during ?2..?3, with its quantity
// in base units, the productivity of its item on its line and its number of working days (-1 for a
// row inside the period: counted from the calendar already read). Live: the row neither cancelled
// nor closed, its work order repetitive and neither closed nor cancelled. ?4: released rows only;
// ?5: orders without live rows load over their plan period on their preferred line.
constexpr const char* kLoadsSql = R"(
WITH lines(id) AS (SELECT value FROM json_each(?1)),
live(o) AS (SELECT FInterID FROM icmo WHERE FType = 2 AND FStatus <> 2 AND FCancellation = 0),
loads(line, b, e, qty, item) AS (
  SELECT s.FLineID, s.FBeginDate, s.FEndDate, s.FAuxQty * coalesce(u.FCoefficient, 1), o.FItemID
  FROM t_eiRepSchedule s
  JOIN icmo o ON o.FInterID = s.FICMOInterID
  LEFT JOIN t_MeasureUnit u ON u.FMeasureUnitID = o.FUnitID
  WHERE s.FLineID IN (SELECT id FROM lines) AND s.FICMOInterID IN (SELECT o FROM live)
    AND s.FBeginDate <= ?3 AND s.FEndDate >= ?2 AND s.FCancel <> 'Y' AND s.FStatus <> 2
    AND (?4 = 0 OR s.FStatus = 1)
  UNION ALL
  SELECT p.line, p.b, p.e, p.qty, p.item FROM (
    SELECT (SELECT il.FLineID FROM t_eiItemLine il
            JOIN t_resource r ON r.FInterID = il.FLineID AND r.FTypeID = 11063
                             AND r.FDeleted = 0
            WHERE il.FItemID = o.FItemID
            ORDER BY il.FPriority, r.FNumber, r.FInterID LIMIT 1) AS line,
           o.FPlanCommitDate AS b, o.FPlanFinishDate AS e, o.FQty AS qty, o.FItemID AS item
    FROM icmo o
    WHERE ?5 <> 0 AND o.FInterID IN (SELECT o FROM live)
      AND o.FPlanCommitDate <= ?3 AND o.FPlanFinishDate >= ?2
      AND NOT EXISTS (SELECT 1 FROM t_eiRepSchedule s WHERE s.FICMOInterID = o.FInterID
                      AND s.FCancel <> 'Y' AND s.FStatus <> 2)) p
  WHERE p.line IN (SELECT id FROM lines))
SELECT l.line, l.b, l.e, l.qty,
       CASE WHEN il.FProductivity > 0 THEN il.FProductivity ELSE r.FEIProductivity END,
       CASE WHEN l.b >= ?2 AND l.e <= ?3 THEN -1
            ELSE (SELECT count(*) FROM t_eiLineCalendar c WHERE c.FLineID = l.line
                  AND c.FDate BETWEEN l.b AND l.e AND c.FHours > 0) END
FROM loads l
JOIN t_resource r ON r.FInterID = l.line
LEFT JOIN t_eiItemLine il ON il.FItemID = l.item AND il.FLineID = l.line)";

double finiteOrZero(double v) {
  return std::isfinite(v) ? v : 0;
}

std::vector<AbilityLine> readLines(SqliteDb& db, int64_t item) {
  std::vector<AbilityLine> lines;
  SqliteQuery q(db, kLinesSql);
  q.bind(1, item);
  while (q.step()) {
    AbilityLine l;
    l.id = static_cast<int32_t>(q.integer(0));
    l.number = q.text(1);
    l.name = q.text(2);
    l.workCenter = q.text(3);
    l.productivity = std::max(0.0, finiteOrZero(q.real(4)));
    lines.push_back(std::move(l));
  }
  return lines;
}

}  // namespace

// Parsed here rather than in SQL: the calendar has a row per line and date.
std::optional<int64_t> daySerial(std::string_view t) {
  if (t.size() != 10 || t[4] != '-' || t[7] != '-') return std::nullopt;
  int v[8];
  int k = 0;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (t[i] < '0' || t[i] > '9') return std::nullopt;
    v[k++] = t[i] - '0';
  }
  int y = v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3];
  int m = v[4] * 10 + v[5], d = v[6] * 10 + v[7];
  std::chrono::year_month_day date{std::chrono::year(y),
                                   std::chrono::month(static_cast<unsigned>(m)),
                                   std::chrono::day(static_cast<unsigned>(d))};
  if (!date.ok()) return std::nullopt;
  return static_cast<int64_t>(automation::makeDate(y, m, d).serial);
}

AbilityFigures abilityFigures(double ability, double load, double productivity,
                              double unitCoefficient) {
  AbilityFigures f;
  f.ability = finiteOrZero(ability);
  f.load = finiteOrZero(load);
  f.diff = f.ability - f.load;
  f.diffRate = f.ability > 0 ? f.diff / f.ability * 100 : 0;
  double perHour = std::max(0.0, finiteOrZero(productivity));
  f.qty = std::max(f.diff, 0.0) * perHour;
  double coefficient = finiteOrZero(unitCoefficient);
  f.auxQty = coefficient > 0 ? f.qty / coefficient : f.qty;
  return f;
}

std::optional<AbilityLedger> computeAbility(SqliteDb& db, int32_t workOrder,
                                            const AbilityOptions& options) {
  AbilityLedger ledger;
  int64_t item = 0, today = 0;
  std::string from, to;
  {
    SqliteQuery q(db, kWorkOrderSql);
    q.bind(1, static_cast<int64_t>(workOrder));
    if (!q.step()) return std::nullopt;
    item = q.integer(0);
    ledger.qtyDecimal = static_cast<int32_t>(std::clamp<int64_t>(q.integer(1), 0, 15));
    double coefficient = finiteOrZero(q.real(2));
    ledger.unitCoefficient = coefficient > 0 ? coefficient : 1;
    std::optional<int64_t> commit = daySerial(q.textView(3)), finish = daySerial(q.textView(4));
    if (commit && finish && *finish >= *commit) {
      from = q.text(3);
      to = q.text(4);
      int64_t days = *finish - *commit + 1;
      if (days > kMaxAbilityDays) {
        throw automation::Error::invalidProcedureCall(
            "the plan period of work order " + std::to_string(workOrder) + " has " +
                std::to_string(days) + " dates, more than " + std::to_string(kMaxAbilityDays),
            "QxEIAbility.AbilityLoad");
      }
      ledger.firstDay = static_cast<int32_t>(*commit);
      ledger.days = static_cast<int32_t>(days);
    }
  }
  if (options.remainingOnly) {
    std::optional<int64_t> day = daySerial(options.today);
    if (!day) {
      throw automation::Error::invalidProcedureCall(
          "the host's current date is not a date: " + options.today, "QxEIAbility.AbilityLoad");
    }
    today = *day;
  }
  ledger.lines = readLines(db, item);
  computeLinesLoad(db, ledger, from, to, options, today);
  return ledger;
}

void computeLinesLoad(SqliteDb& db, AbilityLedger& ledger, const std::string& from,
                      const std::string& to, const AbilityOptions& options, int64_t today) {
  const size_t days = static_cast<size_t>(ledger.days);
  ledger.ability.assign(ledger.lines.size() * days, 0.0);
  ledger.load.assign(ledger.lines.size() * days, 0.0);
  if (ledger.lines.empty() || days == 0) return;
  std::string lineIds = "[";
  for (const AbilityLine& l : ledger.lines) {
    lineIds += (lineIds.size() > 1 ? "," : "") + std::to_string(l.id);
  }
  lineIds += "]";

  std::unordered_map<int64_t, size_t> lineIndex;
  for (size_t i = 0; i < ledger.lines.size(); ++i) lineIndex.emplace(ledger.lines[i].id, i);
  const int64_t first = ledger.firstDay, last = first + ledger.days - 1;

  // Calendar hours of the period; loads spread only over its working days.
  std::vector<double> hours(ledger.ability.size(), 0.0);
  {
    SqliteQuery q(db, kCalendarSql);
    q.bind(1, lineIds).bind(2, from).bind(3, to);
    auto line = lineIndex.end();
    while (q.step()) {
      if (line == lineIndex.end() || line->first != q.integer(0)) {
        line = lineIndex.find(q.integer(0));
        if (line == lineIndex.end()) continue;
      }
      std::optional<int64_t> day = daySerial(q.textView(1));
      if (!day || *day < first || *day > last) continue;
      hours[line->second * days + static_cast<size_t>(*day - first)] =
          std::max(0.0, finiteOrZero(q.real(2)));
    }
  }
  // Working days before each date of the period, per line: [line * (days + 1) + date index].
  std::vector<int32_t> workBefore(ledger.lines.size() * (days + 1), 0);
  for (size_t l = 0; l < ledger.lines.size(); ++l) {
    for (size_t d = 0; d < days; ++d) {
      workBefore[l * (days + 1) + d + 1] =
          workBefore[l * (days + 1) + d] + (hours[l * days + d] > 0 ? 1 : 0);
    }
  }
  for (size_t i = 0; i < hours.size(); ++i) {
    bool past = options.remainingOnly && first + static_cast<int64_t>(i % days) < today;
    ledger.ability[i] = past ? 0.0 : hours[i];
  }

  SqliteQuery q(db, kLoadsSql);
  q.bind(1, lineIds).bind(2, from).bind(3, to);
  q.bind(4, static_cast<int64_t>(options.releasedOnly ? 1 : 0));
  q.bind(5, static_cast<int64_t>(options.unplannedOrders ? 1 : 0));
  while (q.step()) {
    auto line = lineIndex.find(q.integer(0));
    std::optional<int64_t> begin = daySerial(q.textView(1)), end = daySerial(q.textView(2));
    if (line == lineIndex.end() || !begin || !end || *end < *begin) continue;
    double qty = finiteOrZero(q.real(3)), productivity = finiteOrZero(q.real(4));
    if (qty <= 0 || productivity <= 0 || *begin > last || *end < first) continue;
    size_t l = line->second;
    size_t lo = static_cast<size_t>(std::max(*begin, first) - first);
    size_t hi = static_cast<size_t>(std::min(*end, last) - first);
    int64_t workDays = q.integer(5);
    if (workDays < 0) {
      workDays = workBefore[l * (days + 1) + hi + 1] - workBefore[l * (days + 1) + lo];
    }
    double spread = static_cast<double>(workDays > 0 ? workDays : *end - *begin + 1);
    double perDay = qty / productivity / spread;
    for (size_t d = lo; d <= hi; ++d) {
      size_t at = l * days + d;
      if (workDays == 0 || hours[at] > 0) ledger.load[at] += perDay;
    }
  }
}

}  // namespace qx::sim
