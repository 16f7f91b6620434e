#include "automation/object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/dispatch.h"
#include "live_objects_fixture.h"

namespace qx::automation {
namespace {

using testing::errorNumber;

// An object with one member of each kind.
class Calc final : public Dispatch<Calc> {
 public:
  static constexpr std::string_view kTypeName = "Calc";
  static std::span<const Member<Calc>> members() {
    static const Member<Calc> m[] = {
        {"Total", 0, nullptr, &Calc::mTotal, &Calc::mPutTotal},
        {"Add", 1, &Calc::mAdd},
        {"Bump", 2, &Calc::mBump},
        {"Swap", 3, &Calc::mSwap},
        {"Label", 4, nullptr, &Calc::mLabel},
        {"DropHolder", 5, &Calc::mDropHolder},
    };
    return m;
  }
  bool supports(std::string_view name) const override { return equalsIgnoreCase(name, "ICalc"); }

  int bodies = 0;  // member bodies that ran
  static ObjectRef holder;

 private:
  Variant mTotal(Args a) {
    ++bodies;
    requireArgs(a, 0, "Total");
    return Variant(total_);
  }
  void mPutTotal(Args a, const Variant& v) {
    ++bodies;
    requireArgs(a, 0, "Total");
    total_ = v.toInt32();
  }
  Variant mAdd(Args a) {
    ++bodies;
    requireArgs(a, 2, "Add");
    return Variant(a[0].get().toInt32() + a[1].get().toInt32());
  }
  // Adds one to its argument where it stands.
  Variant mBump(Args a) {
    ++bodies;
    requireArgs(a, 1, "Bump");
    a[0].set(Variant(a[0].get().toInt32() + 1));
    return a[0].get();
  }
  Variant mSwap(Args a) {
    ++bodies;
    requireArgs(a, 2, "Swap");
    Variant first = a[0].get();
    a[0].set(a[1].get());
    a[1].set(std::move(first));
    return Variant();
  }
  Variant mLabel(Args) {
    ++bodies;
    return Variant("calc");
  }
  // Drops the only outside reference, then keeps using the object.
  Variant mDropHolder(Args) {
    holder.reset();
    ++bodies;
    total_ = 99;
    return Variant(total_);
  }
  int32_t total_ = 0;
};
ObjectRef Calc::holder;

class Other final : public Dispatch<Other> {
 public:
  static constexpr std::string_view kTypeName = "Other";
  static std::span<const Member<Other>> members() { return {}; }
};

class ObjectTest : public testing::LiveObjectsTest {
 protected:
  void TearDown() override {
    Object::setCallHook(nullptr);
    Calc::holder.reset();
    LiveObjectsTest::TearDown();
  }
};

TEST_F(ObjectTest, RefCountsEveryOwnerAndDestroysWithTheLast) {
  const int64_t before = Object::liveObjects();
  Ref<Calc> a = makeObject<Calc>();
  EXPECT_EQ(Object::liveObjects(), before + 1);
  EXPECT_EQ(a->refCount(), 1u);
  Ref<Calc> b = a;
  EXPECT_EQ(a->refCount(), 2u);
  ObjectRef up = b;  // upcast shares the count
  EXPECT_EQ(a->refCount(), 3u);
  Ref<Calc> moved = std::move(b);
  EXPECT_FALSE(b);
  EXPECT_EQ(a->refCount(), 3u);
  up = nullptr;
  EXPECT_EQ(a->refCount(), 2u);
  a = moved;  // assigning the same object changes nothing
  EXPECT_EQ(a->refCount(), 2u);
  moved.reset();
  a.reset();
  EXPECT_EQ(Object::liveObjects(), before);
}

TEST_F(ObjectTest, DetachHandsTheReferenceToTheCaller) {
  Ref<Calc> a = makeObject<Calc>();
  Calc* raw = a.detach();
  EXPECT_FALSE(a);
  EXPECT_EQ(raw->refCount(), 1u);
  Ref<Calc> again(raw);  // adopting adds one more reference
  EXPECT_EQ(raw->release(), 1u);
}

TEST_F(ObjectTest, RefCastChecksTheType) {
  ObjectRef o = makeObject<Calc>();
  EXPECT_EQ(refCast<Calc>(o).get(), o.get());
  EXPECT_EQ(o->refCount(), 1u);
  EXPECT_FALSE(refCast<Other>(o));
  EXPECT_FALSE(refCast<Calc>(ObjectRef()));
}

TEST_F(ObjectTest, NamesIgnoreLetterCase) {
  auto c = makeObject<Calc>();
  for (const char* name : {"Add", "add", "ADD", "aDd"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(c->idOf(name), 1);
    EXPECT_EQ(c->call(name, 2, 3), Variant(int32_t{5}));
  }
  EXPECT_EQ(c->nameOf(1), "Add");
  EXPECT_EQ(c->nameOf(77), "");
  EXPECT_EQ(c->typeName(), "Calc");
}

TEST_F(ObjectTest, CallsByDispatchId) {
  auto c = makeObject<Calc>();
  EXPECT_EQ(c->callId(1, CallKind::Method, 20, 22), Variant(int32_t{42}));
  c->callId(0, CallKind::Put, 7);
  EXPECT_EQ(c->callId(0, CallKind::Get), Variant(int32_t{7}));
  EXPECT_EQ(errorNumber([&] { c->callId(1234, CallKind::Method); }), 438);
}

TEST_F(ObjectTest, PropertiesGetAndPut) {
  auto c = makeObject<Calc>();
  EXPECT_EQ(c->get("Total"), Variant(int32_t{0}));
  c->put("total", 12.5);  // the member converts: halves to even
  EXPECT_EQ(c->get("TOTAL"), Variant(int32_t{12}));
  // The default member is the object's value.
  EXPECT_EQ(Variant(c).value(), Variant(int32_t{12}));
}

TEST_F(ObjectTest, EachMemberAnswersOnlyTheKindsItHas) {
  auto c = makeObject<Calc>();
  // A read-only property cannot be assigned, and a method cannot be assigned.
  EXPECT_EQ(errorNumber([&] { c->put("Label", "x"); }), 438);
  EXPECT_EQ(errorNumber([&] { c->put("Add", 1); }), 438);
  EXPECT_EQ(c->bodies, 0);
  // A put without a value is a wrong argument count.
  EXPECT_EQ(errorNumber([&] { c->callId(0, CallKind::Put); }), 450);
  // Reading a property with method syntax, and calling a method with property syntax, work.
  EXPECT_EQ(c->call("Label"), Variant("calc"));
  EXPECT_EQ(c->get("Add", 1, 1), Variant(int32_t{2}));
}

TEST_F(ObjectTest, ByReferenceArgumentsReceiveTheCalleesWrites) {
  auto c = makeObject<Calc>();
  Variant counter(int32_t{1});
  EXPECT_EQ(c->call("Bump", byRef(counter)), Variant(int32_t{2}));
  EXPECT_EQ(counter, Variant(int32_t{2}));

  Variant x("left"), y("right");
  c->call("Swap", byRef(x), byRef(y));
  EXPECT_EQ(x, Variant("right"));
  EXPECT_EQ(y, Variant("left"));
}

TEST_F(ObjectTest, ByValueArgumentsAreLeftAlone) {
  auto c = makeObject<Calc>();
  Variant counter(int32_t{1});
  EXPECT_EQ(c->call("Bump", counter), Variant(int32_t{2}));  // the callee's own copy changed
  EXPECT_EQ(counter, Variant(int32_t{1}));

  Variant x("left"), y("right");
  c->call("Swap", x, byRef(y));  // mixed: only the by-reference one is written
  EXPECT_EQ(x, Variant("left"));
  EXPECT_EQ(y, Variant("left"));
}

TEST_F(ObjectTest, AnUnknownMemberFailsWith438NamingIt) {
  auto c = makeObject<Calc>();
  try {
    c->call("Multiply", 1, 2);
    FAIL() << "no failure";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 438);
    EXPECT_NE(e.description().find("Multiply"), std::string::npos) << e.description();
    EXPECT_EQ(e.source(), "Calc");
  }
  EXPECT_EQ(errorNumber([&] { (void)c->idOf(""); }), 438);
}

TEST_F(ObjectTest, AWrongArgumentCountFailsWith450) {
  auto c = makeObject<Calc>();
  EXPECT_EQ(errorNumber([&] { c->call("Add", 1); }), 450);
  EXPECT_EQ(errorNumber([&] { c->call("Add", 1, 2, 3); }), 450);
  EXPECT_EQ(errorNumber([&] { c->get("Total", 1); }), 450);
}

TEST_F(ObjectTest, SupportsAnswersForTheInterfacesTheObjectImplements) {
  auto c = makeObject<Calc>();
  EXPECT_TRUE(c->supports("ICalc"));
  EXPECT_TRUE(c->supports("icalc"));
  EXPECT_FALSE(c->supports("IOther"));
  EXPECT_FALSE(c->supports(""));
}

TEST_F(ObjectTest, ObjectsWithoutEventsRefuseSubscriptions) {
  auto c = makeObject<Calc>();
  auto sink = makeObject<Calc>();
  EXPECT_EQ(errorNumber([&] { (void)c->advise("IEvents", sink); }), 445);
  EXPECT_EQ(errorNumber([&] { c->unadvise(1); }), 445);
  EXPECT_EQ(sink->refCount(), 1u);
}

TEST_F(ObjectTest, TheCallHookSeesEveryDispatchedCall) {
  auto c = makeObject<Calc>();
  struct Seen {
    Object* target;
    DispId id;
    CallKind kind;
  };
  std::vector<Seen> seen;
  Object::setCallHook([&](Object& target, DispId id, CallKind kind) {
    seen.push_back({&target, id, kind});
  });
  c->call("Add", 1, 2);
  c->put("Total", 3);
  (void)c->get("Total");
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].target, c.get());
  EXPECT_EQ(seen[0].id, 1);
  EXPECT_EQ(seen[0].kind, CallKind::Method);
  EXPECT_EQ(seen[1].id, 0);
  EXPECT_EQ(seen[1].kind, CallKind::Put);
  EXPECT_EQ(seen[2].kind, CallKind::Get);

  Object::setCallHook(nullptr);
  c->call("Add", 1, 2);
  EXPECT_EQ(seen.size(), 3u);
}

TEST_F(ObjectTest, AFailingCallHookStopsTheCall) {
  auto c = makeObject<Calc>();
  Object::setCallHook([](Object&, DispId id, CallKind) {
    if (id == 1) throw Error(70, "Permission denied", "hook");
  });
  Variant counter(int32_t{1});
  EXPECT_EQ(errorNumber([&] { c->call("Add", 1, 2); }), 70);
  EXPECT_EQ(c->bodies, 0);
  EXPECT_EQ(c->call("Bump", byRef(counter)), Variant(int32_t{2}));  // other members still run
  EXPECT_EQ(c->bodies, 1);
}

TEST_F(ObjectTest, ACalleeThatDropsTheLastReferenceFinishesTheCall) {
  const int64_t before = Object::liveObjects();
  Calc::holder = makeObject<Calc>();
  Object* raw = Calc::holder.get();
  EXPECT_EQ(raw->call("DropHolder"), Variant(int32_t{99}));  // the object lived to answer
  EXPECT_FALSE(Calc::holder);
  EXPECT_EQ(Object::liveObjects(), before);  // and went right after
}

}  // namespace
}  // namespace qx::automation
