// Workbench commands of planning: the user's answers to the capacity loader's dialogs, the
// report viewer's output file, and events queued for the host's pending-message processing.
#include <filesystem>
#include <optional>
#include <ostream>
#include <system_error>

#include "automation/conversions.h"
#include "automation/text.h"
#include "sim/controls/text_table.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

void printDialog(Workbench& w, const sim::ShownDialog& d) {
  w.out() << "  dialog [" << d.kind << "]\n";
  const std::string& text = d.content;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    w.out() << "    " << text.substr(at, end - at) << "\n";
    at = end + 1;
  }
  w.out() << "    answered: " << (d.answer.empty() ? "(default)" : d.answer) << "\n";
}

void printReport(Workbench& w, const sim::ReportTable& r) {
  w.out() << "  report " << r.id << ": " << r.title << " (" << r.rows.size() << " rows)\n";
  std::vector<size_t> widths;
  for (const auto& c : r.columns) widths.push_back(sim::displayWidth(c));
  for (const auto& row : r.rows) {
    for (size_t i = 0; i < row.size() && i < widths.size(); ++i) {
      widths[i] = std::max(widths[i], sim::displayWidth(row[i]));
    }
  }
  auto line = [&](const std::vector<std::string>& cells) {
    w.out() << "   ";
    for (size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
      w.out() << " "
              << (i < 5 ? sim::padRight(cells[i], widths[i]) : sim::padLeft(cells[i], widths[i]));
    }
    w.out() << "\n";
  };
  line(r.columns);
  // A tour shows the report's first page; the whole report when verbose.
  size_t shown = w.verbose() ? r.rows.size() : std::min<size_t>(r.rows.size(), 12);
  for (size_t i = 0; i < shown; ++i) line(r.rows[i]);
  if (shown < r.rows.size()) {
    w.out() << "    ... " << r.rows.size() - shown << " more rows (--verbose shows every row)\n";
  }
  if (!w.host().reports().output().empty()) {
    w.out() << "  written to " << w.host().reports().output().string() << "\n";
  }
}

namespace {

// What is wrong with the word of an answer at `index`, or nothing; the pieces a decomposition
// answer names are checked when the dialog shows its proposal.
std::string answerWordProblem(const std::string& kind, const std::string& word, size_t index) {
  size_t eq = word.find('=');
  std::string key = word.substr(0, eq), value = eq == std::string::npos ? "" : word.substr(eq + 1);
  if (kind == "options") {
    if (index == 0 && (word == "ok" || word == "cancel")) return {};
    if (key != "FSchedule" && key != "CalcRemainAbility" && key != "FNoPlanICMO") {
      return "ok, cancel or FSchedule|CalcRemainAbility|FNoPlanICMO=0|1 expected";
    }
    return value == "0" || value == "1" ? "" : "an option is 0 or 1";
  }
  if (word == "accept" || word == "cancel") return {};
  if (eq == std::string::npos) return "accept, cancel, N.FIELD=VALUE or drop=N expected";
  size_t dot = key.find('.');
  std::string piece = key == "drop" ? value : key.substr(0, dot);
  if (!wholeNumber(piece) || *wholeNumber(piece) < 1) return "a piece is numbered from 1";
  if (key == "drop") return {};
  std::string field = dot == std::string::npos ? "" : key.substr(dot + 1);
  if (field == "FAuxQty") {
    auto q = automation::parseNumber(value);
    return q && *q > 0 ? "" : "a quantity above 0 expected";
  }
  if (field == "FFromDate" || field == "FToDate") {
    return value.size() == 10 && automation::parseDate(value) ? "" : "a date yyyy-mm-dd expected";
  }
  if (field == "FLineiD") return wholeNumber(value) ? "" : "a line's internal id expected";
  return "FAuxQty, FFromDate, FToDate or FLineiD can be changed";
}

void cmdDialog(Workbench& w, const Line& l) {
  if (l.size() < 2) throw UsageError{"missing the dialog: options or decompose"};
  std::string kind = automation::asciiLower(l.words[1]);
  if (kind != "options" && kind != "decompose") {
    throw UsageError{"unknown dialog " + l.words[1] + " (options, decompose)"};
  }
  sim::DialogAnswer answer(l.words.begin() + 2, l.words.end());
  if (answer.empty())
    throw UsageError{"missing the answer, as in dialog " + kind + " " +
                     (kind == "options" ? "ok FSchedule=1" : "accept")};
  for (size_t i = 0; i < answer.size(); ++i) {
    if (std::string why = answerWordProblem(kind, answer[i], i); !why.empty()) {
      throw UsageError{why + ", not " + answer[i]};
    }
  }
  w.host().dialogs().queue(kind, answer);
  w.out() << "queued for the " << kind << " dialog:";
  for (const auto& word : answer) w.out() << " " << word;
  w.out() << "\n";
}

void cmdReportOutput(Workbench& w, const Line& l) {
  expectWords(l, 2, 2);
  bool off = automation::equalsIgnoreCase(l.words[1], "off");
  std::filesystem::path file(l.words[1]), folder = file.parent_path();
  std::error_code ec;
  if (!off &&
      (file.filename().empty() ||
       !std::filesystem::is_directory(folder.empty() ? std::filesystem::path(".") : folder, ec))) {
    throw UsageError{"cannot write reports to " + l.words[1] +
                     " (give a file in a folder that exists, or off)"};
  }
  w.host().reports().setOutput(off ? std::filesystem::path() : std::filesystem::path(l.words[1]));
  w.out() << (off ? std::string("reports are not written to a file")
                  : "reports are written to " + l.words[1])
          << "\n";
}

void cmdLater(Workbench& w, const Line& l) {
  if (l.size() < 2) throw UsageError{"missing the command to run later"};
  std::string text;
  for (size_t i = 1; i < l.size(); ++i) {
    std::string word = l.words[i];
    if (l.quoted[i]) {
      std::string q = "\"";
      for (char c : word) q += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
      word = q + "\"";
    }
    text += (text.empty() ? "" : " ") + word;
  }
  w.host().platform().post([&w, text] {
    w.out() << "  (pending event) " << text << "\n";
    w.execute(text);
  });
  w.out() << "queued until the host next processes its pending messages: " << text << "\n";
}

}  // namespace

void addPlanCommands(Workbench& w) {
  w.addCommand({"dialog", "options|decompose <answer words...>",
                "queues the user's answer to the next capacity options dialog (ok KEY=0|1..., "
                "cancel) or plan decomposition dialog (accept, cancel, N.FAuxQty=..., "
                "N.FFromDate=..., N.FToDate=..., N.FLineiD=..., drop=N)",
                cmdDialog, "dialog options ok FSchedule=1\ndialog decompose 1.FAuxQty=500 drop=2"});
  w.addCommand({"report-output", "<file.csv|file.html|off>",
                "also writes each report the viewer shows to a CSV or HTML file", cmdReportOutput,
                "report-output report.html\nreport-output off"});
  w.addCommand({"later", "<command...>",
                "queues a command as a host event, run when the host next processes its pending "
                "messages (before a tool bar command)",
                cmdLater, "later schedule select 2 ColQty"});
}

}  // namespace qx::qxhost
