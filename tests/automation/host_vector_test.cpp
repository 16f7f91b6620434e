#include "automation/host_vector.h"

#include <gtest/gtest.h>

#include <vector>

#include "live_objects_fixture.h"
#include "value_box.h"

namespace qx::automation {
namespace {

using testing::errorNumber;
using testing::ValueBox;

// A vector-like object of another kind (as a host's collection would be): Count and Item from 1.
class RemoteList final : public Dispatch<RemoteList> {
 public:
  static constexpr std::string_view kTypeName = "RemoteList";
  static std::span<const Member<RemoteList>> members() {
    static const Member<RemoteList> m[] = {
        {"Item", 0, nullptr, &RemoteList::mItem},
        {"Count", 1, nullptr, &RemoteList::mCount},
    };
    return m;
  }
  explicit RemoteList(std::vector<Variant> items) : items_(std::move(items)) {}
  std::vector<int32_t> asked;  // indexes read, in order

 private:
  Variant mItem(Args a) {
    int32_t i = argAt(a, 0).toInt32();
    asked.push_back(i);
    return items_.at(static_cast<size_t>(i - 1));
  }
  Variant mCount(Args) { return Variant(static_cast<int32_t>(items_.size())); }
  std::vector<Variant> items_;
};

class HostVectorTest : public testing::LiveObjectsTest {};

TEST_F(HostVectorTest, AddAppendsAndItemReadsFromOne) {
  auto v = HostVector::create();
  EXPECT_EQ(v->get("Count"), Variant(int32_t{0}));
  v->call("Add", "first");
  v->call("add", 2);
  v->call("ADD", Variant::null());
  EXPECT_EQ(v->get("Count"), Variant(int32_t{3}));
  EXPECT_EQ(v->get("Item", 1), Variant("first"));
  EXPECT_EQ(v->get("Item", 2), Variant(int32_t{2}));
  EXPECT_EQ(v->get("Item", 3), Variant::null());
  EXPECT_EQ(v->get("Item", "2"), Variant(int32_t{2}));  // the index converts
  EXPECT_EQ(Variant(v).toObject()->callId(0, CallKind::Get, 1), Variant("first"));
}

TEST_F(HostVectorTest, ItemOutsideTheRangeFailsWith9) {
  auto v = HostVector::create();
  EXPECT_EQ(errorNumber([&] { v->get("Item", 1); }), 9);
  v->add(Variant("a"));
  EXPECT_EQ(errorNumber([&] { v->get("Item", 0); }), 9);
  EXPECT_EQ(errorNumber([&] { v->get("Item", 2); }), 9);
  EXPECT_EQ(errorNumber([&] { v->get("Item", -1); }), 9);
  EXPECT_EQ(errorNumber([&] { v->put("Item", 2, "b"); }), 9);
  EXPECT_EQ(v->count(), 1);
}

TEST_F(HostVectorTest, ItemCanBeReplaced) {
  auto v = HostVector::create();
  v->add(Variant("a"));
  v->add(Variant("b"));
  v->put("Item", 2, "B");
  EXPECT_EQ(v->items(), (std::vector<Variant>{Variant("a"), Variant("B")}));
}

TEST_F(HostVectorTest, WrongArgumentCountsFailWith450) {
  auto v = HostVector::create();
  EXPECT_EQ(errorNumber([&] { v->call("Add"); }), 450);
  EXPECT_EQ(errorNumber([&] { v->call("Add", 1, 2); }), 450);
  EXPECT_EQ(errorNumber([&] { v->get("Count", 1); }), 450);
  EXPECT_EQ(errorNumber([&] { v->get("Item"); }), 450);
  EXPECT_EQ(v->count(), 0);
}

TEST_F(HostVectorTest, HoldsItsObjectsUntilClearedOrDestroyed) {
  const int64_t before = Object::liveObjects();
  auto v = HostVector::create();
  v->call("Add", Variant(ValueBox::create(Variant(int32_t{1}))));
  v->call("Add", Variant(ValueBox::create(Variant(int32_t{2}))));
  EXPECT_EQ(Object::liveObjects(), before + 3);
  EXPECT_EQ(v->get("Item", 2).toObject()->get("Value"), Variant(int32_t{2}));
  v->call("Clear");
  EXPECT_EQ(v->count(), 0);
  EXPECT_EQ(Object::liveObjects(), before + 1);
  v->call("Add", Variant(ValueBox::create(Variant())));
  v.reset();
  EXPECT_EQ(Object::liveObjects(), before);
}

TEST_F(HostVectorTest, SupportsItsOwnInterfaceOnly) {
  auto v = HostVector::create();
  EXPECT_TRUE(v->supports("HostVector"));
  EXPECT_TRUE(v->supports("hostvector"));
  EXPECT_FALSE(v->supports("HostDictionary"));
}

TEST_F(HostVectorTest, ForEachItemWalksALocalVectorInOrder) {
  auto v = HostVector::create();
  for (int32_t i = 1; i <= 4; ++i) v->add(Variant(i * 10));
  std::vector<int32_t> seen;
  forEachItem(ObjectRef(v), [&](const Variant& item) {
    seen.push_back(item.toInt32());
    v->add(Variant(int32_t{0}));  // growing the vector meanwhile does not extend the walk
  });
  EXPECT_EQ(seen, (std::vector<int32_t>{10, 20, 30, 40}));
  EXPECT_EQ(v->count(), 8);
}

TEST_F(HostVectorTest, ForEachItemWalksAnyVectorLikeObjectByCountAndItem) {
  auto list =
      makeObject<RemoteList>(std::vector<Variant>{Variant("a"), Variant("b"), Variant("c")});
  std::vector<std::string> seen;
  forEachItem(ObjectRef(list), [&](const Variant& item) { seen.push_back(item.toString()); });
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(list->asked, (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(HostVectorTest, ForEachItemOfAnEmptyVectorCallsNothing) {
  int calls = 0;
  forEachItem(ObjectRef(HostVector::create()), [&](const Variant&) { ++calls; });
  forEachItem(ObjectRef(makeObject<RemoteList>(std::vector<Variant>{})),
              [&](const Variant&) { ++calls; });
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace qx::automation
