#include "sim/controls/picture_box.h"

#include <gtest/gtest.h>

#include "host/toolkit.h"
#include "sim/platform/fault_injector.h"
#include "support/live_objects.h"

namespace qx::sim {
namespace {

using automation::Args;
using automation::DispId;
using automation::Error;
using automation::FunctionSink;
using automation::ObjectRef;

class PictureBoxTest : public qx::testing::LiveObjectsTest {};

TEST_F(PictureBoxTest, PropertiesAndDefaults) {
  auto box = PictureBox::create("picSplit");
  EXPECT_EQ(box->get("BackColor"), Variant(host::system_color::kButtonFace));
  EXPECT_EQ(box->get("BorderStyle"), Variant(1));
  EXPECT_EQ(box->get("MousePointer"), Variant(0));
  EXPECT_EQ(box->get("Visible"), Variant(true));
  box->put("BackColor", host::system_color::kButtonShadow);
  box->put("BorderStyle", 0);
  box->put("MousePointer", 7);
  EXPECT_EQ(box->backColor, host::system_color::kButtonShadow);
  EXPECT_EQ(box->borderStyle, 0);
  EXPECT_EQ(box->mousePointer, 7);
  EXPECT_THROW(box->put("BorderStyle", 3), Error);
  EXPECT_EQ(box->borderStyle, 0);
}

TEST_F(PictureBoxTest, MouseDownReachesSubscribersWithButtonShiftAndPosition) {
  auto box = PictureBox::create("picSplit");
  std::vector<std::string> seen;
  auto sink = automation::makeObject<FunctionSink>([&](DispId id, Args a) {
    ASSERT_EQ(a.size(), 4u);
    seen.push_back(std::to_string(id) + ":" + a[0].get().toString() + "," + a[1].get().toString() +
                   "," + a[2].get().toString() + "," + a[3].get().toString());
  });
  uint32_t cookie = box->advise("PictureBoxEvents", ObjectRef(sink));
  box->mouseDown(12.5, 30, 2, 1);
  EXPECT_EQ(seen, std::vector<std::string>{"1:2,1,12.5,30"});
  EXPECT_THROW(box->advise("FormEvents", ObjectRef(sink)), Error);
  box->unadvise(cookie);
  EXPECT_EQ(box->sinkCount(), 0u);
  box->mouseDown(1, 1);
  EXPECT_EQ(seen.size(), 1u);
}

TEST_F(PictureBoxTest, FaultsAreInjectedByControlName) {
  FaultInjector faults;
  faults.add("picSplit", "BackColor");
  auto box = PictureBox::create("picSplit");
  auto other = PictureBox::create("picOther");
  EXPECT_THROW(box->put("BackColor", 5), Error);
  EXPECT_NO_THROW(other->put("BackColor", 5));
  EXPECT_NO_THROW(box->put("BackColor", 5));  // only the first call
}

}  // namespace
}  // namespace qx::sim
