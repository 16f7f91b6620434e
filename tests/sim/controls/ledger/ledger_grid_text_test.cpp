// The ledger grid control shown as a text table.
#include <gtest/gtest.h>

#include "automation/events.h"
#include "host/toolkit.h"
#include "sim/controls/ledger/ledger_grid.h"
#include "support/live_objects.h"

namespace qx::sim {
namespace {

using automation::Args;
using automation::DispId;
using automation::ObjectRef;

class LedgerGridTextTest : public qx::testing::LiveObjectsTest {
 protected:
  // Paints the control with the given row texts (row 1 first) and colours.
  std::string render(LedgerGrid& ctl, std::vector<std::string> texts,
                     std::vector<int32_t> colours = {}) {
    ctl.setFixedRows(2);
    ctl.setRows(static_cast<int32_t>(texts.size()));
    auto owner = automation::makeObject<automation::FunctionSink>([&](DispId, Args a) {
      size_t i = static_cast<size_t>(a[0].get().toInt32() - 1);
      a[1].set(Variant(texts[i]));
      if (i < colours.size()) a[2].set(Variant(colours[i]));
    });
    uint32_t cookie = ctl.advise("LedgerGridEvents", ObjectRef(owner));
    ctl.repaint();
    ctl.unadvise(cookie);
    return ctl.renderText();
  }
};

TEST_F(LedgerGridTextTest, TwoLevelHeadingsSpansAndOneLevelHeadings) {
  auto ctl = LedgerGrid::create("ldgAbility");
  ctl->setCols(4);
  ctl->columnForWrite(3).alignment = 1;
  ctl->columnForWrite(4).alignment = 1;
  std::string out = render(
      *ctl,
      {"Line+||Load$|2024/01/05$|", "Code|Name|||", "L1|North|Capacity|8.00|", "||Load|1,234.50|"},
      {0, 0, host::rgb(255, 255, 255), host::rgb(222, 239, 199)});
  EXPECT_EQ(out,
            "| Line         | Load     | 2024/01/05 |\n"
            "| Code | Name  |          |            |\n"
            "|------|-------|----------|------------|\n"
            "| L1   | North | Capacity |       8.00 |  white\n"
            "|      |       |     Load |   1,234.50 |  light green\n");
}

TEST_F(LedgerGridTextTest, HiddenColumnsAreLeftOut) {
  auto ctl = LedgerGrid::create("ldg");
  ctl->setCols(3);
  ctl->columnForWrite(2).flags[host::ledger_grid::column::kHiddenFlag] = true;
  std::string out = render(*ctl, {"A$|Secret$|C$|", "|||", "a|s|c|"});
  EXPECT_EQ(out,
            "| A | C |\n"
            "|   |   |\n"
            "|---|---|\n"
            "| a | c |  white\n");
}

TEST_F(LedgerGridTextTest, AWideSpanningHeadingWidensItsLastColumn) {
  auto ctl = LedgerGrid::create("ldg");
  ctl->setCols(2);
  std::string out = render(*ctl, {"生产线的名字+||", "a|b|", "1|2|"});
  EXPECT_EQ(out,
            "| 生产线的名字 |\n"
            "| a | b        |\n"
            "|---|----------|\n"
            "| 1 | 2        |  white\n");
}

TEST_F(LedgerGridTextTest, ShortRowsLeaveCellsBlankAndNothingPaintedSaysSo) {
  auto ctl = LedgerGrid::create("ldg");
  EXPECT_EQ(ctl->renderText(), "(ldg: nothing painted)\n");
  ctl->setCols(2);
  std::string out = render(*ctl, {"", "", "x|"});
  EXPECT_EQ(out,
            "|   |   |\n"
            "|   |   |\n"
            "|---|---|\n"
            "| x |   |  white\n");
}

}  // namespace
}  // namespace qx::sim
