// The shared test helpers, under the names the automation tests use.
#pragma once

#include "support/live_objects.h"

namespace qx::automation::testing {
using qx::testing::errorNumber;
using qx::testing::LiveObjectsTest;
}  // namespace qx::automation::testing
