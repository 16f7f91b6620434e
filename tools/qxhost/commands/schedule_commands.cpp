// Workbench commands of the repetitive schedule bill: open a work order's schedule with the
// plug-in, look at the form's layout, resize it, drag the splitter bar, work in the grid (move,
// keys, typing, locked cells) and the tool bar, save and reload the bill, and close it.
#include <algorithm>
#include <map>
#include <ostream>

#include "automation/conversions.h"
#include "automation/text.h"
#include "host/prog_ids.h"
#include "scheduler/ei_rep_scheduler.h"
#include "services/login_props.h"
#include "sim/bills/schedule_bill.h"
#include "tools/qxhost/commands/ledger_window.h"
#include "tools/qxhost/workbench.h"
#include "widgets/ledger_data.h"

namespace qx::qxhost {

namespace {

using automation::Error;

sim::ScheduleBill& bill(Workbench& w) {
  if (!w.schedule) throw UsageError{"no schedule bill is open (schedule open <work order id>)"};
  return *w.schedule;
}

int32_t number(const Line& l, size_t i) {
  if (i >= l.size()) throw UsageError{"missing number"};
  auto n = automation::parseNumber(l.words[i]);
  if (!n || *n < -2147483648.0 || *n > 2147483647.0) {
    throw UsageError{"not a number: " + l.words[i]};
  }
  return automation::roundToInt32(*n);
}

// What the user sees of the bill, taken before an event so that afterwards the workbench can
// say what the plug-in changed.
struct BillView {
  std::vector<std::vector<std::string>> cells;
  std::map<std::string, std::string> texts;
  std::string ledger;
  size_t messages = 0;
  size_t dialogs = 0;  // every dialog: message boxes, the line browser, the loader's
  size_t reports = 0;
  size_t events = 0;
};

BillView viewOf(Workbench& w) {
  BillView v;
  const sim::ScheduleForm& f = bill(w).form();
  for (int32_t r = 1; r <= f.grid->rows(); ++r) {
    auto& row = v.cells.emplace_back();
    for (int32_t c = 1; c <= f.grid->cols(); ++c) row.push_back(f.grid->cellText(r, c));
  }
  for (const auto& [name, box] : f.textBoxes) v.texts[name] = box->text;
  v.ledger = f.ldgAbility->renderText();
  v.messages = w.host().platform().shownMessages().size();
  v.dialogs = w.host().platform().dialogs().shown().size();
  v.reports = w.host().reports().shown().size();
  v.events = bill(w).raisedEvents().size();
  return v;
}

void printGrid(Workbench& w);

// Prints what an event changed: the by-reference result, messages, cells, text boxes, ledger.
void report(Workbench& w, std::string_view what, const BillView& before,
            const sim::ScheduleBill::Outcome& o, bool showGrid = true) {
  if (o.failure) w.printError(*o.failure);
  w.trace() << what << ": bCancel = " << (o.cancel ? "True" : "False") << "\n";
  BillView after = viewOf(w);
  const auto& raised = bill(w).raisedEvents();
  if (before.events < raised.size()) {
    w.trace() << "  events raised:";
    for (size_t i = before.events; i < raised.size(); ++i) w.trace() << " " << raised[i];
    w.trace() << "\n";
  }
  size_t changes = 0;
  const auto& shown = w.host().platform().shownMessages();
  for (size_t i = std::min(before.messages, shown.size()); i < shown.size(); ++i, ++changes) {
    w.out() << "  message box [" << shown[i].title << "] " << shown[i].prompt << "\n";
  }
  const auto& dialogs = w.host().platform().dialogs().shown();
  for (size_t i = std::min(before.dialogs, dialogs.size()); i < dialogs.size(); ++i) {
    if (dialogs[i].kind == sim::dialog_kind::kMessage) continue;  // printed above
    if (sim::dialog_kind::isLoaderDialog(dialogs[i].kind)) {
      printDialog(w, dialogs[i]);
    } else {
      w.out() << "  " << dialogs[i].kind << " dialog [" << dialogs[i].title << "] "
              << dialogs[i].content << " -> " << dialogs[i].answer << "\n";
    }
    ++changes;
  }
  const auto& reports = w.host().reports().shown();
  for (size_t i = std::min(before.reports, reports.size()); i < reports.size(); ++i, ++changes) {
    printReport(w, reports[i]);
  }
  // Changed cells one by one; a tour shows the grid as the user sees it instead.
  size_t changedCells = 0;
  for (size_t r = 0; r < after.cells.size(); ++r) {
    for (size_t c = 0; c < after.cells[r].size(); ++c) {
      std::string old = r < before.cells.size() && c < before.cells[r].size()
                            ? before.cells[r][c]
                            : std::string("(no cell)");
      if (old == after.cells[r][c]) continue;
      w.trace() << "  cell (" << r + 1 << ", " << c + 1 << ") \"" << old << "\" -> \""
                << after.cells[r][c] << "\"\n";
      ++changedCells;
    }
  }
  if (after.cells.size() != before.cells.size()) {
    w.trace() << "  grid rows " << before.cells.size() << " -> " << after.cells.size() << "\n";
    ++changedCells;
  }
  if (changedCells > 0 && !w.verbose() && showGrid) {
    w.out() << "  the grid now shows:\n";
    printGrid(w);
  }
  changes += changedCells;
  for (const auto& [name, text] : after.texts) {
    if (before.texts.at(name) == text) continue;
    w.out() << "  " << name << " \"" << before.texts.at(name) << "\" -> \"" << text << "\"\n";
    ++changes;
  }
  if (after.ledger != before.ledger) {
    w.out() << "  the capacity ledger now shows:\n"
            << ledgerWindow(after.ledger, w.ledgerFrom, w.ledgerDays);
    ++changes;
  }
  if (!o.action.empty()) w.out() << "  " << o.action << "\n";
  if (changes == 0 && o.action.empty()) {
    w.out() << "  the plug-in changed nothing\n";
  }
}

// A grid column by its number or its key ("ColLine").
int32_t columnOf(const Line& l, size_t i) {
  if (i >= l.size()) throw UsageError{"missing column"};
  if (int32_t c = sim::scheduleColumnIndex(l.words[i])) return c;
  return number(l, i);
}

// Key codes by name for the keys the grid knows, else a number.
int16_t keyOf(const Line& l, size_t i) {
  static const std::pair<std::string_view, int16_t> kNames[] = {
      {"f7", 118}, {"left", 37}, {"up", 38}, {"right", 39}, {"down", 40}, {"delete", 46}};
  if (i >= l.size()) throw UsageError{"missing key"};
  for (auto [name, code] : kNames) {
    if (automation::equalsIgnoreCase(name, l.words[i])) return code;
  }
  int32_t n = number(l, i);
  if (n < -32768 || n > 32767) throw UsageError{"not a key code: " + l.words[i]};
  return static_cast<int16_t>(n);
}

// A cell the grid has; a usage error names the grid's rows and columns otherwise.
void checkCell(Workbench& w, const Line& l, int32_t row, int32_t col) {
  const sim::GridControl& g = *bill(w).form().grid;
  if (row < 1 || row > g.rows() || col < 1 || col > g.cols()) {
    throw UsageError{"there is no cell (" + l.words[2] + ", " + l.words[3] +
                     "): the grid has rows 1 to " + std::to_string(g.rows()) +
                     " and columns 1 to " + std::to_string(g.cols())};
  }
}

void printGrid(Workbench& w) {
  const sim::GridControl& g = *bill(w).form().grid;
  std::vector<size_t> widths(g.cols(), 0);
  auto width = [](const std::string& s) {
    size_t n = 0;  // display columns: CJK characters take two
    for (size_t i = 0; i < s.size();) {
      unsigned char c = static_cast<unsigned char>(s[i]);
      size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
      n += len >= 3 ? 2 : 1;
      i += len;
    }
    return n;
  };
  for (int32_t r = 1; r <= g.rows(); ++r) {
    for (int32_t c = 1; c <= g.cols(); ++c)
      widths[c - 1] = std::max(widths[c - 1], width(g.cellText(r, c)));
  }
  for (int32_t r = 1; r <= g.rows(); ++r) {
    w.out() << (r == g.selRow() ? "> " : "  ");
    for (int32_t c = 1; c <= g.cols(); ++c) {
      std::string t = g.cellText(r, c);
      w.out() << t << std::string(widths[c - 1] - width(t) + 1, ' ') << "|";
    }
    w.out() << "\n";
  }
}

// The words each sub-command takes after its name: at least, at most.
struct Arity {
  std::string_view sub;
  size_t min, max;
};
constexpr Arity kArities[] = {
    {"open", 1, 1},        {"layout", 0, 0},   {"grid", 0, 0},   {"header", 0, 0},
    {"resize", 2, 2},      {"drag", 2, 1000},  {"select", 2, 2}, {"click", 1, 1},
    {"key", 1, 1},         {"type", 3, 3},     {"lock", 2, 3},   {"check", 0, 0},
    {"save", 0, 0},        {"reload", 0, 0},   {"ledger", 0, 0}, {"window", 1, 2},
    {"showability", 1, 1}, {"settings", 0, 0}, {"close", 0, 0},
};

void cmdSchedule(Workbench& w, const Line& l) {
  if (l.size() < 2) throw UsageError{"missing what to do with the schedule bill"};
  std::string sub = automation::asciiLower(l.words[1]);
  const Arity* arity = nullptr;
  for (const Arity& a : kArities) {
    if (a.sub == sub) arity = &a;
  }
  if (!arity) throw UsageError{"unknown sub-command " + l.words[1]};
  expectWords(l, arity->min + 2, arity->max + 2);
  if (sub == "open") {
    int32_t id = number(l, 2);
    // The new bill is loaded before the open one closes: an unknown work order leaves the
    // open bill (and the settings its plug-in would save on closing) as they were.
    auto b = std::make_unique<sim::ScheduleBill>(
        w.host(), automation::ObjectRef(widgets::LedgerData::create()));
    b->load(id);
    w.schedule.reset();
    w.out() << "work order " << b->form().text("txtNo").text << " (" << id << "), item "
            << b->form().text("txtItemNumber").text << ", not yet scheduled "
            << b->form().text("txtNoQty").text << "\n";
    w.schedule = std::move(b);
    if (auto failure = w.schedule->attachPlugin(host::prog_id::kEIRepScheduler)) {
      w.printError(*failure);
    }
    w.out() << w.schedule->layoutText();
  } else if (sub == "layout") {
    w.out() << bill(w).layoutText();
  } else if (sub == "grid") {
    printGrid(w);
  } else if (sub == "header") {
    for (const auto& [name, box] : bill(w).form().textBoxes) {
      w.out() << "  " << name << " = \"" << box->text << "\"\n";
    }
  } else if (sub == "resize") {
    bill(w).form().form->resize(number(l, 2), number(l, 3));
    w.out() << bill(w).layoutText();
  } else if (sub == "drag") {
    // drag <y in the bar at the press> <form y> [<form y> ...]: the last y is the drop.
    const auto& f = bill(w).form();
    for (size_t i = 2; i < l.size(); ++i) number(l, i);  // every height read before the press
    f.picSplit->mouseDown(f.picSplit->width / 2, number(l, 2));
    for (size_t i = 3; i + 1 < l.size(); ++i) f.form->mouseMove(f.picSplit->left, number(l, i));
    f.form->mouseUp(f.picSplit->left, number(l, l.size() - 1));
    w.out() << bill(w).layoutText();
  } else if (sub == "select") {
    int32_t row = number(l, 2), col = columnOf(l, 3);
    checkCell(w, l, row, col);
    BillView before = viewOf(w);
    report(w, "select", before, bill(w).select(row, col));
  } else if (sub == "click") {
    BillView before = viewOf(w);
    report(w, "click " + l.words[2], before, bill(w).clickTool(l.words[2]));
  } else if (sub == "key") {
    int16_t key = keyOf(l, 2);
    BillView before = viewOf(w);
    report(w, "key " + std::to_string(key), before, bill(w).keyDown(key));
  } else if (sub == "type") {
    int32_t row = number(l, 2), col = columnOf(l, 3);
    checkCell(w, l, row, col);
    BillView before = viewOf(w);
    // What was typed is on the user's screen already: a tour shows what the plug-in made of it.
    report(w, "type", before, bill(w).typeInto(row, col, l.words[4]), false);
  } else if (sub == "lock") {
    int32_t row = number(l, 2), col = columnOf(l, 3);
    if (l.size() == 5 && !automation::equalsIgnoreCase(l.words[4], "off") &&
        !automation::equalsIgnoreCase(l.words[4], "on")) {
      throw UsageError{"on or off expected, not " + l.words[4]};
    }
    checkCell(w, l, row, col);
    bool locked = l.size() < 5 || !automation::equalsIgnoreCase(l.words[4], "off");
    bill(w).form().grid->cell(row, col).locked = locked;
    w.out() << "cell (" << row << ", " << col << ") " << (locked ? "locked" : "unlocked") << "\n";
  } else if (sub == "check") {
    BillView before = viewOf(w);
    report(w, "check", before, bill(w).checkData());
  } else if (sub == "save") {
    BillView before = viewOf(w);
    report(w, "save", before, bill(w).save());
  } else if (sub == "reload") {
    BillView before = viewOf(w);
    report(w, "reload", before, bill(w).reload());
  } else if (sub == "ledger") {
    w.out() << ledgerWindow(bill(w).form().ldgAbility->renderText(), w.ledgerFrom, w.ledgerDays);
  } else if (sub == "window") {
    // window <from yyyy-mm-dd> <days> | all: the dates the ledger is shown with.
    if (l.size() == 3 && automation::equalsIgnoreCase(l.words[2], "all")) {
      w.ledgerFrom.clear();
      w.ledgerDays = 0;
      w.out() << "the ledger shows every date\n";
      return;
    }
    if (l.size() != 4 || !automation::parseDate(l.words[2]) || l.words[2].size() != 10) {
      throw UsageError{
          "window <from yyyy-mm-dd> <days>, as in window 2026-12-01 14, or window all"};
    }
    int32_t days = number(l, 3);
    if (days < 1) throw UsageError{"the number of days is 1 or more, not " + l.words[3]};
    w.ledgerFrom = l.words[2];
    w.ledgerDays = days;
    w.out() << "the ledger shows " << days << " days from " << w.ledgerFrom << "\n";
  } else if (sub == "showability") {
    // The user's saved choice, as the plug-in reads it when a bill opens.
    bool on = automation::equalsIgnoreCase(l.words[2], "on");
    if (!on && !automation::equalsIgnoreCase(l.words[2], "off")) {
      throw UsageError{"on or off expected, not " + l.words[2]};
    }
    std::string path = scheduler::settingsKeyPath(services::GetEdition(0));
    w.host().registry().write(path, "ShowAbility", automation::Variant(on));
    w.trace() << path << "\\ShowAbility = " << (on ? "True" : "False") << "\n";
  } else if (sub == "settings") {
    std::string path = scheduler::settingsKeyPath(services::GetEdition(0));
    w.out() << path << "\n";
    for (const auto& [name, value] : w.host().registry().values(path)) {
      w.out() << "  " << name << " = " << Workbench::formatValue(value) << "\n";
    }
  } else if (sub == "close") {
    bill(w).close();
    w.schedule.reset();
    w.out() << "schedule bill closed\n";
  } else {
    throw UsageError{"unknown sub-command " + l.words[1]};
  }
}

}  // namespace

void addScheduleCommands(Workbench& w) {
  w.addCommand({"schedule",
                "open <id> | layout | grid | header | resize <w> <h> | drag <grab y> <y>... | "
                "select <row> <col> | click <tool> | key <code|F7|Up|Down|Left|Right|Delete> | "
                "type <row> <col> \"text\" | lock <row> <col> [off] | check | save | reload | "
                "ledger | window <from yyyy-mm-dd> <days>|all | showability on|off | settings | "
                "close",
                "the repetitive schedule bill of a work order, with the schedule plug-in",
                cmdSchedule,
                "schedule showability on\nschedule open 5001\nschedule window 2026-12-07 14\n"
                "schedule select 3 ColQty\nschedule select 4 ColLine\nschedule key F7\n"
                "schedule type 4 ColQty 120\nschedule save\nschedule close"});
}

}  // namespace qx::qxhost
