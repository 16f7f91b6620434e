#include "automation/host_dictionary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/host_vector.h"
#include "live_objects_fixture.h"
#include "value_box.h"

namespace qx::automation {
namespace {

using testing::errorNumber;
using testing::ValueBox;

class HostDictionaryTest : public testing::LiveObjectsTest {
 protected:
  static std::vector<std::string> keysOf(const Ref<HostDictionary>& d) {
    std::vector<std::string> keys;
    forEachItem(d->get("Keys").toObject(), [&](const Variant& k) { keys.push_back(k.toString()); });
    return keys;
  }
};

TEST_F(HostDictionaryTest, ValueWritesAndReadsByKey) {
  auto d = HostDictionary::create();
  d->put("Value", "FName", "Line 1");
  d->put("Value", "FQty", 12.5);
  EXPECT_EQ(d->get("Value", "FName"), Variant("Line 1"));
  EXPECT_EQ(d->get("value", "FQty"), Variant(12.5));
  EXPECT_EQ(d->callId(0, CallKind::Get, "FName"), Variant("Line 1"));  // the default member
  EXPECT_EQ(d->get("Count"), Variant(int32_t{2}));
}

TEST_F(HostDictionaryTest, ValueOfAnAbsentKeyIsEmptyAndAddsNothing) {
  auto d = HostDictionary::create();
  d->put("Value", "a", 1);
  EXPECT_EQ(d->get("Value", "missing"), Variant());
  EXPECT_EQ(d->get("Count"), Variant(int32_t{1}));
  EXPECT_EQ(d->call("Exists", "missing"), Variant(false));
  EXPECT_EQ(keysOf(d), (std::vector<std::string>{"a"}));
}

TEST_F(HostDictionaryTest, GetValueGivesTheDefaultForAnAbsentKey) {
  auto d = HostDictionary::create();
  d->put("Value", "present", 0);
  EXPECT_EQ(d->call("GetValue", "present", 5), Variant(int32_t{0}));
  EXPECT_EQ(d->call("GetValue", "absent", 5), Variant(int32_t{5}));
  EXPECT_EQ(d->call("GetValue", "absent", Variant::null()), Variant::null());
  EXPECT_EQ(d->call("GetValue", "absent"), Variant());
  EXPECT_EQ(d->get("Count"), Variant(int32_t{1}));
  EXPECT_EQ(errorNumber([&] { d->call("GetValue"); }), 450);
  EXPECT_EQ(errorNumber([&] { d->call("GetValue", "a", 1, 2); }), 450);
}

TEST_F(HostDictionaryTest, AStoredEmptyOrNullIsStillPresent) {
  auto d = HostDictionary::create();
  d->put("Value", "empty", Variant());
  d->put("Value", "null", Variant::null());
  EXPECT_EQ(d->call("GetValue", "empty", 1), Variant());
  EXPECT_EQ(d->call("GetValue", "null", 1), Variant::null());
  EXPECT_EQ(d->call("Exists", "empty"), Variant(true));
}

TEST_F(HostDictionaryTest, KeysKeepTheOrderOfFirstWrite) {
  auto d = HostDictionary::create();
  for (const char* k : {"z", "a", "m"}) d->put("Value", k, k);
  d->put("Value", "a", "again");  // replacing keeps the place
  EXPECT_EQ(keysOf(d), (std::vector<std::string>{"z", "a", "m"}));
  EXPECT_EQ(d->get("Value", "a"), Variant("again"));
  ASSERT_EQ(d->entries().size(), 3u);
  EXPECT_EQ(d->entries()[1].first, "a");
}

TEST_F(HostDictionaryTest, KeysAreTextWithLetterCaseCounting) {
  auto d = HostDictionary::create();
  d->put("Value", "Key", 1);
  d->put("Value", "KEY", 2);
  d->put("Value", 7, "seven");  // keys are the text of the argument
  EXPECT_EQ(d->get("Value", "Key"), Variant(int32_t{1}));
  EXPECT_EQ(d->get("Value", "KEY"), Variant(int32_t{2}));
  EXPECT_EQ(d->get("Value", "key"), Variant());
  EXPECT_EQ(d->get("Value", "7"), Variant("seven"));
  EXPECT_EQ(d->get("Count"), Variant(int32_t{3}));
  EXPECT_EQ(errorNumber([&] { d->get("Value", Variant::null()); }), 94);
}

TEST_F(HostDictionaryTest, RemoveTakesTheEntryOutAndKeepsTheRestInOrder) {
  auto d = HostDictionary::create();
  for (const char* k : {"a", "b", "c", "d"}) d->put("Value", k, k);
  EXPECT_EQ(d->call("Remove", "b"), Variant(true));
  EXPECT_EQ(d->call("Remove", "b"), Variant(false));
  EXPECT_EQ(d->call("Remove", "nope"), Variant(false));
  EXPECT_EQ(keysOf(d), (std::vector<std::string>{"a", "c", "d"}));
  // Entries after the removed one are still found by key.
  EXPECT_EQ(d->get("Value", "c"), Variant("c"));
  EXPECT_EQ(d->get("Value", "d"), Variant("d"));
  d->put("Value", "d", "D");
  EXPECT_EQ(d->entries().back().second, Variant("D"));
  // A key written again after removal goes to the end.
  d->put("Value", "b", "B");
  EXPECT_EQ(keysOf(d), (std::vector<std::string>{"a", "c", "d", "b"}));
  EXPECT_EQ(d->get("Count"), Variant(int32_t{4}));
}

TEST_F(HostDictionaryTest, RemovingEveryEntryLeavesAnEmptyDictionary) {
  auto d = HostDictionary::create();
  d->put("Value", "a", 1);
  d->put("Value", "b", 2);
  d->call("Remove", "a");
  d->call("Remove", "b");
  EXPECT_EQ(d->get("Count"), Variant(int32_t{0}));
  EXPECT_TRUE(keysOf(d).empty());
  d->put("Value", "a", 3);
  EXPECT_EQ(d->get("Value", "a"), Variant(int32_t{3}));
}

TEST_F(HostDictionaryTest, HoldsObjectValuesUntilRemovedOrDestroyed) {
  const int64_t before = Object::liveObjects();
  auto d = HostDictionary::create();
  d->put("Value", "box", Variant(ValueBox::create(Variant("inside"))));
  EXPECT_EQ(Object::liveObjects(), before + 2);
  EXPECT_EQ(d->get("Value", "box").toString(), "inside");  // read through the default value
  d->call("Remove", "box");
  EXPECT_EQ(Object::liveObjects(), before + 1);
  d->put("Value", "box", Variant(ValueBox::create(Variant())));
  d.reset();
  EXPECT_EQ(Object::liveObjects(), before);
}

TEST_F(HostDictionaryTest, SupportsItsOwnInterfaceOnly) {
  auto d = HostDictionary::create();
  EXPECT_TRUE(d->supports("HostDictionary"));
  EXPECT_FALSE(d->supports("HostVector"));
}

}  // namespace
}  // namespace qx::automation
