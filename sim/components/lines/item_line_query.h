// The item/line relations and the production lines as the host's item-line service and line
// browser search them. Conditions written by callers are conditions on a table aliased t1:
// the relations (t_eiItemLine with the line's FLineNumber, FLineName and FWorkCenterID joined)
// or the lines (t_resource). They run as one statement that only reads.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "automation/recordset.h"
#include "sim/db/sqlite_db.h"

namespace qx::sim {

// Resource type of production lines.
inline constexpr int32_t kProductionLineType = 11063;

// The relations matching `condition` (blank: all), by item, priority and line.
automation::Ref<automation::Recordset> queryItemLines(SqliteDb& db, std::string_view condition);

struct LineSearch {
  // Keeps the lines that may make an item of this range (an absent bound leaves it open).
  std::optional<int32_t> firstItem, lastItem;
  // Condition on the lines (t_resource aliased t1); blank: none.
  std::string lineFilter;
  // Condition on the relations that qualify a line (aliased t1); blank: none.
  std::string itemLineFilter;
};

// The production lines in use (neither deleted nor forbidden) that pass the search, by number:
// FLineID, FLineNumber, FLineName, FWorkCenterID, FWorkCenterName, FDeptID, FEIProductivity.
automation::Ref<automation::Recordset> searchLines(SqliteDb& db, const LineSearch& search);

}  // namespace qx::sim
