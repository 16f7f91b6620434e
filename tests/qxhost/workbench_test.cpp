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
          "source src MasterDataEvents\n"
          "raise src OnCheckCanDel \"text\" \"\" false\n"
          "raise src OnCheckCanDel 1\n"
          "echo still here\n",
          &failed);
  EXPECT_EQ(failed, 0);
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

}  // namespace
}  // namespace qx::qxhost
