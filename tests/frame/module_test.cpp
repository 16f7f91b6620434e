// Plug-in objects counted per thread: the module state they share on a thread (the resource
// loader) goes with the thread's last plug-in object and comes anew with the next one; other
// threads' objects neither keep nor end it.
#include "frame/module.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "resource/ei_resource.h"
#include "services/fakes.h"
#include "services/local_string.h"
#include "support/live_objects.h"

namespace qx::frame {
namespace {

using automation::makeObject;
using automation::ObjectRef;
using automation::Ref;
using automation::Variant;
using resource::EIResource;
using services::LoadLocalString;
using services::testing::FakeLoader;
using services::testing::FakePlatform;
using services::testing::FakeShareProps;

class ModuleStateTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    answers_.values["PropsString"] = Variant("Language=EN");
    platform_.add("ShareVault.ShareProps",
                  [this] { return ObjectRef(makeObject<FakeShareProps>(answers_)); });
    platform_.add("QxResLoader.Loader", [this] {
      loaders_.push_back(makeObject<FakeLoader>());
      return ObjectRef(loaders_.back());
    });
  }
  void TearDown() override {
    loaders_.clear();
    LiveObjectsTest::TearDown();
  }
  // Loaders the component still holds (the fixture keeps one reference of its own).
  int heldLoaders() const {
    int n = 0;
    for (const auto& l : loaders_) n += l->refCount() > 1 ? 1 : 0;
    return n;
  }
  // What a plug-in's handler does: translate a text.
  static void translate() { EXPECT_EQ(LoadLocalString("名称"), "[EN]名称"); }

  FakePlatform platform_;
  FakeShareProps::Answers answers_;
  std::vector<Ref<FakeLoader>> loaders_;
};

TEST_F(ModuleStateTest, TheLoaderGoesWithTheThreadsLastPluginAndComesAnewWithTheNext) {
  host::ScopedPlatform installed(platform_);
  std::thread([&] {
    auto first = EIResource::create();
    auto second = EIResource::create();
    EXPECT_EQ(threadComponentObjects(), 2);
    translate();
    translate();
    ASSERT_EQ(loaders_.size(), 1u);
    first.reset();
    EXPECT_EQ(heldLoaders(), 1) << "a plug-in of the thread still lives";
    second.reset();
    EXPECT_EQ(threadComponentObjects(), 0);
    EXPECT_EQ(heldLoaders(), 0) << "released with the thread's last plug-in, on the thread";

    auto next = EIResource::create();
    translate();
    EXPECT_EQ(loaders_.size(), 2u) << "the next plug-in's thread state starts afresh";
    EXPECT_EQ(heldLoaders(), 1);
    next.reset();
    EXPECT_EQ(heldLoaders(), 0);
  }).join();
}

TEST_F(ModuleStateTest, EachThreadCountsItsOwnPlugins) {
  host::ScopedPlatform installed(platform_);
  std::thread([&] {
    auto kept = EIResource::create();
    translate();
    // Another thread's plug-ins come and go without touching this thread's loader.
    std::thread([&] {
      EXPECT_EQ(threadComponentObjects(), 0);
      auto other = EIResource::create();
      translate();
      EXPECT_EQ(heldLoaders(), 2);
      other.reset();
      EXPECT_EQ(heldLoaders(), 1);
    }).join();
    ASSERT_EQ(loaders_.size(), 2u);
    EXPECT_GT(loaders_[0]->refCount(), 1u) << "this thread's loader is kept";
    EXPECT_EQ(threadComponentObjects(), 1);
    kept.reset();
    EXPECT_EQ(heldLoaders(), 0);
  }).join();
}

}  // namespace
}  // namespace qx::frame
