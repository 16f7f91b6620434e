#include "frame/event_field.h"

#include <gtest/gtest.h>

#include "support/live_objects.h"
#include "support/test_source.h"

namespace qx::frame {
namespace {

using automation::Arg;
using automation::Variant;
using qx::testing::TestSource;

// A plug-in with two routed events: 1 writes its second, by-reference argument; 2 counts.
struct Plugin {
  Plugin();
  int first = 0, second = 0;
  EventField<Plugin> events;
};

constexpr EventField<Plugin>::Route kRoutes[] = {
    {1,
     [](Plugin& p, Args a) {
       expectArgs(a, 2, "OnFirst");
       a[1].set(Variant("handled"));
       ++p.first;
     }},
    {2, [](Plugin& p, Args) { ++p.second; }},
};

Plugin::Plugin() : events(*this, "MasterDataEvents", kRoutes) {}

class EventFieldTest : public qx::testing::LiveObjectsTest {};

TEST_F(EventFieldTest, RoutesIdsToHandlersAndWritesByReference) {
  auto source = TestSource::create("MasterDataEvents");
  Plugin p;
  p.events.assign(automation::ObjectRef(source));
  Variant in(7), out("before");
  source->raise(1, Arg(in), Arg::byRef(out));
  EXPECT_EQ(p.first, 1);
  EXPECT_EQ(out, Variant("handled"));
  EXPECT_EQ(in, Variant(7));
}

TEST_F(EventFieldTest, IdWithoutHandlerLeavesEveryArgumentUntouched) {
  auto source = TestSource::create("MasterDataEvents");
  Plugin p;
  p.events.assign(automation::ObjectRef(source));
  Variant a("text"), b(true);
  source->raise(7, Arg::byRef(a), Arg::byRef(b));
  EXPECT_EQ(a, Variant("text"));
  EXPECT_EQ(b, Variant(true));
  EXPECT_EQ(p.first + p.second, 0);
}

TEST_F(EventFieldTest, TooFewArgumentsIsAnErrorToTheRaiser) {
  auto source = TestSource::create("MasterDataEvents");
  Plugin p;
  p.events.assign(automation::ObjectRef(source));
  Variant only;
  try {
    source->raise(1, Arg::byRef(only));
    FAIL() << "expected 449";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 449);
    EXPECT_NE(e.description().find("OnFirst"), std::string::npos);
  }
  EXPECT_EQ(p.first, 0);
}

TEST_F(EventFieldTest, ReassignSwitchesAndResetEndsTheSubscription) {
  auto first = TestSource::create("MasterDataEvents");
  auto second = TestSource::create("MasterDataEvents");
  Plugin p;
  p.events.assign(automation::ObjectRef(first));
  p.events.assign(automation::ObjectRef(second));
  EXPECT_EQ(first->sinks(), 0u);
  first->raise(2);
  EXPECT_EQ(p.second, 0);
  second->raise(2);
  EXPECT_EQ(p.second, 1);
  p.events.reset();
  EXPECT_EQ(second->sinks(), 0u);
  second->raise(2);
  EXPECT_EQ(p.second, 1);
}

TEST_F(EventFieldTest, DestructionUnsubscribes) {
  auto source = TestSource::create("MasterDataEvents");
  {
    Plugin p;
    p.events.assign(automation::ObjectRef(source));
    EXPECT_EQ(source->sinks(), 1u);
  }
  EXPECT_EQ(source->sinks(), 0u);
  EXPECT_EQ(source->unadviseCalls, 1);
}

TEST_F(EventFieldTest, TakeEventSourceChecksTheInterface) {
  auto bill = TestSource::create("BillEvents");
  EXPECT_FALSE(takeEventSource(Variant(), "MasterDataEvents", "EIResource"));
  EXPECT_FALSE(takeEventSource(Variant::nothing(), "MasterDataEvents", "EIResource"));
  EXPECT_EQ(takeEventSource(Variant(automation::ObjectRef(bill)), "BillEvents", "X").get(),
            bill.get());
  for (const Variant& wrong : {Variant(automation::ObjectRef(bill)), Variant("text"), Variant(3)}) {
    SCOPED_TRACE(automation::describe(wrong));
    try {
      takeEventSource(wrong, "MasterDataEvents", "EIResource");
      FAIL() << "expected a type mismatch";
    } catch (const automation::Error& e) {
      EXPECT_EQ(e.number(), 13);
      EXPECT_EQ(e.source(), "EIResource");
    }
  }
}

}  // namespace
}  // namespace qx::frame
