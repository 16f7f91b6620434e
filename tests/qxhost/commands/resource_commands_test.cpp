// One resource-bill scenario through the workbench's script interface.
#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "qxhost/workbench_fixture.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::qxhost {
namespace {

class ResourceCommandsTest : public WorkbenchFixture {};

TEST_F(ResourceCommandsTest, AScenarioInEnglish) {
  int failed = -1;
  std::string out =
      run("login language EN\n"
          "resource open\n"
          "resource columns\n"
          "resource components\n"
          "resource caption\n"
          "resource save FTypeName=11063 FNumber=L-09 FName=\"Kettle line 3\" FEIProductivity=55\n"
          "resource save FTypeName=11064 FEIProductivity=12.5\n"
          "resource save FTypeName=abc FEIProductivity=1\n"
          "resource delete 1001\n"
          "resource delete 1008\n"
          "raise resourceEvents OnGetECaption \"\" false\n"
          "resource close\n",
          &failed);
  EXPECT_EQ(failed, 0) << out;
  EXPECT_TRUE(has(out, "FCName         \"Productivity\" (String)")) << out;
  EXPECT_TRUE(has(out, "sProgID = \"QxMEIResource.ResourceUpdate\"")) << out;
  EXPECT_TRUE(has(out, "sCaption = \"EIResourceList\"")) << out;
  EXPECT_TRUE(has(out, "added resource 1105")) << out;
  EXPECT_TRUE(has(out,
                  "| A productivity can only be defined for production-line resources.\n"
                  "  refused, not saved"))
      << out;
  EXPECT_TRUE(has(out, "| Data check failed, reason: Type mismatch")) << out;
  EXPECT_TRUE(has(out,
                  "| Line/item relations still refer to this resource; it cannot be deleted.\n"
                  "    | You can disable the resource instead.\n  refused, kept"))
      << out;
  EXPECT_TRUE(has(out, "deleted resource 1008")) << out;
  EXPECT_TRUE(has(out, "resource bill closed")) << out;

  // The sample database shows what the engine did.
  sim::SqliteDb db = host_->database().open();
  EXPECT_EQ(db.execute("SELECT COUNT(*) FROM t_resource WHERE FInterID IN (1001, 1105)")->value(0),
            automation::Variant(2));
  EXPECT_EQ(db.execute("SELECT COUNT(*) FROM t_resource WHERE FInterID = 1008")->value(0),
            automation::Variant(0));
}

TEST_F(ResourceCommandsTest, MisuseIsAUsageErrorAndAFailingHostCallIsShown) {
  int failed = -1;
  std::string out =
      run("resource columns\n"
          "resource open\n"
          "resource save FTypeName\n"
          "resource delete abc\n"
          "fault QxConnection.AppConnection (create)\n"
          "resource delete 1008\n",
          &failed);
  EXPECT_EQ(failed, 3) << out;
  EXPECT_TRUE(has(out, "no resource bill is open")) << out;
  EXPECT_TRUE(has(out, "OnCheckCanDel 1008 failed")) << out;
  EXPECT_TRUE(has(out, "Injected failure of QxConnection.AppConnection.(create)")) << out;
  EXPECT_TRUE(has(out, "  未删除")) << out;  // the login's language
}

}  // namespace
}  // namespace qx::qxhost
