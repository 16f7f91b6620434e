#include "sim/components/lines/item_line_query.h"

namespace qx::sim {

namespace {

// The relations with their line's number, name and work centre, aliased t1.
constexpr std::string_view kRelations =
    "(SELECT il.FID, il.FItemID, il.FLineID, il.FPriority, il.FProductivity, il.FNote, "
    "r.FNumber AS FLineNumber, r.FName AS FLineName, r.FWorkCenterID "
    "FROM t_eiItemLine il LEFT JOIN t_resource r ON r.FInterID = il.FLineID) t1";

bool blank(std::string_view s) {
  return s.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// " AND (condition)" or nothing. The condition stays in its own parentheses, so it cannot
// change the meaning of what surrounds it.
std::string andCondition(std::string_view condition) {
  if (blank(condition)) return {};
  return " AND (" + std::string(condition) + "\n)";
}

}  // namespace

automation::Ref<automation::Recordset> queryItemLines(SqliteDb& db, std::string_view condition) {
  return db.query("SELECT t1.* FROM " + std::string(kRelations) + " WHERE 1 = 1" +
                  andCondition(condition) + " ORDER BY t1.FItemID, t1.FPriority, t1.FLineID");
}

automation::Ref<automation::Recordset> searchLines(SqliteDb& db, const LineSearch& search) {
  std::string relations;
  bool byRelation = search.firstItem || search.lastItem || !blank(search.itemLineFilter);
  if (byRelation) {
    relations =
        " AND t1.FInterID IN (SELECT t1.FLineID FROM " + std::string(kRelations) + " WHERE 1 = 1";
    if (search.firstItem) relations += " AND t1.FItemID >= " + std::to_string(*search.firstItem);
    if (search.lastItem) relations += " AND t1.FItemID <= " + std::to_string(*search.lastItem);
    relations += andCondition(search.itemLineFilter) + ")";
  }
  // The conditions see t_resource alone, so their unqualified names cannot be ambiguous.
  std::string lines =
      "SELECT t1.* FROM t_resource t1 WHERE t1.FTypeID = " + std::to_string(kProductionLineType) +
      " AND t1.FDeleted = 0 AND t1.FForbid = 0" + andCondition(search.lineFilter) + relations;
  return db.query(
      "SELECT l.FInterID AS FLineID, l.FNumber AS FLineNumber, l.FName AS FLineName, "
      "l.FWorkCenterID, wc.FName AS FWorkCenterName, wc.FDeptID, l.FEIProductivity FROM (" +
      lines + ") l LEFT JOIN t_workcenter wc ON wc.FItemID = l.FWorkCenterID ORDER BY l.FNumber");
}

}  // namespace qx::sim
