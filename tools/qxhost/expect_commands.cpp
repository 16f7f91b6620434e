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

void cmdExpect(Workbench& w, const Line& l, bool present) {
  if (l.size() != 2) throw UsageError{"one quoted text, as in expect \"bCancel = True\""};
  if (w.previousCommand().empty()) {
    throw UsageError{"no command before this expectation: put it after the command it checks"};
  }
  bool found = w.previousOutput().find(l.words[1]) != std::string::npos;
  if (found == present) return;
  throw ExpectationFailed{"the output of \"" + w.previousCommand() + "\" " +
                          (present ? "does not contain " : "contains ") + shown(l.words[1])};
}

}  // namespace

void addExpectCommands(Workbench& w) {
  w.addCommand({"expect", "\"text\"",
                "fails the line unless the previous command printed the text (\\n for a line "
                "feed)",
                [](Workbench& wb, const Line& l) { cmdExpect(wb, l, true); },
                "expect \"capacity result of work order 5001\""});
  w.addCommand({"expect-not", "\"text\"", "fails the line if the previous command printed the text",
                [](Workbench& wb, const Line& l) { cmdExpect(wb, l, false); },
                "expect-not \"message box\""});
}

}  // namespace qx::qxhost
