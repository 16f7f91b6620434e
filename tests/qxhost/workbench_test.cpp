#include "qxhost/workbench_fixture.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::qxhost {
namespace {

class WorkbenchTest : public WorkbenchFixture {};

TEST(Tokenize, QuotedWordsEscapesAndComments) {
  Line l = tokenize(R"(raise  src "a \"b\"\n" 12 # comment)");
  ASSERT_EQ(l.size(), 4u);
  EXPECT_EQ(l.words[2], "a \"b\"\n");
  EXPECT_TRUE(l.quoted[2]);
  EXPECT_FALSE(l.quoted[3]);
  EXPECT_THROW(tokenize("echo \"open"), UsageError);
}

TEST_F(WorkbenchTest, ScriptCreatesByIdentifierRaisesAndPrintsByReferenceArguments) {
  int failed = -1;
  std::string out =
      run("register\n"
          "create res qxinddepcomponent.eiresource\n"
          "source src MasterDataEvents\n"
          "init res $src\n"
          "raise src OnCheckCanDel 1008 \"\" false\n"
          "release res\n",
          &failed);
  EXPECT_EQ(failed, 0) << out;
  EXPECT_NE(out.find("DllRegisterServer libQxIndDepComponent.so: registered"), std::string::npos);
  EXPECT_NE(out.find("Init: ok"), std::string::npos);
  EXPECT_NE(out.find("OnCheckCanDel returned\n  sMsg = "), std::string::npos) << out;
  EXPECT_NE(out.find("  bCancel = "), std::string::npos);
}

TEST_F(WorkbenchTest, HostFailuresArePrintedAndTheScriptGoesOn) {
  int failed = -1;
  std::string out =
      run("create x No.Such.Component\n"
          "expect \"error 429\"\n"
          "source src MasterDataEvents\n"
          "raise src OnCheckCanDel \"text\" \"\" false\n"
          "raise src OnCheckCanDel 1\n"
          "echo still here\n",
          &failed);
  // A failed host call checked by the expect line after it is an outcome; the two unchecked
  // ones (lines 4 and 5) are findings of the script.
  EXPECT_EQ(failed, 2) << out;
  EXPECT_NE(out.find("error 429: ActiveX component can't create object: No.Such.Component"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("error 13: Type mismatch: lInterID must be a long"), std::string::npos);
  EXPECT_NE(out.find("error 449"), std::string::npos);
  EXPECT_NE(out.find("still here"), std::string::npos);
}

TEST_F(WorkbenchTest, MalformedLinesAreCountedAndExplained) {
  int failed = 0;
  std::string out = run("frobnicate\nraise\ninit $nobody nothing\necho \"open\n", &failed);
  EXPECT_EQ(failed, 4);
  EXPECT_NE(out.find("unknown command \"frobnicate\""), std::string::npos);
  EXPECT_NE(out.find("no object named $nobody"), std::string::npos);
}

// Expectations check the output of the command before them; a failed one names its line.
TEST(WorkbenchExpect, PassesFailsAndNamesTheLine) {
  struct Case {
    const char* script;
    int failed;
    const char* failure;
  } cases[] = {
      {"echo a b\nexpect \"a b\"\nexpect-not \"c\"\n", 0, ""},
      {"echo one\necho two\nexpect \"one\"\n", 1,
       "line 3: expectation failed: expect: the output of \"echo two\" does not contain \"one\""},
      {"echo two\nexpect \"x\"\nexpect \"two\"\n", 1, "line 2: expectation failed"},
      {"echo a\nexpect-not \"a\"\n", 1, "contains \"a\""},
      {"echo a\necho b\nexpect \"a\\nb\"\n", 1, "does not contain \"a\\nb\""},
      {"# comment\nexpect \"x\"\n", 1,
       "line 2: usage error: expect: no command before this expectation"},
      // Several texts are alternatives: one printed is enough, and too many for expect-not.
      {"echo a\nexpect\nexpect \"x\" \"a\"\nexpect-not \"x\" \"a\"\n", 2,
       "line 2: usage error: expect: a quoted text"},
      {"echo a\n  quit  \nnot-run\n", 0, ""},
      {"fault X Y notanumber\necho a\nexpect \"a\"\n", 1,
       "line 1: usage error: fault: not a call number: notanumber"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    auto home = qx::testing::uniqueTempPath("expect");
    sim::HostOptions o;
    o.home = home;
    o.dataDir = std::filesystem::path(QX_SOURCE_DIR) / "sim" / "data";
    {
      sim::SimHost host(o);
      std::ostringstream out;
      Workbench w(host, out);
      std::istringstream in(c.script);
      EXPECT_EQ(w.run(in), c.failed) << out.str();
      ASSERT_EQ(w.failures().size(), static_cast<size_t>(c.failed));
      std::string first = w.failures().empty() ? "" : w.failures()[0];
      EXPECT_NE(first.find(c.failure), std::string::npos) << first;
    }
    std::filesystem::remove_all(home);
  }
}

// The demo leaves the component's per-thread resource loader alive (it is kept by design), so
// leaks are measured between a first and a second run of the demo.
TEST(WorkbenchDemo, RunsWithoutMalformedLinesAndLeavesNothingBehindOnARerun) {
  auto home = qx::testing::uniqueTempPath("demo");
  std::filesystem::remove_all(home);
  sim::HostOptions o = sim::HostOptions::fromEnvironment();
  o.home = home;
  o.database.clear();
  int64_t afterFirst = 0;
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    {
      sim::SimHost host(o);
      std::ostringstream out;
      Workbench w(host, out);
      std::istringstream in(demoScript());
      EXPECT_EQ(w.run(in), 0) << out.str();
      EXPECT_EQ(out.str().find("usage error"), std::string::npos) << out.str();
    }
    if (pass == 0) afterFirst = automation::Object::liveObjects();
  }
  EXPECT_EQ(automation::Object::liveObjects(), afterFirst);
  std::filesystem::remove_all(home);
}

// The tour in English as a deployer sees it: narrated steps and what the user sees, none of the
// traffic between host and plug-in, and every expectation of the tour met.
TEST(WorkbenchDemo, TourInEnglishShowsStepsWithoutEventTraffic) {
  auto home = qx::testing::uniqueTempPath("tour");
  std::filesystem::remove_all(home);
  sim::HostOptions o = sim::HostOptions::fromEnvironment();
  o.home = home;
  o.database.clear();
  {
    sim::SimHost host(o);
    host.login().setEntry("Language", "EN");
    std::ostringstream out;
    Workbench w(host, out);
    w.setVerbose(false);
    std::istringstream in(demoScript());
    EXPECT_EQ(w.run(in), 0) << out.str();
    const std::string& text = out.str();
    for (const char* shown :
         {"\n1. Installing", "\n5. A productivity on the mould MD-02 is refused",
          "do not match, please check!", "the grid now shows:", "| 2026-12-07 |",
          "more rows (--verbose shows every row)"}) {
      SCOPED_TRACE(shown);
      EXPECT_NE(text.find(shown), std::string::npos) << text;
    }
    for (const char* hidden :
         {"events raised", "bCancel", "\n> schedule", "sProgID =", "| 2026-12-06 |"}) {
      SCOPED_TRACE(hidden);
      EXPECT_EQ(text.find(hidden), std::string::npos) << text;
    }
  }
  std::filesystem::remove_all(home);
}

}  // namespace
}  // namespace qx::qxhost
