#include "services/sys_objects.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "support/live_objects.h"

namespace qx::services {
namespace {

using automation::Args;
using automation::Error;
using automation::Member;
using automation::ObjectRef;
using automation::Variant;
using testing::FakePlatform;
using testing::StrictFake;

class FakeGLData final : public StrictFake<FakeGLData> {
 public:
  static constexpr std::string_view kTypeName = "QRWGLView.GLData";
  static std::span<const Member<FakeGLData>> members() { return {}; }
};

class SysObjectsTest : public qx::testing::LiveObjectsTest {};

TEST_F(SysObjectsTest, NewGLDataCreatesANewObjectForEveryCall) {
  FakePlatform platform;
  platform.add("QRWGLView.GLData", [] { return ObjectRef(automation::makeObject<FakeGLData>()); });
  host::ScopedPlatform installed(platform);
  ObjectRef a = NewGLData();
  ObjectRef b = NewGLData();
  ASSERT_TRUE(a && b);
  EXPECT_NE(a.get(), b.get());
  EXPECT_EQ(platform.created, (std::vector<std::string>{"QRWGLView.GLData", "QRWGLView.GLData"}));
}

TEST_F(SysObjectsTest, ACreationFailureReachesTheCaller) {
  FakePlatform platform;
  platform.refuse("QRWGLView.GLData");
  host::ScopedPlatform installed(platform);
  try {
    (void)NewGLData();
    FAIL() << "no failure";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 429);
  }
}

}  // namespace
}  // namespace qx::services
