#include "automation/events.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/dispatch.h"
#include "live_objects_fixture.h"

namespace qx::automation {
namespace {

using testing::errorNumber;

constexpr DispId kOnChanged = 1;
constexpr DispId kOnClosed = 2;

// An event source with one connection point for "IDocEvents".
class Source final : public Dispatch<Source> {
 public:
  static constexpr std::string_view kTypeName = "Source";
  static std::span<const Member<Source>> members() { return {}; }

  uint32_t advise(std::string_view interfaceName, const ObjectRef& sink) override {
    if (!equalsIgnoreCase(interfaceName, point.interfaceName())) {
      throw Error::notImplemented("events of " + std::string(interfaceName), typeName());
    }
    return point.advise(sink);
  }
  void unadvise(uint32_t cookie) override {
    if (refuseUnadvise) throw Error(-2147220992, "CONNECT_E_NOCONNECTION", typeName());
    point.unadvise(cookie);
  }

  ConnectionPoint point{"IDocEvents"};
  bool refuseUnadvise = false;
};

// A sink that logs each event, and may act on the source while the event runs.
class Sink final : public Dispatch<Sink> {
 public:
  static constexpr std::string_view kTypeName = "Sink";
  static std::span<const Member<Sink>> members() {
    static const Member<Sink> m[] = {
        {"OnChanged", kOnChanged, &Sink::mOnChanged},
        {"OnClosed", kOnClosed, &Sink::mOnClosed},
    };
    return m;
  }
  Sink(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}

  std::function<void()> during;  // runs inside OnChanged

 private:
  // OnChanged(value, ByRef cancel)
  Variant mOnChanged(Args a) {
    requireArgs(a, 2, "OnChanged");
    log_->push_back(name_ + ":changed " + a[0].get().toString());
    a[1].set(Variant(true));
    if (during) during();
    return Variant();
  }
  Variant mOnClosed(Args a) {
    requireArgs(a, 0, "OnClosed");
    log_->push_back(name_ + ":closed");
    if (name_ == "failing") throw Error(5, "refused", "Sink");
    return Variant();
  }
  std::string name_;
  std::vector<std::string>* log_;
};

class EventsTest : public testing::LiveObjectsTest {
 protected:
  Ref<Sink> sink(std::string name) { return makeObject<Sink>(std::move(name), &log); }
  std::vector<std::string> log;
};

TEST_F(EventsTest, RaiseCallsEverySinkInOrderWithTheArguments) {
  ConnectionPoint point("IDocEvents");
  point.advise(sink("a"));
  point.advise(sink("b"));
  EXPECT_EQ(point.sinkCount(), 2u);
  Variant cancel(false);
  point.fire(kOnChanged, "x", byRef(cancel));
  EXPECT_EQ(log, (std::vector<std::string>{"a:changed x", "b:changed x"}));
  EXPECT_EQ(cancel, Variant(true));  // the by-reference argument came back written
}

TEST_F(EventsTest, ByValueArgumentsStayWithTheRaiser) {
  ConnectionPoint point("IDocEvents");
  point.advise(sink("a"));
  Variant cancel(false);
  point.fire(kOnChanged, "x", cancel);
  EXPECT_EQ(cancel, Variant(false));
}

TEST_F(EventsTest, RaisingWithoutSinksDoesNothing) {
  ConnectionPoint point("IDocEvents");
  point.fire(kOnClosed);
  EXPECT_TRUE(log.empty());
}

TEST_F(EventsTest, ASinkFailureReachesTheRaiser) {
  ConnectionPoint point("IDocEvents");
  point.advise(sink("failing"));
  EXPECT_EQ(errorNumber([&] { point.fire(kOnClosed); }), 5);
  EXPECT_EQ(log, (std::vector<std::string>{"failing:closed"}));
}

TEST_F(EventsTest, AdviseNeedsASinkAndCookiesAreDistinct) {
  ConnectionPoint point("IDocEvents");
  EXPECT_EQ(errorNumber([&] { point.advise(ObjectRef()); }), 424);
  uint32_t a = point.advise(sink("a"));
  uint32_t b = point.advise(sink("b"));
  EXPECT_NE(a, b);
  EXPECT_NE(a, 0u);
  EXPECT_TRUE(point.unadvise(a));
  EXPECT_FALSE(point.unadvise(a));
  EXPECT_FALSE(point.unadvise(12345));
  point.fire(kOnClosed);
  EXPECT_EQ(log, (std::vector<std::string>{"b:closed"}));
}

TEST_F(EventsTest, TheConnectionPointHoldsItsSinksUntilUnadvisedOrCleared) {
  const int64_t before = Object::liveObjects();
  ConnectionPoint point("IDocEvents");
  uint32_t cookie = point.advise(sink("a"));
  point.advise(sink("b"));
  EXPECT_EQ(Object::liveObjects(), before + 2);
  point.unadvise(cookie);
  EXPECT_EQ(Object::liveObjects(), before + 1);
  point.clear();
  EXPECT_EQ(point.sinkCount(), 0u);
  EXPECT_EQ(Object::liveObjects(), before);
}

TEST_F(EventsTest, ASinkMayUnadviseItselfWhileTheEventRuns) {
  ConnectionPoint point("IDocEvents");
  auto a = sink("a");
  uint32_t cookie = point.advise(a);
  point.advise(sink("b"));
  a->during = [&] { point.unadvise(cookie); };
  Variant cancel;
  point.fire(kOnChanged, 1, byRef(cancel));
  point.fire(kOnChanged, 2, byRef(cancel));
  EXPECT_EQ(log, (std::vector<std::string>{"a:changed 1", "b:changed 1", "b:changed 2"}));
}

TEST_F(EventsTest, ASinkUnadvisedDuringTheEventIsNotCalledAnyMore) {
  ConnectionPoint point("IDocEvents");
  auto a = sink("a");
  point.advise(a);
  uint32_t second = point.advise(sink("b"));
  a->during = [&] { point.unadvise(second); };
  Variant cancel;
  point.fire(kOnChanged, 1, byRef(cancel));
  EXPECT_EQ(log, (std::vector<std::string>{"a:changed 1"}));
  EXPECT_EQ(point.sinkCount(), 1u);
}

TEST_F(EventsTest, ASinkAdvisedDuringTheEventHearsOnlyLaterEvents) {
  ConnectionPoint point("IDocEvents");
  auto a = sink("a");
  point.advise(a);
  bool added = false;
  a->during = [&] {
    if (!added) point.advise(sink("late"));
    added = true;
  };
  Variant cancel;
  point.fire(kOnChanged, 1, byRef(cancel));
  point.fire(kOnChanged, 2, byRef(cancel));
  EXPECT_EQ(log, (std::vector<std::string>{"a:changed 1", "a:changed 2", "late:changed 2"}));
}

TEST_F(EventsTest, ASinkThatClearsThePointEndsTheEvent) {
  ConnectionPoint point("IDocEvents");
  auto a = sink("a");
  point.advise(a);
  point.advise(sink("b"));
  a->during = [&] { point.clear(); };
  Variant cancel;
  point.fire(kOnChanged, 1, byRef(cancel));
  EXPECT_EQ(log, (std::vector<std::string>{"a:changed 1"}));
}

// --- a field holding an event source ---------------------------------------------------------

TEST_F(EventsTest, AssigningAConnectionAdvisesAndResetUnadvises) {
  auto source = makeObject<Source>();
  EventConnection field;
  EXPECT_FALSE(field);
  field.assign(source, "IDocEvents", sink("a"));
  EXPECT_TRUE(field);
  EXPECT_EQ(field.source().get(), source.get());
  EXPECT_EQ(source->point.sinkCount(), 1u);
  source->point.fire(kOnClosed);
  field.reset();
  EXPECT_FALSE(field);
  EXPECT_EQ(source->point.sinkCount(), 0u);
  source->point.fire(kOnClosed);
  EXPECT_EQ(log, (std::vector<std::string>{"a:closed"}));
  EXPECT_EQ(source->refCount(), 1u);  // the field let go of the source
}

TEST_F(EventsTest, DestroyingTheConnectionUnadvises) {
  auto source = makeObject<Source>();
  {
    EventConnection field;
    field.assign(source, "idocevents", sink("a"));  // interface names ignore letter case
    EXPECT_EQ(source->point.sinkCount(), 1u);
  }
  EXPECT_EQ(source->point.sinkCount(), 0u);
  EXPECT_EQ(source->refCount(), 1u);
}

TEST_F(EventsTest, ReassigningSwitchesToTheNewSource) {
  auto first = makeObject<Source>();
  auto second = makeObject<Source>();
  EventConnection field;
  field.assign(first, "IDocEvents", sink("a"));
  field.assign(second, "IDocEvents", sink("b"));
  EXPECT_EQ(first->point.sinkCount(), 0u);
  EXPECT_EQ(second->point.sinkCount(), 1u);
  first->point.fire(kOnClosed);
  second->point.fire(kOnClosed);
  EXPECT_EQ(log, (std::vector<std::string>{"b:closed"}));
}

TEST_F(EventsTest, ReassigningTheSameSourceKeepsOneSubscription) {
  auto source = makeObject<Source>();
  auto a = sink("a");
  EventConnection field;
  field.assign(source, "IDocEvents", a);
  field.assign(source, "IDocEvents", a);
  EXPECT_EQ(source->point.sinkCount(), 1u);
  // Assigning the field's own source to it, as `Set field = field` does.
  field.assign(field.source(), "IDocEvents", a);
  EXPECT_TRUE(field);
  EXPECT_EQ(source->point.sinkCount(), 1u);
  source->point.fire(kOnClosed);
  EXPECT_EQ(log, (std::vector<std::string>{"a:closed"}));
}

TEST_F(EventsTest, AssigningNothingEndsTheSubscription) {
  auto source = makeObject<Source>();
  EventConnection field;
  field.assign(source, "IDocEvents", sink("a"));
  field.assign(ObjectRef(), "IDocEvents", sink("b"));
  EXPECT_FALSE(field);
  EXPECT_EQ(source->point.sinkCount(), 0u);
}

TEST_F(EventsTest, AFailingAdviseLeavesTheFieldEmpty) {
  auto source = makeObject<Source>();
  EventConnection field;
  field.assign(source, "IDocEvents", sink("a"));
  EXPECT_EQ(errorNumber([&] { field.assign(source, "IOtherEvents", sink("b")); }), 445);
  EXPECT_FALSE(field);
  EXPECT_EQ(source->point.sinkCount(), 0u);  // the earlier subscription ended first
  EXPECT_EQ(source->refCount(), 1u);
}

TEST_F(EventsTest, ARefusedUnadviseStillReleasesTheSource) {
  auto source = makeObject<Source>();
  EventConnection field;
  field.assign(source, "IDocEvents", sink("a"));
  source->refuseUnadvise = true;
  field.reset();
  EXPECT_FALSE(field);
  EXPECT_EQ(source->refCount(), 1u);
  source->point.clear();
}

TEST_F(EventsTest, TheConnectionKeepsTheSourceAlive) {
  const int64_t before = Object::liveObjects();
  EventConnection field;
  field.assign(makeObject<Source>(), "IDocEvents", sink("a"));
  EXPECT_EQ(Object::liveObjects(), before + 2);
  static_cast<Source*>(field.source().get())->point.fire(kOnClosed);
  EXPECT_EQ(log, (std::vector<std::string>{"a:closed"}));
  field.reset();
  EXPECT_EQ(Object::liveObjects(), before);
}

}  // namespace
}  // namespace qx::automation
