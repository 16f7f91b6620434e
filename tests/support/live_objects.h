// Test fixture that checks every automation object a test created has been released.
#pragma once

#include <gtest/gtest.h>

#include "automation/object.h"

namespace qx::testing {

class LiveObjectsTest : public ::testing::Test {
 protected:
  void SetUp() override { start_ = automation::Object::liveObjects(); }
  void TearDown() override {
    EXPECT_EQ(automation::Object::liveObjects(), start_) << "leaked objects";
  }

 private:
  int64_t start_ = 0;
};

}  // namespace qx::testing
