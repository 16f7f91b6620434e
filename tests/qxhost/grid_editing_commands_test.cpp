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

TEST_F(GridEditingTest, PickCheckRefuseSaveAndReload) {
  int failed = -1;
  std::string out =
      run("register\n"
          "login language EN\n"
          "schedule open 5001\n"
          "# F7 in row 3's line cell: the browser offers the department's lines for the item.\n"
          "answer line L-01\n"
          "schedule select 3 ColLine\n"
          "schedule key F7\n"
          "# A line typed into row 4 that cannot make the item: leaving the row is refused.\n"
          "schedule type 4 ColLine L-03\n"
          "schedule type 4 ColLineId 1003\n"
          "schedule select 2 ColQty\n"
          "# Typed again without leaving the row: the save is refused and writes nothing.\n"
          "schedule type 4 ColLine L-03\n"
          "schedule type 4 ColLineId 1003\n"
          "schedule save\n"
          "sql \"SELECT FLineID FROM t_eiRepSchedule WHERE FInterID = 6002\"\n"
          "# Leaving clears the row's line; F7 then puts a valid line there and the save passes.\n"
          "schedule select 4 ColLine\n"
          "schedule select 4 ColLine\n"
          "answer line L-02\n"
          "schedule key F7\n"
          "schedule save\n"
          "schedule reload\n",
          &failed);
  EXPECT_EQ(failed, 0) << out;
  const char* expected[] = {
      "key 118: bCancel = True\n",
      "line dialog [选择生产线] ShowType 0, ShowMode 1; lines: L-01 水壶装配一线; L-02 "
      "水壶装配二线; -> L-01\n",
      "cell (3, 10) \"水壶装配二线\" -> \"水壶装配一线\"\n",
      "cell (3, 11) \"1002\" -> \"1001\"\n",
      "select: bCancel = True\n"
      "  events raised: OnSelectChanged OnSelectChanged\n"
      "  message box [",
      "] Production line [L-03] and item [1.01.001] do not match, please check!\n",
      "cell (4, 10) \"L-03\" -> \"\"\n",
      "cell (4, 11) \"1003\" -> \"0\"\n",
      "save: bCancel = True\n  events raised: OnCheckData\n",
      "the check refused the save: nothing was saved\n",
      "  FLineID\n  -------\n  1002\n",
      "saved: 3 rows updated, 0 added, 0 removed; the bill shows the saved data\n",
      "reload: bCancel = False\n  events raised: OnShowDataEnd\n",
  };
  size_t at = 0;
  for (const char* e : expected) {
    SCOPED_TRACE(e);
    size_t found = out.find(e, at);
    ASSERT_NE(found, std::string::npos) << out;
    at = found;
  }
  EXPECT_TRUE(has(lines5001(), "6001=1001 6002=1001 6003=1002")) << lines5001();
}

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
      {"a failing item-line service refuses the move with an empty message",
       "fault QxMEIItemLine.ItemLineInfo GetItemLine 0\nschedule select 3 ColQty\n"
       "schedule select 2 ColQty\n",
       "cell (3, 11) \"1002\" -> \"0\""},
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
