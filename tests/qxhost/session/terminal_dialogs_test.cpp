// The host's dialogs asked at a terminal: what each kind offers, what the user types, and the
// answer handed to the dialog in the form a queued one has.
#include "tools/qxhost/session/terminal_dialogs.h"

#include <gtest/gtest.h>

#include <sstream>

#include "automation/error.h"

namespace qx::qxhost {
namespace {

// A decomposition proposal the preview rebuilds from the edits so far.
std::string proposal(const std::vector<std::string>& edits) {
  std::string text = "  1. L-01 1000\n";
  for (const std::string& e : edits) {
    if (e.rfind("9.", 0) == 0) {
      throw automation::Error::invalidProcedureCall("there is no piece 9", "QxEIAbility");
    }
    if (e != "accept") text += "  edited " + e + "\n";
  }
  return text;
}

TEST(TerminalDialogs, EachKindShowsItsChoicesAndTakesWhatIsTyped) {
  using Question = sim::DialogQuestion;
  const Question message{
      "message", "t", "save?", {"code", "button"}, {{"6", "Yes"}, {"7", "No"}, {"2", "Cancel"}},
      nullptr};
  const Question ok{"message", "t", "done", {"code", "button"}, {{"1", "OK"}}, nullptr};
  const Question line{"line",
                      "选择生产线",
                      "",
                      {"code", "name", "work centre", "id"},
                      {{"L-01", "一线", "WC", "1001"}, {"L-02", "二线", "WC", "1002"}},
                      nullptr};
  const Question options{"options",
                         "",
                         "capacity options\n",
                         {"option", "on", "meaning"},
                         {{"FSchedule", "0", "released"}, {"FNoPlanICMO", "1", "unplanned"}},
                         [](const std::vector<std::string>& w) {
                           std::string t;
                           for (const auto& x : w) t += x + ";";
                           return t + "\n";
                         }};
  const Question decompose{"decompose", "", proposal({}), {}, {}, proposal};
  const char sep = sim::DialogScript::kWordSeparator;
  struct Row {
    const char* what;
    const Question* q;
    std::vector<std::string> typed;  // "^C": the user presses Ctrl-C (or the input ends)
    std::optional<std::string> answer;
    const char* shown;  // in what the terminal showed
  } rows[] = {
      {"a button by caption", &message, {"no"}, "7", "[t] save?"},
      {"a button by first letter, after a wrong word", &message, {"x", "y"}, "6", "one of: "},
      {"a button by code", &message, {"2"}, "2", "Yes (6), No (7), Cancel (2)"},
      {"Ctrl-C cancels a box that has Cancel", &message, {"^C"}, "2", "save?"},
      {"one button: nothing asked", &ok, {}, std::nullopt, ""},
      {"a line by list number", &line, {"2"}, "2", "2  L-02  二线"},
      {"a line by id after one not offered", &line, {"L-09", "1001"}, "1001", "no line L-09"},
      {"a line by name", &line, {"", "二线"}, "二线", "选择生产线"},
      {"Ctrl-C cancels the browser", &line, {"^C"}, "cancel", "#  code"},
      {"an option switched",
       &options,
       {"2", "ok"},
       std::string("ok") + sep + "FNoPlanICMO=0",
       "FNoPlanICMO=0;"},
      {"options: a number out of range, then cancel",
       &options,
       {"7", "cancel"},
       "cancel",
       "1 to 2, ok or cancel"},
      {"a piece edited, a bad edit refused, accepted",
       &decompose,
       {"edit 1 qty 10", "edit 9 qty 1", "accept"},
       std::string("1.FAuxQty=10") + sep + "accept",
       "there is no piece 9"},
      {"a piece dropped, a word not understood, then cancel",
       &decompose,
       {"drop 1", "what", "cancel"},
       "cancel",
       "not understood: what"},
      {"the dialog's own words pass",
       &decompose,
       {"1.FToDate=2026-12-09", "ok"},
       std::string("1.FToDate=2026-12-09") + sep + "accept",
       "edited 1.FToDate=2026-12-09"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    std::ostringstream out;
    size_t next = 0;
    TerminalDialogs dialogs(
        out,
        [&](const std::string& prompt, std::string& answer) {
          out << prompt;
          if (next >= r.typed.size() || r.typed[next] == "^C") return false;
          answer = r.typed[next++];
          out << answer << "\n";
          return true;
        },
        [] { return false; });
    EXPECT_EQ(dialogs.ask(*r.q), r.answer);
    EXPECT_NE(out.str().find(r.shown), std::string::npos) << out.str();
    EXPECT_EQ(next, r.typed.size() - (!r.typed.empty() && r.typed.back() == "^C" ? 1 : 0));
  }
}

}  // namespace
}  // namespace qx::qxhost
