// Completion of command names and of the fixed words of a command's usage.
#include "tools/qxhost/session/completion.h"

#include <gtest/gtest.h>

namespace qx::qxhost {
namespace {

TEST(Completion, NamesAndFixedWordsOfTheUsage) {
  struct Case {
    const char* before;
    std::vector<std::string> found;
  } cases[] = {
      {"sch", {"schedule"}},
      {"SCH", {"schedule"}},
      {"ex", {"exit", "expect", "expect-not", "expect-refused", "export"}},
      {"help exp", {"expect", "expect-not", "expect-refused", "export"}},
      {"schedule sel", {"select"}},
      {"schedule s", {"save", "select", "settings", "showability"}},
      {"schedule showability o", {"off", "on"}},
      {"schedule open ", {}},
      {"export ", {"--csv"}},
      {"export --csv out.csv ", {"ability", "ledger", "report"}},
      {"export --html out.csv ", {}},
      {"source engine M", {"MasterDataEvents"}},
      {"mouse ", {"down", "move", "up"}},
      {"frob", {}},
      {"echo sch", {}},
  };
  std::vector<Workbench::Command> commands = Workbench::commandSet();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    EXPECT_EQ(completions(commands, c.before), c.found);
  }
  EXPECT_EQ(commonPrefix({"expect", "expect-not", "expect-refused", "export"}), "exp");
  EXPECT_EQ(commonPrefix({}), "");
}

}  // namespace
}  // namespace qx::qxhost
