// Init, subscription and release of both plug-in classes.
#include <gtest/gtest.h>

#include "resource/ei_resource.h"
#include "scheduler/ei_rep_scheduler.h"
#include "support/live_objects.h"
#include "support/test_source.h"

namespace qx::frame {
namespace {

using automation::ObjectRef;
using automation::Variant;
using qx::testing::TestSource;

class PluginInitTest : public qx::testing::LiveObjectsTest {};

Variant of(const automation::Ref<TestSource>& s) {
  return Variant(ObjectRef(s));
}

TEST_F(PluginInitTest, ResourceInitSubscribesAndNothingUnsubscribes) {
  auto source = TestSource::create("MasterDataEvents");
  auto plugin = resource::EIResource::create();
  plugin->call("Init", of(source));
  EXPECT_TRUE(plugin->subscribed());
  EXPECT_EQ(source->sinks(), 1u);
  plugin->call("Init", Variant::nothing());
  EXPECT_FALSE(plugin->subscribed());
  EXPECT_EQ(source->sinks(), 0u);
}

TEST_F(PluginInitTest, SecondInitKeepsOnlyTheSecondSource) {
  auto a = TestSource::create("MasterDataEvents");
  auto b = TestSource::create("MasterDataEvents");
  auto plugin = resource::EIResource::create();
  plugin->Init(of(a));
  plugin->Init(of(b));
  EXPECT_EQ(a->sinks(), 0u);
  EXPECT_EQ(b->sinks(), 1u);
}

TEST_F(PluginInitTest, ResourceRejectsABillEventsSourceAndStaysUnsubscribed) {
  auto bill = TestSource::create("BillEvents");
  auto plugin = resource::EIResource::create();
  try {
    plugin->call("Init", of(bill));
    FAIL() << "expected a type mismatch";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 13);
  }
  EXPECT_FALSE(plugin->subscribed());
  EXPECT_EQ(bill->sinks(), 0u);
}

TEST_F(PluginInitTest, WrongObjectKeepsAnEarlierSubscription) {
  auto good = TestSource::create("MasterDataEvents");
  auto bill = TestSource::create("BillEvents");
  auto plugin = resource::EIResource::create();
  plugin->Init(of(good));
  EXPECT_THROW(plugin->Init(of(bill)), automation::Error);
  EXPECT_EQ(good->sinks(), 1u);
}

TEST_F(PluginInitTest, InitByDispatchIdAndByNameInAnyCase) {
  auto source = TestSource::create("MasterDataEvents");
  auto plugin = resource::EIResource::create();
  EXPECT_EQ(plugin->idOf("init"), 0x60030000);
  plugin->callId(0x60030000, automation::CallKind::Method, of(source));
  EXPECT_EQ(source->sinks(), 1u);
  plugin->call("INIT", Variant());
  EXPECT_EQ(source->sinks(), 0u);
}

TEST_F(PluginInitTest, InitArgumentCountIsChecked) {
  auto plugin = resource::EIResource::create();
  try {
    plugin->call("Init");
    FAIL() << "expected 450";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 450);
  }
}

TEST_F(PluginInitTest, ReleaseWithoutInitIsSilentAndReleaseUnsubscribes) {
  { auto never = resource::EIResource::create(); }
  { auto never = scheduler::EIRepScheduler::create(); }
  auto source = TestSource::create("MasterDataEvents");
  {
    auto plugin = resource::EIResource::create();
    plugin->Init(of(source));
  }
  EXPECT_EQ(source->sinks(), 0u);
}

TEST_F(PluginInitTest, SchedulerInitWithNothingEndsTheSubscriptionThenFails) {
  auto plugin = scheduler::EIRepScheduler::create();
  try {
    plugin->call("Init", Variant::nothing());
    FAIL() << "the form set-up must fail without an event source";
  } catch (const automation::Error& e) {
    EXPECT_NE(e.number(), 0);
  }
  EXPECT_FALSE(plugin->subscribed());
}

TEST_F(PluginInitTest, SchedulerRejectsAMasterDataSource) {
  auto master = TestSource::create("MasterDataEvents");
  auto plugin = scheduler::EIRepScheduler::create();
  try {
    plugin->Init(of(master));
    FAIL() << "expected a type mismatch";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 13);
  }
  EXPECT_EQ(master->sinks(), 0u);
}

TEST_F(PluginInitTest, UnhandledBillEventsLeaveTheirArgumentsUnchanged) {
  // Ids 1, 2, 6, 7 and 8 have no handler; the subscription is made by hand since the form
  // set-up needs a whole schedule form.
  auto source = TestSource::create("BillEvents");
  auto plugin = scheduler::EIRepScheduler::create();
  try {
    plugin->Init(of(source));
  } catch (const automation::Error&) {
    // The bare source has no form to hand out; the subscription is made before that step.
  }
  ASSERT_EQ(source->sinks(), 1u);
  for (automation::DispId id : {1, 2, 6, 7, 8}) {
    SCOPED_TRACE(id);
    Variant flag(false), text("x"), number(5);
    source->raise(id, automation::Arg::byRef(flag), automation::Arg::byRef(text),
                  automation::Arg::byRef(number));
    EXPECT_EQ(flag, Variant(false));
    EXPECT_EQ(text, Variant("x"));
    EXPECT_EQ(number, Variant(5));
  }
}

}  // namespace
}  // namespace qx::frame
