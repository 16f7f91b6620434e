#include "tools/qxhost/session/terminal_dialogs.h"

#include <ostream>
#include <vector>

#include "automation/error.h"
#include "automation/text.h"
#include "sim/components/lines/line_browser.h"
#include "sim/controls/text_table.h"

namespace qx::qxhost {

namespace {

using Words = std::vector<std::string>;

std::string trimmed(const std::string& s) {
  size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

Words split(const std::string& s) {
  Words words;
  for (size_t at = 0; at < s.size();) {
    size_t start = s.find_first_not_of(" \t", at);
    if (start == std::string::npos) break;
    size_t end = s.find_first_of(" \t", start);
    words.push_back(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
    at = end == std::string::npos ? s.size() : end;
  }
  return words;
}

std::string joined(const Words& words) {
  std::string text;
  for (const std::string& w : words) {
    if (!text.empty()) text += sim::DialogScript::kWordSeparator;
    text += w;
  }
  return text;
}

// A table with a list number before each row.
void printTable(std::ostream& out, const Words& columns,
                const std::vector<std::vector<std::string>>& rows) {
  std::vector<size_t> widths(columns.size() + 1, 1);
  widths[0] = std::to_string(rows.size()).size();
  for (size_t c = 0; c < columns.size(); ++c) widths[c + 1] = sim::displayWidth(columns[c]);
  for (const auto& row : rows) {
    for (size_t c = 0; c < row.size() && c < columns.size(); ++c) {
      widths[c + 1] = std::max(widths[c + 1], sim::displayWidth(row[c]));
    }
  }
  auto line = [&](const std::string& number, const Words& cells) {
    out << "  " << sim::padLeft(number, widths[0]);
    for (size_t c = 0; c < columns.size(); ++c) {
      out << "  " << sim::padRight(c < cells.size() ? cells[c] : std::string(), widths[c + 1]);
    }
    out << "\n";
  };
  line("#", columns);
  for (size_t r = 0; r < rows.size(); ++r) line(std::to_string(r + 1), rows[r]);
}

}  // namespace

std::string decompositionEdit(const std::string& typed) {
  Words w = split(typed);
  if (w.size() == 1 && w[0].find('=') != std::string::npos) return w[0];  // N.FAuxQty=..., drop=N
  if (w.size() == 2 && automation::equalsIgnoreCase(w[0], "drop")) return "drop=" + w[1];
  if (w.size() == 4 && automation::equalsIgnoreCase(w[0], "edit")) {
    static const std::pair<const char*, const char*> kFields[] = {
        {"qty", "FAuxQty"}, {"from", "FFromDate"}, {"to", "FToDate"}, {"line", "FLineiD"}};
    for (auto [name, field] : kFields) {
      if (automation::equalsIgnoreCase(w[2], name)) return w[1] + "." + field + "=" + w[3];
    }
  }
  return {};
}

std::optional<std::string> TerminalDialogs::ask(const sim::DialogQuestion& q) {
  namespace kind = sim::dialog_kind;
  if (q.kind == kind::kMessage) return message(q);
  if (q.kind == kind::kLine) return line(q);
  if (q.kind == kind::kOptions) return options(q);
  if (q.kind == kind::kDecompose) return decompose(q);
  return std::nullopt;
}

std::optional<std::string> TerminalDialogs::message(const sim::DialogQuestion& q) {
  // A box with one button asks nothing: it is shown and confirmed.
  if (q.choices.size() < 2) return std::nullopt;
  out_ << "[" << q.title << "] " << q.content << "\n";
  std::string captions, cancel;
  for (const auto& button : q.choices) {
    captions += (captions.empty() ? "" : ", ") + button[1] + " (" + button[0] + ")";
    if (button[1] == "Cancel") cancel = button[0];
  }
  for (;;) {
    std::string typed;
    if (!read_(say("answer: ", "回答: ") + std::string(captions) + "? ", typed)) {
      if (cancel.empty()) return std::nullopt;
      return cancel;
    }
    typed = trimmed(typed);
    const std::vector<std::string>* found = nullptr;
    int matches = 0;
    for (const auto& button : q.choices) {
      if (typed == button[0] || automation::equalsIgnoreCase(typed, button[1])) return button[0];
      if (typed.size() == 1 && automation::equalsIgnoreCase(typed, button[1].substr(0, 1))) {
        found = &button;
        ++matches;
      }
    }
    if (matches == 1) return (*found)[0];
    out_ << say("one of: ", "请选择: ") << captions << "\n";
  }
}

std::optional<std::string> TerminalDialogs::line(const sim::DialogQuestion& q) {
  out_ << q.title << "\n";
  if (q.choices.empty()) {
    out_ << say("  no line can make the item\n", "  没有能生产该物料的生产线\n");
    return std::string("cancel");
  }
  Words columns = q.columns;
  std::vector<std::vector<std::string>> rows = q.choices;
  if (std::optional<LineFigures> f = figures_ ? figures_() : std::nullopt) {
    columns.push_back(f->caption);
    for (auto& row : rows) {
      auto it = row.size() > 3 ? f->byLineId.find(row[3]) : f->byLineId.end();
      row.push_back(it == f->byLineId.end() ? std::string() : it->second);
    }
  }
  printTable(out_, columns, rows);
  for (;;) {
    std::string typed;
    if (!read_(say("line (list number, code, name or id; cancel): ",
                   "生产线 (序号、代码、名称或内码; cancel 取消): "),
               typed)) {
      return std::string("cancel");
    }
    typed = trimmed(typed);
    if (automation::equalsIgnoreCase(typed, "cancel")) return typed;
    if (typed.empty()) continue;
    if (sim::lineChoice(q.choices, typed)) return typed;
    out_ << say("no line ", "没有生产线 ") << typed << say(" among these\n", "\n");
  }
}

std::optional<std::string> TerminalDialogs::options(const sim::DialogQuestion& q) {
  out_ << q.content;
  Words changes;
  std::vector<std::vector<std::string>> state = q.choices;
  for (;;) {
    std::string typed;
    if (!read_(say("option number to switch, ok or cancel: ", "切换选项的序号, ok 或 cancel: "),
               typed)) {
      return std::string("cancel");
    }
    Words w = split(typed);
    if (w.size() == 1 && automation::equalsIgnoreCase(w[0], "cancel")) return w[0];
    if (w.size() == 1 && automation::equalsIgnoreCase(w[0], "ok")) {
      changes.insert(changes.begin(), "ok");
      return joined(changes);
    }
    size_t n = w.size() == 1 && w[0].size() == 1 ? static_cast<size_t>(w[0][0] - '0') : 0;
    if (n < 1 || n > state.size()) {
      out_ << say("1 to ", "1 到 ") << state.size() << say(", ok or cancel\n", ", ok 或 cancel\n");
      continue;
    }
    std::string& on = state[n - 1][1];
    on = on == "1" ? "0" : "1";
    changes.push_back(state[n - 1][0] + "=" + on);
    try {
      out_ << (q.preview ? q.preview(changes) : std::string());
    } catch (const automation::Error& e) {
      out_ << e.description() << "\n";
      changes.pop_back();
    }
  }
}

std::optional<std::string> TerminalDialogs::decompose(const sim::DialogQuestion& q) {
  out_ << q.content;
  Words edits;
  for (;;) {
    std::string typed;
    if (!read_(say("accept, edit N qty|from|to|line VALUE, drop N, or cancel: ",
                   "accept 接受, edit N qty|from|to|line 值 修改, drop N 删除, cancel 取消: "),
               typed)) {
      return std::string("cancel");
    }
    typed = trimmed(typed);
    if (automation::equalsIgnoreCase(typed, "cancel")) return std::string("cancel");
    if (automation::equalsIgnoreCase(typed, "accept") ||
        automation::equalsIgnoreCase(typed, "ok")) {
      edits.push_back("accept");
      return joined(edits);
    }
    std::string word = decompositionEdit(typed);
    if (word.empty()) {
      out_ << say("not understood: ", "无法理解: ") << typed << "\n";
      continue;
    }
    edits.push_back(word);
    try {
      out_ << (q.preview ? q.preview(edits) : std::string());
    } catch (const automation::Error& e) {
      out_ << e.description() << "\n";
      edits.pop_back();
    }
  }
}

}  // namespace qx::qxhost
