#include "sim/controls/grid_control.h"

#include <gtest/gtest.h>

#include "sim/controls/tool_bar.h"
#include "support/live_objects.h"

namespace qx::sim {
namespace {

using automation::Variant;

class GridControlTest : public qx::testing::LiveObjectsTest {};

TEST_F(GridControlTest, RowsCellsAndFormatsByName) {
  auto g = GridControl::create("grdDetail", {"No", "Qty"});
  auto rows = g->get("Row").toObject();
  EXPECT_EQ(rows->get("Rows"), Variant(1));
  EXPECT_EQ(g->get("Cell", 1, 2).toObject()->get("Value"), Variant("Qty"));
  rows->put("Rows", 3);
  auto cell = g->get("Cell", 3, 2).toObject();
  cell->put("Value", 1234.5678);
  cell->get("Float").toObject()->put("Format", "0.00");
  EXPECT_EQ(g->cellText(3, 2), "1234.57");
  EXPECT_EQ(g->get("Cell", 3, 2).toObject()->get("Text"), Variant("1234.57"));
  rows->call("Delete", 2);
  EXPECT_EQ(g->rows(), 2);
  EXPECT_EQ(g->cell(2, 2).value, Variant(1234.5678));        // the later row moved up
  EXPECT_THROW(rows->call("Delete", 1), automation::Error);  // the caption row stays
  EXPECT_THROW(g->get("Cell", 5, 1), automation::Error);
  EXPECT_THROW(rows->put("Rows", 0), automation::Error);
}

TEST_F(GridControlTest, SelectionAsksTheGuardFirst) {
  auto g = GridControl::create("grdDetail", {"A", "B"});
  g->setRows(4);
  std::vector<std::array<int32_t, 4>> asked;
  bool refuse = false;
  g->setSelectionGuard([&](int32_t r, int32_t c, int32_t pr, int32_t pc) {
    asked.push_back({r, c, pr, pc});
    return refuse;
  });
  g->call("SetSelect", 2, 1, 2, 1);
  refuse = true;
  g->call("SetSelect", 3, 2, 3, 2);
  EXPECT_EQ(g->selRow(), 2);
  EXPECT_EQ(g->get("Col").toObject()->get("SelCol"), Variant(1));
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0], (std::array<int32_t, 4>{2, 1, -1, -1}));
  EXPECT_EQ(asked[1], (std::array<int32_t, 4>{3, 2, 2, 1}));
}

TEST_F(GridControlTest, ToolBarFindsButtonsByExactKey) {
  auto bar = automation::makeObject<ToolBar>();
  bar->add("showability", "Capacity", false);
  auto b = bar->get("Tools", "showability").toObject();
  b->put("Checked", true);
  EXPECT_EQ(b->get("Name"), Variant("showability"));
  EXPECT_TRUE(bar->find("showability")->checked);
  try {
    bar->get("Tools", "ShowAbility");
    FAIL() << "keys are exact";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 35601);
  }
}

}  // namespace
}  // namespace qx::sim
