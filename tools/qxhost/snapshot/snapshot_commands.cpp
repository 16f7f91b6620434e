// snapshot --html FILE: a picture of the schedule form as it stands in the session, written as
// a self-contained HTML page.
#include <ostream>

#include "automation/text.h"
#include "sim/bills/schedule_bill.h"
#include "tools/qxhost/login_language.h"
#include "tools/qxhost/snapshot/html_snapshot.h"
#include "tools/qxhost/whole_file.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

namespace {

constexpr const char* kHow = "snapshot --html FILE, as in snapshot --html schedule.html";

template <typename Control>
SnapshotPage::Rect rectOf(const Control& c) {
  return {c.left, c.top, c.width, c.height, c.visible};
}

SnapshotPage pageOf(Workbench& w) {
  const sim::ScheduleForm& f = w.schedule->form();
  SnapshotPage page;
  page.chinese = chineseLogin(w);
  page.workOrder = f.text("txtNo").text;
  for (const auto& [name, box] : f.textBoxes) {
    if (box->visible) page.fields.emplace_back(name, box->text);
  }
  const sim::GridControl& g = *f.grid;
  for (int32_t r = 1; r <= g.rows(); ++r) {
    auto& row = page.grid.emplace_back();
    for (int32_t c = 1; c <= g.cols(); ++c) row.push_back(g.cellText(r, c));
  }
  page.selectedRow = g.selRow() - 1;
  page.gridRect = rectOf(g);
  page.splitter = rectOf(*f.picSplit);
  page.ledgerRect = rectOf(*f.ldgAbility);
  if (!f.ldgAbility->texts().empty()) page.ledger = ledgerPicture(*f.ldgAbility);
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
  w.addCommand(
      {"snapshot", "--html FILE",
       "writes the schedule form as it stands (header, grid, splitter, capacity ledger and "
       "a chart of the selected line's capacity and load) to a self-contained HTML page",
       cmdSnapshot, "snapshot --html form.html"});
}

}  // namespace qx::qxhost
