// Completion of command names and of the fixed words of a command's usage.
#include "tools/qxhost/session/completion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_home.h"

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
      // What the placeholders stand for: column keys, tool names, key names.
      {"schedule select 2 colline", {"ColLine", "ColLineId"}},
      {"schedule type 2 ColQ", {"ColQty"}},
      {"schedule lock 2 ColBa", {"ColBatchNo"}},
      {"schedule select ColQ", {}},
      {"schedule click wiz", {"wizard"}},
      {"schedule click refresh", {"refreshability"}},
      {"schedule key D", {"Delete", "Down"}},
      {"schedule key f", {"F7"}},
  };
  std::vector<Workbench::Command> commands = Workbench::commandSet();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    EXPECT_EQ(completions(commands, c.before), c.found);
  }
  EXPECT_EQ(commonPrefix({"expect", "expect-not", "expect-refused", "export"}), "exp");
  EXPECT_EQ(commonPrefix({}), "");
}

TEST(Completion, FileNamesAfterCsvAndHtml) {
  std::filesystem::path folder = qx::testing::uniqueTempPath("completion");
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "alps");
  for (const char* name : {"alpha.csv", "beta.html", ".hidden"}) std::ofstream(folder / name);
  std::string f = folder.string() + "/";
  struct Case {
    std::string before;
    std::vector<std::string> found;
  } cases[] = {
      {"export --csv " + f + "al", {f + "alpha.csv", f + "alps/"}},
      {"export --csv " + f, {f + "alpha.csv", f + "alps/", f + "beta.html"}},
      {"export --csv " + f + ".h", {f + ".hidden"}},
      {"snapshot --html " + f + "b", {f + "beta.html"}},
      {"export --csv " + f + "alpha.csv l", {"ledger"}},
      {"export --csv " + f + "none/", {}},
  };
  std::vector<Workbench::Command> commands = Workbench::commandSet();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    EXPECT_EQ(completions(commands, c.before), c.found);
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qx::qxhost
