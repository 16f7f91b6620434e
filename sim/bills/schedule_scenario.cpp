#include "sim/bills/schedule_scenario.h"

#include <map>
#include <string>
#include <vector>

namespace qx::sim {

namespace {

constexpr int16_t kF7 = 118;

// What the user sees of the bill, so that each step can print what changed.
struct View {
  std::vector<std::string> cells;
  std::map<std::string, std::string> texts;
  std::string ledger;
  std::string layout;
  size_t messages = 0, dialogs = 0, reports = 0;
};

class Player {
 public:
  Player(SimHost& host, ScheduleBill& bill, std::ostream& out)
      : host_(host), bill_(bill), out_(out), last_(view()) {}

  View view() const {
    View v;
    const ScheduleForm& f = bill_.form();
    if (f.grid) {
      for (int32_t r = 1; r <= f.grid->rows(); ++r) {
        std::string row;
        for (int32_t c = 1; c <= f.grid->cols(); ++c) row += f.grid->cellText(r, c) + "|";
        v.cells.push_back(row);
      }
    }
    for (const auto& [name, box] : f.textBoxes) v.texts[name] = box->text;
    if (f.ldgAbility) v.ledger = f.ldgAbility->renderText();
    v.layout = bill_.layoutText();
    v.messages = host_.platform().shownMessages().size();
    v.dialogs = host_.platform().dialogs().shown().size();
    v.reports = host_.reports().shown().size();
    return v;
  }

  // Prints the step's outcome and everything that changed since the last step.
  void step(std::string_view name, const ScheduleBill::Outcome& o, bool failureExpected = false) {
    out_ << "== " << name << "\n";
    out_ << "bCancel = " << (o.cancel ? "True" : "False") << "\n";
    if (o.failure) {
      out_ << "error " << o.failure->number() << ": " << o.failure->description() << "\n";
      if (!failureExpected) ok_ = false;
    }
    if (!o.action.empty()) out_ << "bill: " << o.action << "\n";
    changes();
  }

  void changes() {
    View now = view();
    const auto& messages = host_.platform().shownMessages();
    for (size_t i = last_.messages; i < messages.size(); ++i) {
      out_ << "message [" << messages[i].title << "] " << messages[i].prompt << " -> "
           << messages[i].answer << "\n";
    }
    const auto& dialogs = host_.platform().dialogs().shown();
    for (size_t i = last_.dialogs; i < dialogs.size(); ++i) {
      if (dialogs[i].kind == dialog_kind::kMessage) continue;  // printed above
      if (dialog_kind::isLoaderDialog(dialogs[i].kind)) {
        out_ << dialogs[i].kind << " dialog: " << dialogs[i].content << " ->"
             << (dialogs[i].answer.empty() ? "" : " " + dialogs[i].answer) << "\n";
      } else {
        out_ << dialogs[i].kind << " dialog [" << dialogs[i].title << "] " << dialogs[i].content
             << " -> " << dialogs[i].answer << "\n";
      }
    }
    const auto& reports = host_.reports().shown();
    for (size_t i = last_.reports; i < reports.size(); ++i) {
      out_ << "report " << reports[i].id << " [" << reports[i].title << "]\n";
      std::string heading;
      for (const std::string& c : reports[i].columns) heading += c + "|";
      out_ << "  " << heading << "\n";
      for (const auto& row : reports[i].rows) {
        std::string line;
        for (const std::string& c : row) line += c + "|";
        out_ << "  " << line << "\n";
      }
    }
    if (now.cells != last_.cells) {
      out_ << "grid:\n";
      for (const std::string& row : now.cells) out_ << "  " << row << "\n";
    }
    for (const auto& [name, text] : now.texts) {
      auto before = last_.texts.find(name);
      if (before == last_.texts.end() || before->second != text) {
        out_ << name << " = \"" << text << "\"\n";
      }
    }
    if (now.layout != last_.layout) out_ << "layout:\n" << now.layout;
    if (now.ledger != last_.ledger) out_ << "ledger:\n" << now.ledger;
    last_ = std::move(now);
  }

  void note(std::string_view text) { out_ << "== " << text << "\n"; }
  void failed(const automation::Error& e) {
    out_ << "error " << e.number() << ": " << e.description() << "\n";
    ok_ = false;
  }
  bool ok() const noexcept { return ok_; }

 private:
  SimHost& host_;
  ScheduleBill& bill_;
  std::ostream& out_;
  View last_;
  bool ok_ = true;
};

}  // namespace

bool playScheduleScenario(SimHost& host, ScheduleBill& bill, std::string_view progId,
                          std::ostream& out) {
  bill.load(kScenarioWorkOrder);
  Player p(host, bill, out);
  p.note("open work order " + std::to_string(kScenarioWorkOrder));
  p.changes();

  p.note("Init");
  if (auto failure = bill.attachPlugin(progId)) {
    p.failed(*failure);
    return false;
  }
  p.changes();

  p.step("click showability", bill.clickTool("showability"));

  const ScheduleForm& f = bill.form();
  p.note("resize 16500 x 9900");
  f.form->resize(16500, 9900);
  p.changes();

  p.note("splitter drag");
  f.picSplit->mouseDown(f.picSplit->width / 2, 30);
  f.form->mouseMove(f.picSplit->left, 4200);
  f.form->mouseUp(f.picSplit->left, 4500);
  p.changes();

  p.step("select line L-02", bill.select(3, scheduleColumnIndex("ColQty")));
  p.step("select line L-01", bill.select(2, scheduleColumnIndex("ColQty")));

  const int32_t line = scheduleColumnIndex("ColLine");
  p.step("select the line cell of row 4", bill.select(4, line));
  host.platform().dialogs().queue(std::string(dialog_kind::kLine), "L-01");
  p.step("F7", bill.keyDown(kF7));

  p.step("type L-03", bill.typeInto(4, line, "L-03"));
  p.step("type 1003", bill.typeInto(4, scheduleColumnIndex("ColLineId"), "1003"));
  p.step("leave the row (refused)", bill.select(2, scheduleColumnIndex("ColQty")));

  p.step("back to the line cell", bill.select(4, line));
  host.platform().dialogs().queue(std::string(dialog_kind::kLine), "L-02");
  p.step("F7 again", bill.keyDown(kF7));
  p.step("save", bill.save());

  host.dialogs().queue("decompose", {"accept"});
  p.step("plan wizard", bill.clickTool("wizard"));
  p.step("capacity report", bill.clickTool("viewload"));

  host.dialogs().queue("options", {"ok", "FSchedule=1"});
  p.step("capacity options", bill.clickTool("abilityOption"));

  p.note("release");
  bill.close();
  p.changes();
  return p.ok();
}

}  // namespace qx::sim
