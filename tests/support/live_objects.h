// Test helpers shared by every test program: the live-object check every object test ends with,
// the failure number of a call, and readable failure messages for automation values.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

#include "automation/conversions.h"
#include "automation/error.h"
#include "automation/object.h"
#include "automation/variant.h"

namespace qx::automation {

inline void PrintTo(const Variant& v, std::ostream* os) {
  *os << describe(v);
}
inline void PrintTo(const Date& d, std::ostream* os) {
  *os << formatDate(d) << " (" << d.serial << ")";
}

}  // namespace qx::automation

namespace qx::testing {

// Records the live object count at the start and checks at the end (after the test's own
// locals are gone) that every object the test created was released.
class LiveObjectsTest : public ::testing::Test {
 protected:
  void SetUp() override { start_ = automation::Object::liveObjects(); }
  void TearDown() override {
    EXPECT_EQ(automation::Object::liveObjects(), start_) << "automation objects leaked by the test";
  }

 private:
  int64_t start_ = 0;
};

// The automation error number raised by `f`, or 0 when it returns normally.
template <class F>
int32_t errorNumber(F&& f) {
  try {
    f();
  } catch (const automation::Error& e) {
    return e.number();
  }
  return 0;
}

}  // namespace qx::testing
