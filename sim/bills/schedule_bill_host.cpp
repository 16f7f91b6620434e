// The schedule bill engine's own behaviour around the plug-in: its row checks before the
// plug-in's, the question about unsaved changes, and its own tool bar buttons.
#include <algorithm>
#include <cmath>

#include "automation/conversions.h"
#include "sim/bills/schedule_bill.h"
#include "sim/bills/schedule_checks.h"

namespace qx::sim {

namespace {

// Message box styles: buttons, icon, default button.
constexpr int32_t kYesNoCancel = 3, kYesNo = 4, kQuestion = 32, kExclamation = 48,
                  kInformation = 64, kDefaultSecond = 256;
constexpr int32_t kYes = 6, kNo = 7;

}  // namespace

std::string ScheduleBill::said(const std::string& source,
                               const std::vector<std::string>& args) const {
  return host_.texts().format(source, args);
}

int32_t ScheduleBill::message(const std::string& prompt, int32_t style) {
  return host_.platform().messageBox(prompt, style, host_.texts()("重复生产计划单"));
}

void ScheduleBill::refreshUndecomposed() {
  form_.text("txtNoQty").text = automation::formatDouble(orderQty_ - scheduledTotal(*form_.grid));
}

bool ScheduleBill::ownChecks(Outcome& o, bool saving) {
  const HostTexts& texts = host_.texts();
  std::vector<std::string> problems = scheduleRowProblems(*form_.grid, texts);
  if (!problems.empty()) {
    std::string text;
    for (const std::string& p : problems) text += (text.empty() ? "" : "; ") + p;
    message(text, kExclamation);
    o.cancel = true;
    o.action = saving ? said("单据自身检查不通过, 未保存") : said("单据自身检查不通过");
    return false;
  }
  double total = scheduledTotal(*form_.grid);
  if (total > orderQty_ + 1e-9 * std::max(1.0, std::fabs(orderQty_))) {
    std::vector<std::string> figures = {automation::formatDouble(total),
                                        automation::formatDouble(orderQty_)};
    if (!saving) {
      message(texts.format("计划数量合计 {1} 超过任务单数量 {2}", figures), kInformation);
      return true;
    }
    int32_t answer =
        message(texts.format("计划数量合计 {1} 超过任务单数量 {2}, 仍然保存吗?", figures),
                kYesNo + kQuestion + kDefaultSecond);
    if (answer != kYes) {
      o.cancel = true;
      o.action = said("未保存: 计划数量超过任务单数量");
      return false;
    }
  }
  return true;
}

ScheduleBill::Outcome ScheduleBill::confirmClose() {
  Outcome o;
  if (!changed_) return o;
  int32_t answer = message(host_.texts()("保存修改吗?"), kYesNoCancel + kQuestion + kDefaultSecond);
  if (answer == kYes) {
    o = save();
    if (!o.saved) {
      o.cancel = true;
      o.action += said("; 单据保持打开");
    }
  } else if (answer == kNo) {
    o.discarded = true;
    o.action = said("已放弃修改");
  } else {
    o.cancel = true;
    o.action = said("已取消, 单据保持打开");
  }
  return o;
}

void ScheduleBill::hostTool(const std::string& key, Outcome& o) {
  GridControl& g = *form_.grid;
  if (key == "new") {
    int32_t r = g.rows() + 1;
    g.setRows(r);
    int32_t seq = 0;
    for (int32_t k = 2; k < r; ++k) {
      std::string no = g.cellText(k, scheduleColumnIndex("ColBillNo"));
      size_t cut = no.rfind('_');
      std::optional<double> n;
      try {
        n = automation::parseNumber(cut == std::string::npos ? no : no.substr(cut + 1));
      } catch (const automation::Error&) {
        // beyond the range of a number: no sequence
      }
      if (n && *n == std::floor(*n) && *n > seq && *n < 2e9) seq = static_cast<int32_t>(*n);
    }
    auto set = [&](std::string_view col, Variant v) {
      g.cell(r, scheduleColumnIndex(col)).value = std::move(v);
    };
    set("ColNo", Variant(r - 1));
    set("ColBillNo", Variant(form_.text("txtNo").text + "_" + std::to_string(seq + 1)));
    set("ColInterId", Variant(0));
    set("ColLineId", Variant(0));
    set("ColStatusId", Variant(int16_t{-1}));
    set("ColBiller", Variant(host_.login().user));
    set("ColBatchNo", Variant(form_.text("txtBatchNo").text));
    set("ColCancel", Variant("N"));
    set("ColSuspend", Variant("N"));
    int32_t decimals =
        automation::roundToInt32(automation::leadingNumber(form_.text("txtDecimal").text));
    g.cell(r, scheduleColumnIndex("ColQty")).format =
        decimals > 0 ? "0." + std::string(static_cast<size_t>(decimals), '0') : "0";
    changed_ = true;
    o.action = said("单据新增了第 {1} 行", {std::to_string(r - 1)});
    Outcome moved = select(r, scheduleColumnIndex("ColBDate"));
    if (!o.failure) o.failure = std::move(moved.failure);
  } else if (key == "delete") {
    int32_t r = g.selRow();
    if (r < 2) {
      o.action = said("没有选中行, 未删除");
      return;
    }
    int32_t answer = message(host_.texts().format("删除第 {1} 行吗?", {std::to_string(r - 1)}),
                             kYesNo + kQuestion + kDefaultSecond);
    if (answer != kYes) {
      o.action = said("第 {1} 行未删除", {std::to_string(r - 1)});
      return;
    }
    g.deleteRow(r);
    renumber();
    refreshUndecomposed();
    sumTotals();
    changed_ = true;
    o.action = said("单据删除了第 {1} 行", {std::to_string(r - 1)});
  } else if (key == "print") {
    ReportTable t;
    t.title = host_.texts()("重复生产计划单") + " " + form_.text("txtNo").text;
    t.columns = g.captions();
    for (int32_t r = 2; r <= g.rows(); ++r) {
      auto& row = t.rows.emplace_back();
      for (int32_t c = 1; c <= g.cols(); ++c) row.push_back(g.cellText(r, c));
    }
    host_.reports().show(std::move(t));
    o.action = said("单据已通过报表查看器打印");
  } else if (key == "save") {
    o = save();
  }
}

}  // namespace qx::sim
