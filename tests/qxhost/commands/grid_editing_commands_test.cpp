// Grid editing through the workbench: F7 picks a line through the line browser, leaving a row
// whose line cannot make the item is refused, the save is checked before anything is written,
// and reloading shows the data again.
#include <gtest/gtest.h>

#include "qxhost/workbench_fixture.h"

namespace qx::qxhost {
namespace {

class GridEditingTest : public WorkbenchFixture {
 protected:
  std::string lines5001() {
    return run(
        "sql \"SELECT group_concat(FInterID || '=' || FLineID, ' ') AS lines FROM "
        "t_eiRepSchedule WHERE FICMOInterID = 5001\"\n");
  }
};

// The pick, refusal, save and reload flow is the scenario script scenarios/grid_editing.qx.

TEST_F(GridEditingTest, BadCellsAndFailingComponentsNeverCrashAndChangeNoRowUnlessValid) {
  struct Case {
    const char* what;
    const char* steps;
    const char* shown;  // in the output
  } cases[] = {
      {"a line id holding text takes no part in the check; the save cannot store it",
       "schedule type 3 ColLineId abc\nschedule save\n", "生产线内码 \"abc\": not a number"},
      {"a huge line id: the check cannot be carried out and refuses the save",
       "schedule type 3 ColLineId 99999999999\nschedule save\n", "数据检查出错,原因：Overflow"},
      {"a status that does not convert refuses the save",
       "schedule type 3 ColStatusId planned\nschedule save\n", "数据检查出错,原因：Type mismatch"},
      {"a failing item-line service refuses the move with the reason and keeps the line",
       "fault QxMEIItemLine.ItemLineInfo GetItemLine 0\nschedule select 3 ColQty\n"
       "schedule select 2 ColQty\n",
       "select: bCancel = True\n  events raised: OnSelectChanged OnSelectChanged\n  message box "
       "[澜泽提示] 数据检查出错,原因：Injected failure of QxMEIItemLine.ItemLineInfo.GetItemLine\n"
       "  the capacity ledger"},
      {"a failing browser is shown and changes no cell",
       "fault QxEIItemLine.Browser Show 0\nschedule select 3 ColLine\nschedule key F7\n",
       "F７选择生产线出错，原因:Injected failure of QxEIItemLine.Browser.Show"},
      {"a browser that cannot be created is shown the same way",
       "fault QxEIItemLine.Browser (create) 0\nschedule select 3 ColLine\nschedule key F7\n",
       "F７选择生产线出错，原因:"},
  };
  std::string before = lines5001();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int failed = -1;
    std::string out =
        run(std::string("register\nschedule open 5001\n") + c.steps + "fault clear\n", &failed);
    EXPECT_EQ(failed, 0) << out;
    EXPECT_TRUE(has(out, c.shown)) << out;
    EXPECT_FALSE(has(out, "saved:")) << out;
    EXPECT_EQ(lines5001(), before);
  }
}

}  // namespace
}  // namespace qx::qxhost
