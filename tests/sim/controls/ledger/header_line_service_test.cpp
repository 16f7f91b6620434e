#include "sim/controls/ledger/header_line_service.h"

#include <gtest/gtest.h>

#include "sim/controls/ledger/ledger_grid.h"
#include "sim/platform/sim_platform.h"
#include "support/live_objects.h"

namespace qx::sim {
namespace {

class HeaderLineServiceTest : public qx::testing::LiveObjectsTest {};

TEST_F(HeaderLineServiceTest, ReturnsTheLineUnchanged) {
  RegistryFile registry;
  FaultInjector faults;
  ComponentRegistry components{registry, faults};
  SimPlatform platform{components, registry};
  automation::ObjectRef service = platform.headerLineService();
  auto grid = LedgerGrid::create("ldgAbility");
  EXPECT_EQ(service->call("HeaderLine", grid, int16_t{1}, "A+|+||B$|"), Variant("A+|+||B$|"));
  EXPECT_THROW(service->call("HeaderLine", 0, int16_t{1}, "x"), automation::Error);
  EXPECT_THROW(service->call("HeaderLine", grid, int16_t{1}), automation::Error);
}

}  // namespace
}  // namespace qx::sim
