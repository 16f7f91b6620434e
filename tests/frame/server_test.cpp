// The server entry points: class factory, unload test, registration round trip.
#include "frame/server.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdint>
#include <filesystem>

#include "frame/module.h"
#include "sim/sim_host.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::frame {
namespace {

using automation::ObjectRef;
using automation::Variant;

class ServerTest : public qx::testing::LiveObjectsTest {};

TEST_F(ServerTest, FactoriesForBothClassesAndNoOther) {
  for (const ComponentClass& c : componentClasses()) {
    SCOPED_TRACE(c.name);
    ObjectRef factory;
    ASSERT_EQ(getClassObject(c.classId, &factory), status::kOk);
    ObjectRef obj = factory->call("CreateInstance").toObject();
    EXPECT_EQ(obj->typeName(), c.name);
    EXPECT_EQ(obj->idOf("Init"), 0x60030000);
  }
  ObjectRef none;
  EXPECT_EQ(getClassObject("{00000000-0000-0000-0000-000000000000}", &none),
            status::kClassNotAvailable);
  EXPECT_FALSE(none);
  EXPECT_EQ(getClassObject(componentClasses()[0].classId, nullptr), status::kPointer);
}

// The library's own entry point, as the host calls it: each failure reported as what it is,
// the slot left empty.
TEST_F(ServerTest, TheEntryPointReportsEachFailureAsWhatItIs) {
  void* library = dlopen(QX_DEFAULT_COMPONENT_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  using GetClassObject = int32_t (*)(const char*, automation::Object**);
  auto get = reinterpret_cast<GetClassObject>(dlsym(library, "DllGetClassObject"));
  ASSERT_NE(get, nullptr);
  struct Row {
    const char* what;
    const char* classId;
    bool slot;
    int32_t expected;
  };
  const Row rows[] = {
      {"an unknown class", "{00000000-0000-0000-0000-000000000000}", true,
       status::kClassNotAvailable},
      {"no class id", nullptr, true, status::kInvalidArg},
      {"no slot", componentClasses()[0].classId.data(), false, status::kPointer},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    automation::Object* sentinel = reinterpret_cast<automation::Object*>(uintptr_t{0x1234});
    automation::Object* got = sentinel;
    EXPECT_EQ(get(row.classId, row.slot ? &got : nullptr), row.expected);
    if (row.slot) {
      EXPECT_EQ(got, nullptr);
    }
  }
  dlclose(library);
}

TEST_F(ServerTest, ClassIdsAreMatchedWithoutRegardToCase) {
  std::string lower = automation::asciiLower(componentClasses()[1].classId);
  ObjectRef factory;
  EXPECT_EQ(getClassObject(lower, &factory), status::kOk);
}

TEST_F(ServerTest, CanUnloadOnlyWithoutObjectsAndLocks) {
  ASSERT_EQ(canUnloadNow(), status::kOk);
  ObjectRef factory;
  ASSERT_EQ(getClassObject(componentClasses()[0].classId, &factory), status::kOk);
  EXPECT_EQ(canUnloadNow(), status::kOk);  // a factory alone does not hold the library
  ObjectRef obj = factory->call("CreateInstance").toObject();
  EXPECT_EQ(canUnloadNow(), status::kFalse);
  factory->call("LockServer", true);
  obj.reset();
  EXPECT_EQ(canUnloadNow(), status::kFalse);
  factory->call("LockServer", false);
  EXPECT_EQ(canUnloadNow(), status::kOk);
}

TEST_F(ServerTest, AggregationIsRefused) {
  ObjectRef factory;
  ASSERT_EQ(getClassObject(componentClasses()[0].classId, &factory), status::kOk);
  ObjectRef outer = factory->call("CreateInstance").toObject();
  try {
    factory->call("CreateInstance", Variant(outer));
    FAIL() << "expected the no-aggregation status";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), status::kNoAggregation);
  }
}

class RegistrationTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    home_ = qx::testing::uniqueTempPath("reg");
    std::filesystem::remove_all(home_);
    sim::HostOptions o;
    o.home = home_;
    host_ = std::make_unique<sim::SimHost>(o);
  }
  void TearDown() override {
    host_.reset();
    std::filesystem::remove_all(home_);
    LiveObjectsTest::TearDown();
  }
  std::filesystem::path home_;
  std::unique_ptr<sim::SimHost> host_;
};

TEST_F(RegistrationTest, RoundTripThroughTheLibrary) {
  auto lib = sim::SimHost::defaultComponentLibrary();
  auto& components = host_->components();
  ASSERT_EQ(components.registerServer(lib), status::kOk);
  auto& reg = host_->registry();
  for (const ComponentClass& c : componentClasses()) {
    SCOPED_TRACE(c.name);
    std::string key = "HKEY_CLASSES_ROOT\\CLSID\\" + std::string(c.classId);
    EXPECT_EQ(reg.read(key + "\\InprocServer32", "ThreadingModel"), Variant("Apartment"));
    auto path = reg.read(key + "\\InprocServer32", "");
    ASSERT_TRUE(path);
    EXPECT_TRUE(std::filesystem::equivalent(path->toString(), lib));
    EXPECT_EQ(reg.read("HKEY_CLASSES_ROOT\\" + std::string(c.progId) + "\\CLSID", ""),
              Variant(std::string(c.classId)));
  }
  // Created by identifier in any letter case, through the library's own factory.
  {
    ObjectRef a = host_->platform().createObject("qxinddepcomponent.eiresource");
    ObjectRef b = host_->platform().createObject("QXINDDEPCOMPONENT.EIREPSCHEDULER");
    EXPECT_EQ(a->typeName(), "EIResource");
    EXPECT_EQ(b->typeName(), "EIRepScheduler");
    EXPECT_EQ(components.canUnloadNow(lib), status::kFalse);
  }
  EXPECT_EQ(components.canUnloadNow(lib), status::kOk);

  ASSERT_EQ(components.unregisterServer(lib), status::kOk);
  EXPECT_TRUE(reg.keysUnder("HKEY_CLASSES_ROOT").empty());
  try {
    host_->platform().createObject("QxIndDepComponent.EIResource");
    FAIL() << "expected 429";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 429);
    EXPECT_NE(e.description().find("QxIndDepComponent.EIResource"), std::string::npos);
  }
}

TEST_F(RegistrationTest, RegistrationSurvivesInTheRegistryFile) {
  auto lib = sim::SimHost::defaultComponentLibrary();
  ASSERT_EQ(host_->components().registerServer(lib), status::kOk);
  host_.reset();
  sim::HostOptions o;
  o.home = home_;
  host_ = std::make_unique<sim::SimHost>(o);
  ObjectRef a = host_->platform().createObject("QxIndDepComponent.EIResource");
  EXPECT_TRUE(a);
}

}  // namespace
}  // namespace qx::frame
