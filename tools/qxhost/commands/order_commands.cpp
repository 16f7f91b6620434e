// The work orders a planner can open a schedule bill of: the repetitive work orders of the
// database with what is left to decompose.
#include <ostream>

#include "automation/conversions.h"
#include "automation/recordset.h"
#include "host/prog_ids.h"
#include "sim/controls/text_table.h"
#include "tools/qxhost/login_language.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

namespace {

// Undecomposed: the order's quantity less its schedule rows that are not cancelled, as the
// decomposition wizard counts it.
constexpr const char* kOrdersSql =
    "SELECT o.FInterID, o.FBillNo, i.FNumber || ' ' || i.FName, o.FAuxQty, u.FName,"
    " o.FAuxQty - coalesce((SELECT sum(s.FAuxQty) FROM t_eiRepSchedule s"
    " WHERE s.FICMOInterID = o.FInterID AND s.FCancel <> 'Y'), 0),"
    " o.FPlanCommitDate, o.FPlanFinishDate, o.FStatus, o.FCancellation, i.FQtyDecimal"
    " FROM icmo o JOIN t_ICItem i ON i.FItemID = o.FItemID"
    " LEFT JOIN t_MeasureUnit u ON u.FMeasureUnitID = o.FUnitID"
    " WHERE o.FType = 2 ORDER BY o.FBillNo";

std::string text(const Variant& v) {
  return v.isNull() || v.isEmpty() ? std::string() : v.toString();
}

std::string dateText(const Variant& v) {
  if (v.isNull() || v.isEmpty()) return {};
  return v.type() == automation::VarType::Date ? automation::formatDate(v.toDate()) : v.toString();
}

void cmdOrders(Workbench& w, const Line& l) {
  expectWords(l, 1, 1);
  bool chinese = chineseLogin(w);
  ObjectRef connection = w.host().platform().createObject(host::prog_id::kConnection);
  Variant sql(kOrdersSql), changed(0);
  Variant result = connection->call("Execute", automation::byRef(sql), automation::byRef(changed));
  connection.reset();
  auto rs = automation::refCast<automation::Recordset>(result.objectOrNull());
  if (!rs) throw automation::Error::internal("the work orders query gave no rows", "orders");
  std::vector<std::vector<std::string>> rows;
  rows.push_back(chinese ? std::vector<std::string>{"内码", "工单号", "物料", "数量", "未分解",
                                                    "计划期间", "状态"}
                         : std::vector<std::string>{"id", "number", "item", "quantity",
                                                    "undecomposed", "period", "state"});
  static const char* const kStates[2][3] = {{"planned", "released", "closed"},
                                            {"计划", "下达", "结案"}};
  for (rs->moveFirst(); !rs->eof(); rs->moveNext()) {
    int decimals = rs->value(10).toInt32();
    int state = rs->value(8).toInt32();
    std::string stateText = state >= 0 && state <= 2 ? kStates[chinese][state] : text(rs->value(8));
    if (rs->value(9).toDouble() != 0) stateText = chinese ? "作废" : "cancelled";
    rows.push_back(
        {text(rs->value(0)), text(rs->value(1)), text(rs->value(2)),
         automation::formatNumber(rs->value(3).toDouble(), decimals) + " " + text(rs->value(4)),
         automation::formatNumber(rs->value(5).toDouble(), decimals),
         dateText(rs->value(6)) + ".." + dateText(rs->value(7)), stateText});
  }
  std::vector<size_t> widths(rows[0].size(), 0);
  for (const auto& row : rows) {
    for (size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], sim::displayWidth(row[c]));
    }
  }
  for (const auto& row : rows) {
    w.out() << " ";
    for (size_t c = 0; c < row.size(); ++c) {
      bool number = c == 3 || c == 4;
      w.out() << " "
              << (number ? sim::padLeft(row[c], widths[c]) : sim::padRight(row[c], widths[c]));
    }
    w.out() << "\n";
  }
  w.out() << (chinese ? "schedule open <内码> 打开工单的排产单\n"
                      : "schedule open <id> opens a work order's schedule bill\n");
}

}  // namespace

void addOrderCommands(Workbench& w) {
  w.addCommand({"orders", "",
                "lists the repetitive work orders: quantity, what is not yet decomposed, plan "
                "period, state",
                cmdOrders, "orders"});
}

}  // namespace qx::qxhost
