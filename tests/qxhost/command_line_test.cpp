#include "tools/qxhost/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

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

}  // namespace
}  // namespace qx::qxhost
