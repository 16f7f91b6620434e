// Workbench commands of the host's services: the login, the rights table, queries through the
// connection component, the answers to dialogs and the mouse pointer's history.
#include <algorithm>
#include <cstdint>
#include <ostream>

#include "automation/arg.h"
#include "automation/conversions.h"
#include "automation/recordset.h"
#include "automation/text.h"
#include "host/prog_ids.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

namespace {

using automation::Error;

// dialogs, messages, pointer: nothing or "clear".
void clearOnly(const Line& l) {
  expectWords(l, 1, 2);
  if (l.size() == 2 && !automation::equalsIgnoreCase(l.words[1], "clear")) {
    throw UsageError{"clear or nothing expected, not " + l.words[1]};
  }
}

// Columns a text takes on a terminal: East Asian wide characters take two.
size_t displayWidth(std::string_view s) {
  size_t width = 0;
  for (size_t i = 0; i < s.size();) {
    auto c = static_cast<unsigned char>(s[i]);
    char32_t cp = c;
    size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (n > 1 && i + n <= s.size()) {
      cp = c & (0x7F >> n);
      for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    }
    bool wide = (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
                (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
                (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
                (cp >= 0xFFE0 && cp <= 0xFFE6);
    width += wide ? 2 : 1;
    i += n;
  }
  return width;
}

std::string cellText(const Variant& v) {
  if (v.isNull()) return "(null)";
  return v.toString();
}

void pad(std::ostream& out, const std::string& text, size_t width) {
  out << text << std::string(width - std::min(width, displayWidth(text)), ' ');
}

// Prints the recordset's rows from the current position on as a table.
void printTable(std::ostream& out, automation::Recordset& rs) {
  std::vector<std::vector<std::string>> cells(1);
  for (size_t c = 0; c < rs.fieldCount(); ++c) cells[0].push_back(rs.fieldDef(c).name);
  for (; !rs.eof(); rs.moveNext()) {
    std::vector<std::string> row;
    for (size_t c = 0; c < rs.fieldCount(); ++c) row.push_back(cellText(rs.value(c)));
    cells.push_back(std::move(row));
  }
  std::vector<size_t> widths(rs.fieldCount(), 0);
  for (const auto& row : cells) {
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], displayWidth(row[c]));
  }
  for (size_t r = 0; r < cells.size(); ++r) {
    for (size_t c = 0; c < cells[r].size(); ++c) {
      out << (c ? " | " : "  ");
      pad(out, cells[r][c], c + 1 < cells[r].size() ? widths[c] : 0);
    }
    out << "\n";
    if (r == 0) {
      out << "  ";
      for (size_t c = 0; c < widths.size(); ++c)
        out << (c ? "-+-" : "") << std::string(widths[c], '-');
      out << "\n";
    }
  }
  out << "  (" << cells.size() - 1 << (cells.size() == 2 ? " row)\n" : " rows)\n");
}

void printLogin(Workbench& w) {
  const sim::Login& login = w.host().login();
  w.out() << "login: user " << login.user << ", language " << login.entry("Language")
          << ", edition " << login.entry("QxVersion") << ", currency decimals "
          << login.currencyDecimals << "\n  PropsString = \"" << login.props << "\"\n";
}

// The whole line is read before anything changes: a bad setting leaves the login as it was.
void cmdLogin(Workbench& w, const Line& l) {
  sim::Login login = w.host().login();
  for (size_t i = 1; i < l.size(); i += 2) {
    std::string what = automation::asciiLower(l.words[i]);
    if (what != "user" && what != "language" && what != "edition" && what != "props" &&
        what != "decimals") {
      throw UsageError{"unknown login setting " + l.words[i] +
                       " (user, language, edition, props, decimals)"};
    }
    if (i + 1 >= l.size()) throw UsageError{"missing value after " + l.words[i]};
    const std::string& value = l.words[i + 1];
    if (what == "user") {
      login.user = value;
    } else if (what == "language") {
      login.setEntry("Language", value);
    } else if (what == "edition") {
      login.setEntry("QxVersion", value);
    } else if (what == "props") {
      login.props = value;
    } else {
      auto n = wholeNumber(value);
      if (!n || *n < 0 || *n > 15) {
        throw UsageError{"decimals is a whole number from 0 to 15, not " + value};
      }
      login.currencyDecimals = static_cast<int16_t>(*n);
    }
  }
  w.host().login() = login;
  printLogin(w);
}

void cmdRights(Workbench& w, const Line& l) {
  expectWords(l, 3, 6);
  const std::string& user = l.words[1];
  std::string what = automation::asciiLower(l.words[2]);
  sim::AccessRights& rights = w.host().rights();
  if (what == "all" || what == "none") {
    expectWords(l, 3, 3);
    what == "all" ? rights.grantAll(user) : rights.clear(user);
  } else if (what == "grant" || what == "revoke") {
    expectWords(l, 6, 6);
    int32_t values[3];
    for (size_t i = 3; i < 6; ++i) {
      auto n = wholeNumber(l.words[i]);
      if (!n) throw UsageError{"type, id and mask are whole numbers, not " + l.words[i]};
      values[i - 3] = *n;
    }
    auto mask = static_cast<uint32_t>(values[2]);
    if (what == "grant") {
      rights.grant(user, values[0], values[1], mask);
    } else {
      rights.revoke(user, values[0], values[1], mask);
    }
  } else {
    throw UsageError{"all, none, grant or revoke expected, not " + l.words[2]};
  }
  w.out() << "rights of " << user << ": " << what << "\n";
}

void cmdSql(Workbench& w, const Line& l) {
  expectWords(l, 2, SIZE_MAX);
  std::string sql = l.words[1];
  for (size_t i = 2; i < l.size(); ++i) sql += " " + l.words[i];
  // The way the component does it: a connection by identifier, one query.
  ObjectRef connection = w.host().platform().createObject(host::prog_id::kConnection);
  Variant text(sql), changed(0);
  Variant result = connection->call("Execute", automation::byRef(text), automation::byRef(changed));
  connection.reset();
  auto rs = automation::refCast<automation::Recordset>(result.objectOrNull());
  if (!rs) {
    w.out() << "no recordset (" << changed.toInt32() << " rows changed)\n";
    return;
  }
  printTable(w.out(), *rs);
}

// answer <kind> <answer...>: answers for the next dialogs of a kind (message: button codes;
// line: a line's number or name, or cancel). Numbers alone answer message boxes.
void cmdAnswer(Workbench& w, const Line& l) {
  expectWords(l, 2, SIZE_MAX);
  sim::DialogScript& dialogs = w.host().platform().dialogs();
  std::string kind(sim::dialog_kind::kMessage);
  size_t first = 1;
  auto numeric = [](const std::string& word) {
    try {
      return automation::parseNumber(word).has_value();
    } catch (const Error&) {
      return true;  // a number out of range: the button code fails as a value below
    }
  };
  if (l.quoted[1] || !numeric(l.words[1])) {
    kind = automation::asciiLower(l.words[1]);
    bool known = false;
    for (std::string_view k : sim::dialog_kind::kAll) known |= k == kind;
    if (!known) {
      std::string kinds;
      for (std::string_view k : sim::dialog_kind::kAll) kinds += " " + std::string(k);
      throw UsageError{"unknown dialog kind \"" + l.words[1] + "\" (kinds:" + kinds + ")"};
    }
    first = 2;
    if (l.size() < 3) throw UsageError{"missing the answers to the " + kind + " dialogs"};
  }
  // Every answer is read before one is queued: a bad one queues none.
  std::vector<int32_t> codes;
  for (size_t i = first; i < l.size() && kind == sim::dialog_kind::kMessage; ++i) {
    auto n = l.quoted[i] ? std::nullopt : wholeNumber(l.words[i]);
    if (!n) {
      throw UsageError{
          "a message box is answered with a button code (1 OK, 2 Cancel, 6 Yes, "
          "7 No), not " +
          l.words[i]};
    }
    codes.push_back(*n);
  }
  for (int32_t code : codes) w.host().platform().queueAnswer(code);
  for (size_t i = first; i < l.size() && kind != sim::dialog_kind::kMessage; ++i) {
    dialogs.queue(kind, l.words[i]);
  }
  size_t n = l.size() - first;
  w.out() << "queued " << n << " " << kind << " answer" << (n > 1 ? "s" : "") << " ("
          << dialogs.pending(kind) << " waiting)\n";
}

// The host's dialogs (message boxes, the line browser) and the capacity loader's (options,
// decomposition) share one queue of answers and one record of what they showed.
void cmdDialogs(Workbench& w, const Line& l) {
  clearOnly(l);
  sim::DialogScript& dialogs = w.host().platform().dialogs();
  if (l.size() > 1 && automation::equalsIgnoreCase(l.words[1], "clear")) {
    dialogs.clearShown();
    dialogs.clearAnswers();
    w.out() << "dialogs and waiting answers cleared\n";
    return;
  }
  if (dialogs.shown().empty()) w.out() << "no dialog shown\n";
  for (const sim::ShownDialog& d : dialogs.shown()) {
    if (sim::dialog_kind::isLoaderDialog(d.kind)) {
      printDialog(w, d);
    } else {
      w.out() << d.kind << " [" << d.title << "] " << d.content << " -> " << d.answer << "\n";
    }
  }
  for (std::string_view k : {sim::dialog_kind::kMessage, sim::dialog_kind::kLine,
                             sim::dialog_kind::kOptions, sim::dialog_kind::kDecompose}) {
    if (size_t n = dialogs.pending(k)) w.out() << n << " " << k << " answer(s) waiting\n";
  }
}

void cmdMessages(Workbench& w, const Line& l) {
  clearOnly(l);
  sim::SimPlatform& p = w.host().platform();
  if (l.size() > 1 && automation::equalsIgnoreCase(l.words[1], "clear")) {
    p.clearShownMessages();
    w.out() << "message boxes cleared\n";
    return;
  }
  if (p.shownMessages().empty()) w.out() << "no message box shown\n";
  for (const sim::ShownMessage& m : p.shownMessages()) {
    w.out() << "[" << m.title << "] " << m.prompt << " (style " << m.style << ", answered "
            << m.answer << ")\n";
  }
}

void cmdPointer(Workbench& w, const Line& l) {
  clearOnly(l);
  sim::SimPlatform& p = w.host().platform();
  if (l.size() > 1 && automation::equalsIgnoreCase(l.words[1], "clear")) {
    p.clearPointerHistory();
    w.out() << "pointer history cleared\n";
    return;
  }
  w.out() << "mouse pointer " << p.mousePointer() << "; history:";
  if (p.pointerHistory().empty()) w.out() << " none";
  for (int32_t pointer : p.pointerHistory()) {
    w.out() << " " << pointer
            << (pointer == 11  ? " (hourglass)"
                : pointer == 0 ? " (default)"
                               : "");
  }
  w.out() << "\n";
}

}  // namespace

void addHostCommands(Workbench& w) {
  w.addCommand({"login", "[user NAME] [language ID] [edition CODE] [props \"TEXT\"] [decimals N]",
                "sets or prints the login the shared-property manager hands out", cmdLogin,
                "login language EN edition ZRB\nlogin"});
  w.addCommand({"rights", "<user> all|none|grant|revoke [type id mask]",
                "changes the rights table that AccessCheck reads", cmdRights,
                "rights demo none\nrights demo grant 1 1001 15"});
  w.addCommand({"sql", "\"<statement>\"",
                "runs SQL through the connection component and prints the rows", cmdSql,
                "sql \"SELECT FInterID, FNumber, FName FROM t_resource WHERE FTypeID = 11063\""});
  w.addCommand({"answer", "[message] <button code...> | line <number|name|cancel>...",
                "queues the user's answers to the next dialogs of a kind", cmdAnswer,
                "answer 6 1\nanswer line L-01"});
  w.addCommand({"dialogs", "[clear]",
                "prints every dialog shown so far with its answer, and the answers waiting",
                cmdDialogs, "dialogs\ndialogs clear"});
  w.addCommand(
      {"messages", "[clear]", "prints the message boxes shown so far", cmdMessages, "messages"});
  w.addCommand({"pointer", "[clear]", "prints the mouse pointer and its history", cmdPointer,
                "pointer clear"});
}

}  // namespace qx::qxhost
