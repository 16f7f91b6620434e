// The widget commands of the workbench: forms, controls, the splitter dragged by the mouse and
// the ledger shown as a table.
#include <gtest/gtest.h>

#include <sstream>

#include "qxhost/workbench_fixture.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::qxhost {
namespace {

class WidgetCommandsTest : public WorkbenchFixture {};

TEST_F(WidgetCommandsTest, ASplitterDraggedOnAForm) {
  int failed = -1;
  std::string out =
      run("form frm 8000 6000\n"
          "picture $frm bar 0 2000 8000 60\n"
          "widget split cSplitter\n"
          "call $split Initialise $bar $frm\n"
          "let $split Orientation 1\n"
          "let $split BorderSize 600\n"
          "drag $bar $frm y 10 5500 3000\n"
          "release split\n",
          &failed);
  EXPECT_EQ(failed, 0) << out;
  EXPECT_TRUE(has(out, "moved to 5500: bar: left 0, top 2000,")) << out;
  EXPECT_TRUE(has(out, "screen pointer 12")) << out;
  EXPECT_TRUE(has(out, "dropped at 3000: bar: left 0, top 2960, width 8000, height 60")) << out;
  EXPECT_TRUE(has(out, "frm has received 1 resize message\n")) << out;
}

TEST_F(WidgetCommandsTest, TheLedgerDemoShowsTheTable) {
  int failed = -1;
  std::string out = run("ledger demo\n", &failed);
  EXPECT_EQ(failed, 0) << out;
  EXPECT_TRUE(has(out, "the control asked for 8 rows")) << out;
  EXPECT_TRUE(has(out, "| 代码 | 名称       |")) << out;
  EXPECT_TRUE(has(out, "||||差异率|21.88|-12.50|100.00|")) << out;
  EXPECT_TRUE(has(out, "|  light green\n")) << out;
}

TEST_F(WidgetCommandsTest, ALedgerBuiltFromTheScript) {
  int failed = -1;
  std::string out =
      run("form frm\n"
          "ledgergrid $frm ldg 0 0 9000 3000\n"
          "widget data LedgerData\n"
          "let $data ldg $ldg\n"
          "ledger show $ldg\n"
          "call $data Refresh\n"
          "expect \"error 91\"\n"  // Refresh without a header list
          "ledger show nothing\n"
          "picture\n",
          &failed);
  EXPECT_EQ(failed, 2) << out;  // the last two lines are malformed
  EXPECT_TRUE(has(out, "ldg set")) << out;
  EXPECT_TRUE(has(out, "(ldg: nothing painted)")) << out;
}

}  // namespace
}  // namespace qx::qxhost
