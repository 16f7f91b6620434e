#include "sim/bills/schedule_checks.h"

#include <optional>

#include "automation/conversions.h"
#include "sim/bills/schedule_form.h"
#include "sim/components/capacity/plan_proposal.h"

namespace qx::sim {

using automation::Variant;

namespace {

const Variant& cellOf(const GridControl& g, int32_t row, std::string_view key) {
  return g.cell(row, scheduleColumnIndex(key)).value;
}

bool blank(const Variant& v) {
  if (v.isEmpty() || v.isNull()) return true;
  const std::string* s = v.stringIf();
  return s && s->find_first_not_of(" \t") == std::string::npos;
}

std::optional<double> number(const Variant& v) {
  if (blank(v) || v.type() == automation::VarType::Boolean || !automation::isNumeric(v)) {
    return std::nullopt;
  }
  return v.toDouble();
}

std::optional<double> day(const Variant& v) {
  if (blank(v)) return std::nullopt;
  if (v.type() == automation::VarType::Date) return v.toDate().serial;
  if (v.isString()) {
    if (auto d = automation::parseDate(*v.stringIf())) return d->serial;
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> scheduleRowProblems(const GridControl& g, const HostTexts& texts) {
  std::vector<std::string> problems;
  for (int32_t r = 2; r <= g.rows(); ++r) {
    auto problem = [&](const char* what) {
      problems.push_back(texts.format("第 {1} 行 {2}", {std::to_string(r - 1), texts(what)}));
    };
    std::optional<double> qty = number(cellOf(g, r, "ColQty"));
    if (!qty) {
      problem("数量必须是数字");
    } else if (*qty <= 0) {
      problem("数量必须大于 0");
    }
    const Variant &b = cellOf(g, r, "ColBDate"), &e = cellOf(g, r, "ColEDate");
    std::optional<double> begin = day(b), end = day(e);
    if (!begin) problem(blank(b) ? "开始日期不能为空" : "开始日期不是日期");
    if (!end) problem(blank(e) ? "结束日期不能为空" : "结束日期不是日期");
    if (begin && end && *end < *begin) problem("结束日期早于开始日期");
    std::optional<double> line = number(cellOf(g, r, "ColLineId"));
    if (!line || *line <= 0) problem("未选择生产线");
    const Variant &high = cellOf(g, r, "ColInHighLimit"), &low = cellOf(g, r, "ColInLowLimit");
    std::optional<double> h = number(high), l = number(low);
    if (!blank(high) && (!h || *h < 0)) problem("上限(%)必须是不小于 0 的数");
    if (!blank(low) && (!l || *l < 0)) problem("下限(%)必须是不小于 0 的数");
    if (l && *l > 100) problem("下限(%)不能大于 100");
  }
  return problems;
}

double scheduledTotal(const GridControl& g) {
  double total = 0;
  for (int32_t r = 2; r <= g.rows(); ++r) {
    const Variant& cancel = cellOf(g, r, "ColCancel");
    if (cancel.isString() && *cancel.stringIf() == "Y") continue;
    total += number(cellOf(g, r, "ColQty")).value_or(0);
  }
  return total;
}

void followLimits(GridControl& g, int32_t row) {
  std::optional<double> qty = number(cellOf(g, row, "ColQty"));
  const Variant &high = cellOf(g, row, "ColInHighLimit"), &low = cellOf(g, row, "ColInLowLimit");
  std::optional<double> h = blank(high) ? 0.0 : number(high);
  std::optional<double> l = blank(low) ? 0.0 : number(low);
  if (!qty || !h || !l) return;
  PlanPiece piece;
  piece.auxQty = *qty;
  applyLimits(piece, *h, *l);
  g.cell(row, scheduleColumnIndex("ColInHighLimitQty")).value = Variant(piece.highLimitQty);
  g.cell(row, scheduleColumnIndex("ColInLowLimitQty")).value = Variant(piece.lowLimitQty);
}

}  // namespace qx::sim
