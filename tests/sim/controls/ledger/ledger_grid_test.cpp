#include "sim/controls/ledger/ledger_grid.h"

#include <gtest/gtest.h>

#include "host/toolkit.h"
#include "support/live_objects.h"

namespace qx::sim {
namespace {

using automation::Args;
using automation::CallKind;
using automation::DispId;
using automation::Error;
using automation::FunctionSink;
using automation::ObjectRef;
namespace ids = host::ledger_grid;

class LedgerGridTest : public qx::testing::LiveObjectsTest {
 protected:
  ObjectRef gridObject(LedgerGrid& g) { return g.callId(ids::kGrid, CallKind::Get).toObject(); }
};

TEST_F(LedgerGridTest, GridMembersByDispatchId) {
  auto ctl = LedgerGrid::create("ldgAbility");
  ObjectRef g = gridObject(*ctl);
  g->callId(ids::grid::kBackColor, CallKind::Put, host::rgb(1, 2, 3));
  g->callId(ids::grid::kFixedRows, CallKind::Put, 2);
  g->callId(ids::grid::kFixedCols, CallKind::Put, 0);
  g->callId(ids::grid::kRows, CallKind::Put, 5);
  g->callId(ids::grid::kCols, CallKind::Put, 3);
  g->callId(ids::grid::kOption, CallKind::Put, 32, false);
  EXPECT_EQ(g->callId(ids::grid::kRows, CallKind::Get), Variant(5));
  EXPECT_EQ(g->callId(ids::grid::kFixedRows, CallKind::Get), Variant(2));
  EXPECT_EQ(ctl->cols(), 3);
  EXPECT_EQ(ctl->backColor(), host::rgb(1, 2, 3));
  EXPECT_EQ(ctl->option(32), std::optional<bool>(false));
  EXPECT_EQ(ctl->option(1), std::nullopt);
  EXPECT_THROW(g->callId(ids::grid::kRows, CallKind::Put, -1), Error);
  EXPECT_EQ(g->typeName(), "ldgAbility.Grid");
}

TEST_F(LedgerGridTest, ColumnAndRowObjects) {
  auto ctl = LedgerGrid::create("ldgAbility");
  ctl->setCols(2);
  ctl->setRows(4);
  Variant col(2);
  ObjectRef c = ctl->callId(ids::kColumn, CallKind::Get, automation::byRef(col)).toObject();
  c->callId(ids::column::kFlag, CallKind::Put, ids::column::kHiddenFlag, true);
  c->callId(ids::column::kAlignment, CallKind::Put, 1);
  c->callId(ids::column::kBackColor, CallKind::Put, 255);
  EXPECT_TRUE(ctl->column(2).hidden());
  EXPECT_FALSE(ctl->column(1).hidden());
  EXPECT_EQ(ctl->column(2).alignment, std::optional<int32_t>(1));
  EXPECT_EQ(ctl->column(2).backColor, std::optional<int32_t>(255));
  ObjectRef r = ctl->callId(ids::kRow, CallKind::Get, 3).toObject();
  r->callId(ids::row::kContinued, CallKind::Put, true);
  EXPECT_EQ(ctl->continued(3), std::optional<bool>(true));
  EXPECT_EQ(ctl->continued(2), std::nullopt);
  EXPECT_THROW(ctl->callId(ids::kColumn, CallKind::Get, 3), Error);  // columns from 1 to Cols
  EXPECT_THROW(ctl->callId(ids::kColumn, CallKind::Get, 0), Error);
  EXPECT_THROW(ctl->callId(ids::kRow, CallKind::Get, 4), Error);  // row indexes from 0
  ctl->setCols(3);                                                // growing keeps what was written
  EXPECT_TRUE(ctl->column(2).hidden());
}

TEST_F(LedgerGridTest, RepaintAsksForEveryRowInOrderAndKeepsTextsAndColours) {
  auto ctl = LedgerGrid::create("ldgAbility");
  ctl->setRows(4);
  std::vector<int32_t> asked;
  auto owner = automation::makeObject<FunctionSink>([&](DispId id, Args a) {
    ASSERT_EQ(id, host::ledger_grid_event::kRequestRowText);
    ASSERT_EQ(a.size(), 4u);
    ASSERT_TRUE(a[1].isByRef());
    ASSERT_TRUE(a[2].isByRef());
    int32_t row = a[0].get().toInt32();
    asked.push_back(row);
    EXPECT_EQ(a[1].get(), Variant(""));
    EXPECT_EQ(a[2].get(), Variant(host::rgb(255, 255, 255)));  // the grid's colour on entry
    if (row != 3) a[1].set(Variant("row " + std::to_string(row) + "|"));
    if (row == 4) a[2].set(Variant(host::rgb(222, 239, 199)));
  });
  uint32_t cookie = ctl->advise("LedgerGridEvents", ObjectRef(owner));
  ObjectRef g = gridObject(*ctl);
  g->callId(ids::grid::kResetTexts, CallKind::Method);
  g->callId(ids::grid::kRepaint, CallKind::Method);
  EXPECT_EQ(asked, (std::vector<int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(ctl->texts(), (std::vector<std::string>{"row 1|", "row 2|", "", "row 4|"}));
  EXPECT_EQ(ctl->colours()[3], host::rgb(222, 239, 199));
  EXPECT_EQ(ctl->colours()[0], host::rgb(255, 255, 255));
  EXPECT_EQ(ctl->repaintCount(), 1);
  g->callId(ids::grid::kResetTexts, CallKind::Method);
  EXPECT_TRUE(ctl->texts().empty());
  ctl->unadvise(cookie);
}

TEST_F(LedgerGridTest, AnOwnerThatShrinksTheGridWhileAnsweringStopsTheRepaint) {
  auto ctl = LedgerGrid::create("ldgAbility");
  ctl->setRows(5);
  int asked = 0;
  auto owner = automation::makeObject<FunctionSink>([&](DispId, Args a) {
    ++asked;
    a[1].set(Variant("x|"));
    if (asked == 2) ctl->setRows(1);
  });
  uint32_t cookie = ctl->advise("LedgerGridEvents", ObjectRef(owner));
  ctl->repaint();
  EXPECT_EQ(asked, 2);
  ctl->unadvise(cookie);
}

TEST_F(LedgerGridTest, PlacementMembersOfAControl) {
  auto ctl = LedgerGrid::create("ldgAbility");
  ctl->call("Move", 100, 3000, 9000, 2000);
  ctl->put("Visible", false);
  EXPECT_EQ(ctl->get("Top"), Variant(3000.0));
  EXPECT_EQ(ctl->get("Height"), Variant(2000.0));
  EXPECT_EQ(ctl->get("Visible"), Variant(false));
  EXPECT_TRUE(ctl->supports("LedgerGridEvents"));
}

}  // namespace
}  // namespace qx::sim
