// Expectations in scripts: a scenario asserts what the command before them printed, so a script
// is a test (a failed expectation fails the line and the workbench's exit status).
#include "automation/text.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

namespace {

// The text as a one-line quote: line feeds shown as \n.
std::string shown(const std::string& text) {
  std::string r = "\"";
  for (char c : text) r += c == '\n' ? std::string("\\n") : std::string(1, c);
  return r + "\"";
}

// Several texts are alternatives (the same outcome in the login's languages): expect holds when
// one of them was printed, expect-not when none was.
void cmdExpect(Workbench& w, const Line& l, bool present) {
  if (l.size() < 2) throw UsageError{"a quoted text, as in expect \"bCancel = True\""};
  if (w.previousCommand().empty()) {
    throw UsageError{"no command before this expectation: put it after the command it checks"};
  }
  std::string texts;
  bool found = false;
  for (size_t i = 1; i < l.size(); ++i) {
    found = found || w.previousOutput().find(l.words[i]) != std::string::npos;
    texts += (i > 1 ? " or " : "") + shown(l.words[i]);
  }
  if (found == present) return;
  throw ExpectationFailed{"the output of \"" + w.previousCommand() + "\" " +
                          (present ? "does not contain " : "contains ") + texts};
}

// Runs the rest of the line as a command that must be refused as written: its message is the
// output the expect lines after it check, and the script goes on. A command that is carried out
// fails the expectation.
void cmdExpectRefused(Workbench& w, const Line& l) {
  if (l.size() < 2) throw UsageError{"a command, as in expect-refused snapshot --html"};
  std::string text;
  for (size_t i = 1; i < l.size(); ++i) {
    std::string word = l.words[i];
    if (l.quoted[i]) {
      std::string q = "\"";
      for (char c : word) {
        q += c == '"' || c == '\\' ? std::string("\\") + c
             : c == '\n'           ? std::string("\\n")
                                   : std::string(1, c);
      }
      word = q + "\"";
    }
    text += (text.empty() ? "" : " ") + word;
  }
  if (w.execute(text)) throw ExpectationFailed{"\"" + text + "\" was carried out, not refused"};
}

}  // namespace

void addExpectCommands(Workbench& w) {
  w.addCommand({"expect-refused", "<command...>",
                "runs a command that must be refused as written (bad arguments): the script goes "
                "on, and expect lines after it check the message",
                cmdExpectRefused, "expect-refused schedule open 4711"});
  w.addCommand({"expect", "\"text\" [\"other language's text\"...]",
                "fails the line unless the previous command printed the text, or one of the "
                "texts (\\n for a line feed)",
                [](Workbench& wb, const Line& l) { cmdExpect(wb, l, true); },
                "expect \"capacity result of work order 5001\""});
  w.addCommand({"expect-not", "\"text\" [\"text\"...]",
                "fails the line if the previous command printed the text (or any of them)",
                [](Workbench& wb, const Line& l) { cmdExpect(wb, l, false); },
                "expect-not \"message box\""});
}

}  // namespace qx::qxhost
