// The capacity loader's workbench commands on the sample plant: an overloaded day beside a free
// one, the options, an unknown work order, and a generated plant.
#include <gtest/gtest.h>

#include "qxhost/workbench_fixture.h"

namespace qx::qxhost {
namespace {

class AbilityCommandsTest : public WorkbenchFixture {
 protected:
  // The table's cells without their padding, which follows the widest cell of each result.
  static std::string cells(std::string text) {
    std::erase(text, ' ');
    return text;
  }
};

TEST_F(AbilityCommandsTest, TheCapacityResultOfASampleWorkOrder) {
  int failed = -1;
  std::string out =
      run("ability 5001\n"
          "ability 5001 FSchedule=1\n"
          "ability 4711\n"
          "ability 5001 FSchedule=2\n"
          "plant generate " +
              (home_ / "plant.db").string() + " 4 10\n",
          &failed);
  EXPECT_EQ(failed, 1) << out;  // FSchedule=2
  std::string table = cells(out);
  EXPECT_TRUE(has(out, "任务单的产能结果 5001: 120 行\n")) << out;
  // 6001 and 6011 overload line 1001 on 2026-12-07; 2026-12-14 is free.
  EXPECT_TRUE(has(table, "|60.00|2026-12-07|16.00|21.40|-5.40|-33.73|0|0|")) << out;
  EXPECT_TRUE(has(table, "|60.00|2026-12-14|16.00|0.00|16.00|100.00|960|160|")) << out;
  // Only released rows: 6002 is planned, so line 1002 carries 6012 alone on 2026-12-14.
  EXPECT_TRUE(has(table, "|45.00|2026-12-14|8.00|12.00|-4.00|-50.00|0|0|")) << out;
  EXPECT_TRUE(has(out, "没有产能结果: 任务单 4711 不存在")) << out;
  EXPECT_TRUE(has(out, "4 lines x 10 days from 2027-01-01, work order 9001")) << out;
  EXPECT_TRUE(std::filesystem::exists(home_ / "plant.db"));
}

}  // namespace
}  // namespace qx::qxhost
