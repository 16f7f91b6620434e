// The capacity area's layout: drags of the splitter bar, the drop minimum, the drag veto, and
// resizing with the area hidden.
#include <gtest/gtest.h>

#include "scheduler/schedule_fixture.h"

namespace qx::scheduler {
namespace {

using automation::Variant;

class AbilityAreaTest : public ScheduleFixture {
 protected:
  void openShown() {
    host_->registry().write(settingsKeyPath(0), "ShowAbility", Variant(true));
    ASSERT_FALSE(open());
  }
};

TEST_F(AbilityAreaTest, ADropPlacesTheBarAndTheLedgerFillsDownToTheFrame) {
  openShown();
  const auto& f = form();
  drag(30, {7000, 6000, 5000});
  // Horizontal bar: drop 5000, minus the grab offset 30, minus 30.
  EXPECT_EQ(f.picSplit->top, 4940);
  EXPECT_EQ(f.grid->height, 4940 - f.grid->top);
  EXPECT_EQ(f.ldgAbility->top, f.picSplit->top + f.picSplit->height);
  EXPECT_EQ(f.ldgAbility->height, f.fraOther->top - f.ldgAbility->top);
  EXPECT_EQ(f.ldgAbility->left, f.grid->left);
  EXPECT_EQ(f.ldgAbility->width, f.grid->width);
  // The bar keeps the four-pixel thickness of the drag; the layout never sets it.
  EXPECT_EQ(f.picSplit->height, 4 * 15);
  EXPECT_EQ(host_->platform().capture(), 0);
}

TEST_F(AbilityAreaTest, ADropTooCloseToTheGridTopEndsExactly800Below) {
  openShown();
  const auto& f = form();
  drag(0, {2000});  // beyond the 120-pixel margin, but less than 800 below the grid top
  EXPECT_EQ(f.picSplit->top, f.grid->top + 800);
  EXPECT_EQ(f.grid->height, 800);
}

TEST_F(AbilityAreaTest, FractionalTwipsPerPixelAndPlacesAreNotRoundedAway) {
  host_->platform().setTwipsPerPixel(1440.0 / 168, 1440.0 / 168);  // 168 dpi
  openShown();
  const auto& f = form();
  drag(30, {6000});
  // Four pixels of 8.571... twips: the product, not four rounded pixels (36).
  EXPECT_DOUBLE_EQ(f.picSplit->height, 4 * 1440.0 / 168);
  // A bar 0.4 twips short of the minimum is pushed down to it, as the host's controls compute.
  f.picSplit->top = f.grid->top + 799.6;
  f.form->resize(f.form->scaleWidth, f.form->scaleHeight);
  EXPECT_EQ(f.picSplit->top, f.grid->top + 800);
  EXPECT_EQ(f.grid->height, 800);
  EXPECT_DOUBLE_EQ(f.ldgAbility->top, f.picSplit->top + f.picSplit->height);
}

TEST_F(AbilityAreaTest, ADragStartingWithin100TwipsOfTheGridTopIsRefused) {
  openShown();
  const auto& f = form();
  f.picSplit->top = f.grid->top + 50;
  f.picSplit->mouseDown(100, 10);
  EXPECT_EQ(host_->platform().capture(), 0);
  f.form->mouseUp(100, 6000);
  EXPECT_EQ(f.picSplit->top, f.grid->top + 50);  // no drop happened
}

TEST_F(AbilityAreaTest, ResizingWithTheAreaHiddenTouchesNothing) {
  ASSERT_FALSE(open());
  const auto& f = form();
  auto snapshot = [&] {
    return std::vector<double>{static_cast<double>(f.grid->top),
                               static_cast<double>(f.grid->height),
                               f.picSplit->top,
                               f.picSplit->height,
                               f.ldgAbility->top,
                               f.ldgAbility->height,
                               static_cast<double>(f.ldgAbility->visible)};
  };
  auto before = snapshot();
  f.form->resize(15000, 9000);
  EXPECT_EQ(snapshot(), before);
}

TEST_F(AbilityAreaTest, ResizingWithTheAreaShownLaysItOut) {
  openShown();
  const auto& f = form();
  drag(0, {5000});
  f.form->resize(19200, 9000);
  EXPECT_EQ(f.fraOther->top, 9000 - f.fraOther->height - 120);  // the host's own layout
  EXPECT_EQ(f.ldgAbility->top + f.ldgAbility->height, f.fraOther->top);
  EXPECT_EQ(f.grid->height, f.picSplit->top - f.grid->top);
}

TEST_F(AbilityAreaTest, ALedgerThatWouldHaveNoRoomKeepsItsPlace) {
  openShown();
  const auto& f = form();
  double top = f.ldgAbility->top, height = f.ldgAbility->height;
  f.form->resize(19200, 9000);  // the frame moves above the ledger's top: its Move fails
  EXPECT_EQ(f.ldgAbility->top, top);
  EXPECT_EQ(f.ldgAbility->height, height);
  EXPECT_TRUE(f.ldgAbility->visible);
}

TEST_F(AbilityAreaTest, AFailingLayoutStepIsSkippedAndTheRestRuns) {
  openShown();
  const auto& f = form();
  host_->faults().add("picSplit", "Move", 0);
  f.picSplit->top = 6000;
  f.form->resize(19200, 10800);
  host_->faults().clear();
  EXPECT_EQ(f.grid->height, 6000 - f.grid->top);
  EXPECT_EQ(f.ldgAbility->top, 6000 + f.picSplit->height);
}

}  // namespace
}  // namespace qx::scheduler
