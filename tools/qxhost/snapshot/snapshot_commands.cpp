// snapshot --html FILE: a picture of the schedule form as it stands in the session, written as
// a self-contained HTML page.
#include <algorithm>
#include <iterator>
#include <ostream>

#include "automation/conversions.h"
#include "automation/text.h"
#include "sim/bills/schedule_bill.h"
#include "sim/platform/host_date.h"
#include "tools/qxhost/login_language.h"
#include "tools/qxhost/snapshot/html_snapshot.h"
#include "tools/qxhost/whole_file.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

namespace {

constexpr const char* kHow = "snapshot --html FILE, as in snapshot --html schedule.html";

// The header's text boxes in the order a planner reads them, with their captions.
struct FieldCaption {
  const char *name, *chinese, *english;
};
constexpr FieldCaption kFields[] = {
    {"txtNo", "任务单号", "Work order"},
    {"txtItemNumber", "物料代码", "Item"},
    {"txtPlanBDate", "计划开工日期", "Planned start"},
    {"txtPlanEDate", "计划完工日期", "Planned finish"},
    {"txtNoQty", "未分解数量", "Not yet scheduled"},
    {"txtBatchNo", "批号", "Batch"},
    {"txtdeptid", "生产车间", "Department"},
    {"txtDecimal", "数量精度", "Quantity decimals"},
    {"txtInterId", "任务单内码", "Work order id"},
    {"txtItemID", "物料内码", "Item id"},
};

template <typename Control>
SnapshotPage::Rect rectOf(const Control& c) {
  return {c.left, c.top, c.width, c.height, c.visible};
}

std::string optionsText(const sim::AbilityOptions& o, bool chinese) {
  std::string s = chinese ? "能力选项：" : "Capacity options: ";
  std::string on;
  auto add = [&](bool set, const char* zh, const char* en) {
    if (set) on += (on.empty() ? "" : chinese ? "，" : ", ") + std::string(chinese ? zh : en);
  };
  add(o.releasedOnly, "只计已下达的计划", "released rows only");
  add(o.remainingOnly, "只算剩余能力", "remaining capacity only");
  add(o.unplannedOrders, "含未排产的任务单", "orders without schedule rows too");
  return s + (on.empty() ? (chinese ? "无" : "none") : on);
}

SnapshotPage pageOf(Workbench& w) {
  const sim::ScheduleForm& f = w.schedule->form();
  SnapshotPage page;
  page.chinese = chineseLogin(w);
  page.workOrder = f.text("txtNo").text;
  page.today = sim::hostDate(w.host().options().today);
  for (const FieldCaption& c : kFields) {
    auto box = f.textBoxes.find(c.name);
    if (box == f.textBoxes.end() || !box->second->visible) continue;
    page.fields.push_back({c.name, page.chinese ? c.chinese : c.english, box->second->text});
  }
  for (const auto& entry : f.textBoxes) {
    const std::string& name = entry.first;
    bool known = std::any_of(std::begin(kFields), std::end(kFields),
                             [&](const FieldCaption& c) { return name == c.name; });
    if (!known && entry.second->visible) page.fields.push_back({name, name, entry.second->text});
  }

  const sim::GridControl& g = *f.grid;
  const int32_t dataRows = std::max(0, g.rows() - 1);
  const int32_t selected = g.selRow() >= 2 ? g.selRow() - 1 : 0;  // data row, from 1
  for (int32_t c = 1; c <= g.cols(); ++c) page.gridCaptions.push_back(g.cellText(1, c));
  page.gridRowCount = dataRows;
  const int32_t qty = sim::scheduleColumnIndex("ColQty");
  const int32_t from = sim::scheduleColumnIndex("ColBDate");
  const int32_t to = sim::scheduleColumnIndex("ColEDate");
  int previous = 0;
  auto gapUpTo = [&](int last) {
    if (last <= previous) return;
    SnapshotPage::GridRow gap;
    gap.gap = true, gap.number = previous + 1, gap.last = last;
    for (int r = previous + 1; r <= last; ++r) {
      gap.quantity += automation::leadingNumber(g.cellText(r + 1, qty));
      std::string a = g.cellText(r + 1, from), b = g.cellText(r + 1, to);
      if (!a.empty() && (gap.from.empty() || a < gap.from)) gap.from = a;
      if (!b.empty() && b > gap.to) gap.to = b;
    }
    page.gridRows.push_back(std::move(gap));
  };
  for (int r : gridWindow(dataRows, selected)) {
    gapUpTo(r - 1);
    SnapshotPage::GridRow row;
    row.number = r;
    row.selected = r == selected;
    for (int32_t c = 1; c <= g.cols(); ++c) row.cells.push_back(g.cellText(r + 1, c));
    page.gridRows.push_back(std::move(row));
    previous = r;
  }
  gapUpTo(dataRows);

  page.gridRect = rectOf(g);
  page.splitter = rectOf(*f.picSplit);
  page.ledgerRect = rectOf(*f.ldgAbility);
  if (!f.ldgAbility->texts().empty()) page.ledger = ledgerPicture(*f.ldgAbility);

  // All the order's lines as the loader answered the bill; the ledger's line is the one of the
  // selected row, or of the first row when none is selected.
  const sim::AbilityAnswer& answer = w.host().abilityAnswers().latest();
  const int32_t lineRow = (selected > 0 ? selected : 1) + 1;
  const int32_t lineId = dataRows > 0 ? static_cast<int32_t>(automation::leadingNumber(g.cellText(
                                            lineRow, sim::scheduleColumnIndex("ColLineId"))))
                                      : 0;
  if (answer.ledger && answer.workOrder == w.schedule->workOrderId()) {
    page.heat =
        HeatSource{answer.ledger, answer.options.remainingOnly, answer.options.today, lineId};
    page.options = optionsText(answer.options, page.chinese);
    if (answer.options.remainingOnly) page.marks.pastBefore = answer.options.today;
  }
  page.marks.today = page.today;
  if (selected > 0) {
    page.marks.rangeFrom = g.cellText(selected + 1, from);
    page.marks.rangeTo = g.cellText(selected + 1, to);
  }
  return page;
}

void cmdSnapshot(Workbench& w, const Line& l) {
  if (l.size() < 2 || !automation::equalsIgnoreCase(l.words[1], "--html")) {
    throw UsageError{std::string("missing --html: ") + kHow};
  }
  if (l.size() < 3 || l.words[2].empty()) throw UsageError{std::string("missing FILE: ") + kHow};
  if (l.size() > 3) {
    throw UsageError{"one FILE only, not " + std::to_string(l.size() - 2) + " words: " + kHow};
  }
  if (!w.schedule) {
    throw UsageError{"no schedule bill is open: schedule open <work order id>, then " +
                     std::string(kHow)};
  }
  std::string html = snapshotHtml(pageOf(w));
  writeWhole(l.words[2], html);
  w.out() << "wrote " << l.words[2] << ": the schedule form of "
          << w.schedule->form().text("txtNo").text << ", " << html.size() << " bytes\n";
}

}  // namespace

void addSnapshotCommands(Workbench& w) {
  w.addCommand({"snapshot", "--html FILE",
                "writes the schedule form as a planning view (header, heat map of all the order's "
                "lines, chart of the selected line, grid, splitter, capacity ledger) to a "
                "self-contained HTML page",
                cmdSnapshot, "snapshot --html form.html"});
}

}  // namespace qx::qxhost
