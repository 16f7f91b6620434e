#include "sim/controls/screen.h"

#include <gtest/gtest.h>

#include "support/live_objects.h"

namespace qx::sim {
namespace {

class ScreenTest : public qx::testing::LiveObjectsTest {
 protected:
  RegistryFile registry;
  FaultInjector faults;
  ComponentRegistry components{registry, faults};
  SimPlatform platform{components, registry};
};

TEST_F(ScreenTest, TwipsPerPixelAndTheMousePointer) {
  auto screen = Screen::create(platform);
  EXPECT_EQ(screen->get("TwipsPerPixelX"), Variant(15.0));
  EXPECT_EQ(screen->get("TwipsPerPixelY"), Variant(15.0));
  platform.setTwipsPerPixel(12, 1440.0 / 168);  // fractional at 168 dpi
  EXPECT_EQ(screen->get("TwipsPerPixelX"), Variant(12.0));
  EXPECT_EQ(screen->get("TwipsPerPixelY"), Variant(1440.0 / 168));
  screen->put("MousePointer", 11);
  screen->put("MousePointer", 0);
  EXPECT_EQ(screen->get("MousePointer"), Variant(0));
  EXPECT_EQ(platform.pointerHistory(), (std::vector<int32_t>{11, 0}));
}

}  // namespace
}  // namespace qx::sim
