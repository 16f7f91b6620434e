#include "sim/controls/toolkit_control.h"

#include <gtest/gtest.h>

#include "sim/controls/picture_box.h"
#include "support/live_objects.h"

namespace qx::sim {
namespace {

using automation::Error;

class ToolkitControlTest : public qx::testing::LiveObjectsTest {};

TEST_F(ToolkitControlTest, ZOrderListBringsToFrontAndSendsToBack) {
  ZOrderList z;
  z.add("a");
  z.add("b");
  z.add("c");
  EXPECT_EQ(z.backToFront(), (std::vector<std::string>{"a", "b", "c"}));
  z.toBack("c");
  EXPECT_EQ(z.backToFront(), (std::vector<std::string>{"c", "a", "b"}));
  z.toFront("c");
  EXPECT_EQ(z.backToFront(), (std::vector<std::string>{"a", "b", "c"}));
  z.remove("b");
  EXPECT_EQ(z.backToFront(), (std::vector<std::string>{"a", "c"}));
}

TEST_F(ToolkitControlTest, MoveKeepsWhatIsNotGiven) {
  auto box = PictureBox::create("pic");
  box->call("Move", 10, 20, 30, 40);
  EXPECT_EQ(box->get("Left"), Variant(10.0));
  EXPECT_EQ(box->get("Height"), Variant(40.0));
  box->call("Move", 5);
  EXPECT_EQ(box->get("Left"), Variant(5.0));
  EXPECT_EQ(box->get("Top"), Variant(20.0));
  box->call("Move", 7, Variant(), Variant(), 8);
  EXPECT_EQ(box->get("Left"), Variant(7.0));
  EXPECT_EQ(box->get("Width"), Variant(30.0));
  EXPECT_EQ(box->get("Height"), Variant(8.0));
  EXPECT_THROW(box->call("Move", 1, 2, -3), Error);  // a negative size: nothing moves
  EXPECT_EQ(box->get("Left"), Variant(7.0));
  EXPECT_THROW(box->call("Move"), Error);
}

TEST_F(ToolkitControlTest, CommonProperties) {
  auto box = PictureBox::create("picSplit");
  EXPECT_EQ(box->get("Name"), Variant("picSplit"));
  EXPECT_EQ(box->typeName(), "picSplit");
  box->put("Top", 100);
  box->put("Width", 2000);
  box->put("Visible", false);
  EXPECT_EQ(box->top, 100);
  EXPECT_EQ(box->width, 2000);
  EXPECT_FALSE(box->visible);
  box->call("ZOrder", 1);
  box->call("ZOrder");  // the default: to the front
  EXPECT_EQ(box->zOrderCalls(), (std::vector<int32_t>{1, 0}));
  EXPECT_THROW(box->call("ZOrder", 2), Error);
}

}  // namespace
}  // namespace qx::sim
