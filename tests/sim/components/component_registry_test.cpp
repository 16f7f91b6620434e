#include "sim/components/component_registry.h"

#include <gtest/gtest.h>

#include "automation/host_dictionary.h"
#include "sim/sim_host.h"
#include "support/live_objects.h"

namespace qx::sim {
namespace {

using automation::Error;
using automation::ObjectRef;

class ComponentRegistryTest : public qx::testing::LiveObjectsTest {
 protected:
  RegistryFile registry_;
  FaultInjector faults_;
  ComponentRegistry components_{registry_, faults_};
};

int errorOf(const std::function<void()>& f, std::string* text = nullptr) {
  try {
    f();
  } catch (const Error& e) {
    if (text) *text = e.description();
    return e.number();
  }
  return 0;
}

TEST_F(ComponentRegistryTest, OwnComponentsAreFoundInAnyLetterCase) {
  components_.registerComponent("Test.Thing",
                                [] { return ObjectRef(automation::HostDictionary::create()); });
  EXPECT_TRUE(components_.create("TEST.thing"));
  EXPECT_TRUE(components_.hasComponent("test.THING"));
  components_.unregisterComponent("Test.Thing");
  EXPECT_EQ(errorOf([&] { components_.create("Test.Thing"); }), 429);
}

TEST_F(ComponentRegistryTest, UnknownIdentifierIs429NamingIt) {
  std::string text;
  EXPECT_EQ(errorOf([&] { components_.create("No.Such.Thing"); }, &text), 429);
  EXPECT_NE(text.find("No.Such.Thing"), std::string::npos);
}

TEST_F(ComponentRegistryTest, ARegisteredClassWhoseLibraryIsMissingIs429WithTheReason) {
  registry_.write("HKCR\\Broken.Thing\\CLSID", "", automation::Variant("{B}"));
  registry_.write("HKCR\\CLSID\\{B}\\InprocServer32", "", automation::Variant("/nowhere/lib.so"));
  std::string text;
  EXPECT_EQ(errorOf([&] { components_.create("Broken.Thing"); }, &text), 429);
  EXPECT_NE(text.find("Broken.Thing"), std::string::npos);
  EXPECT_NE(text.find("nowhere"), std::string::npos);
}

TEST_F(ComponentRegistryTest, CurVerIsFollowed) {
  registry_.write("HKCR\\Lib.Cls\\CurVer", "", automation::Variant("Lib.Cls.1"));
  registry_.write("HKCR\\Lib.Cls.1\\CLSID", "", automation::Variant("{C}"));
  EXPECT_EQ(components_.classIdOf("lib.cls"), "{C}");
}

TEST_F(ComponentRegistryTest, CreationCanBeMadeToFail) {
  components_.registerComponent("Test.Thing",
                                [] { return ObjectRef(automation::HostDictionary::create()); });
  faults_.add("test.thing", std::string(FaultInjector::kCreate), 2);
  EXPECT_TRUE(components_.create("Test.Thing"));
  EXPECT_NE(errorOf([&] { components_.create("Test.Thing"); }), 0);
  EXPECT_TRUE(components_.create("Test.Thing"));
}

class FaultInjectorTest : public qx::testing::LiveObjectsTest {};

TEST_F(FaultInjectorTest, FailsTheNthCallOfAMemberOrEveryCall) {
  FaultInjector faults;
  auto dict = automation::HostDictionary::create();
  faults.add("HostDictionary", "GetValue", 2, Error(1234, "boom"));
  EXPECT_EQ(errorOf([&] { dict->call("GetValue", "a", 1); }), 0);
  EXPECT_EQ(errorOf([&] { dict->call("getvalue", "a", 1); }), 1234);
  EXPECT_EQ(errorOf([&] { dict->call("GetValue", "a", 1); }), 0);
  EXPECT_EQ(errorOf([&] { dict->get("Count"); }), 0);
  faults.clear();
  faults.add("HostDictionary", "*", 0);
  EXPECT_NE(errorOf([&] { dict->get("Count"); }), 0);
  EXPECT_NE(errorOf([&] { dict->get("Count"); }), 0);
}

}  // namespace
}  // namespace qx::sim
