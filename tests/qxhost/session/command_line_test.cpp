#include "tools/qxhost/session/command_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "sim/sim_host.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::qxhost {
namespace {

TEST(CommandLine, OptionsScriptsAndMistakes) {
  struct Case {
    std::vector<std::string> args;
    std::string script, home, error;
  } cases[] = {
      {{}, "", "", ""},
      {{"demo"}, "demo", "", ""},
      {{"--home", "/h", "s.txt"}, "s.txt", "/h", ""},
      {{"s.txt", "--home", "/h"}, "s.txt", "/h", ""},
      {{"-"}, "-", "", ""},
      {{"--home"}, "", "", "--home needs a value, as in --home DIR"},
      {{"--home", ""}, "", "", "--home needs a value, as in --home DIR"},
      {{"--database"}, "", "", "--database needs a value, as in --database FILE"},
      {{"--frobnicate"}, "", "", "unknown option --frobnicate (qxhost --help lists the options)"},
      {{"a.txt", "b.txt"}, "a.txt", "", "one script at a time: a.txt and b.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    CommandLine cl = parseCommandLine(c.args);
    EXPECT_EQ(cl.error, c.error);
    EXPECT_EQ(cl.script, c.script);
    EXPECT_EQ(cl.home.value_or(""), c.home);
  }
  EXPECT_TRUE(parseCommandLine({"demo", "--help"}).help);
  for (auto [word, language] : {std::pair{"en", "EN"}, {"ZH", "CHS"}, {"chs", "CHS"}}) {
    SCOPED_TRACE(word);
    CommandLine cl = parseCommandLine({"demo", "--lang", word, "-v"});
    EXPECT_EQ(cl.error, "");
    EXPECT_EQ(cl.language, language);
    EXPECT_TRUE(cl.verbose);
  }
  for (auto args : {std::vector<std::string>{"--lang"}, {"--lang", "FR"}}) {
    EXPECT_EQ(parseCommandLine(args).error,
              "--lang takes EN (English) or ZH (Chinese), as in --lang EN");
  }
  EXPECT_TRUE(parseCommandLine({"--version"}).version);
}

TEST(CommandLine, HelpListsOptionsAndEveryCommand) {
  std::ostringstream out;
  printHelp(out);
  for (const char* text : {"--home DIR", "--database FILE", "--version", "\n  schedule open <id>",
                           "\n  sql ", "\n  answer ", "\n  help"}) {
    SCOPED_TRACE(text);
    EXPECT_NE(out.str().find(text), std::string::npos) << out.str();
  }
}

// The database a session is given is checked before the session starts; a missing one is not
// created and a file that is not a database is left as it was.
TEST(CommandLine, DatabaseProblemsAreNamedBeforeTheSessionStarts) {
  std::filesystem::path dir = qx::testing::uniqueTempPath("databases");
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "notes.txt") << "not a database\n";
  std::ofstream(dir / "empty.db").close();
  struct Case {
    std::string database, problem;
  } cases[] = {
      {"", ""},
      {(dir / "missing.db").string(), "the file does not exist"},
      {(dir / "notes.txt").string(), "file is not a database"},
      {(dir / "empty.db").string(), "is a database without the plant's tables"},
      {dir.string(), "it is a folder"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.database);
    sim::HostOptions o;
    o.home = dir / "home";
    o.database = c.database;
    o.dataDir = std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data";
    sim::SimHost host(o);
    std::string problem = databaseProblem(host);
    EXPECT_EQ(problem.empty(), c.problem.empty()) << problem;
    EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "missing.db"));
  EXPECT_EQ(std::filesystem::file_size(dir / "empty.db"), 0u);
  std::filesystem::remove_all(dir);
}

// A home folder that cannot be made (a plain file stands where its parent should be): the
// session starts and is told why; a registry write fails as a host error the session reports.
TEST(CommandLine, AHomeThatCannotBeWrittenIsNamed) {
  std::filesystem::path file = qx::testing::uniqueTempPath("plain_file");
  std::ofstream(file) << "x";
  for (const auto& [home, writable] :
       {std::pair{file / "home", false},
        std::pair{std::filesystem::path(file.string() + "_home"), true}}) {
    SCOPED_TRACE(home);
    sim::HostOptions o;
    o.home = home;
    o.dataDir = std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data";
    sim::SimHost host(o);
    std::string problem = homeProblem(host);
    EXPECT_EQ(problem.empty(), writable) << problem;
    if (!writable) {
      EXPECT_NE(problem.find("give a writable folder with --home"), std::string::npos);
      EXPECT_EQ(qx::testing::errorNumber([&] {
                  host.registry().write("HKCU\\Software\\Test", "A", automation::Variant(1));
                }),
                75);
    }
    std::filesystem::remove_all(file.string() + "_home");
  }
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace qx::qxhost
