// The order in which the plug-in lets go of the host's objects, with strict fakes holding no
// references of their own, so each release is seen when it happens.
#include <gtest/gtest.h>

#include "host/event_interfaces.h"
#include "host/toolkit.h"
#include "scheduler/ei_rep_scheduler.h"
#include "sim/sim_host.h"
#include "support/fake_object.h"
#include "support/live_objects.h"

namespace qx::scheduler {
namespace {

using automation::ObjectRef;
using automation::Variant;
using qx::testing::FakeObject;
using qx::testing::Log;

class SchedulerReleaseTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    host_ = std::make_unique<sim::SimHost>(sim::HostOptions{});  // registry in memory
  }
  void TearDown() override {
    host_.reset();
    LiveObjectsTest::TearDown();
  }

  // The bill engine's event source: operation 1 hands out a new form, 2 a new column map.
  ObjectRef makeSource() {
    Log log = log_;
    auto control = [log](const std::string& name) {
      return [log, name] {
        auto c = FakeObject::create(name, log);
        c->prop("Visible", Variant(false));
        return Variant(ObjectRef(c));
      };
    };
    auto button = [] {
      auto b = FakeObject::create("button");
      b->prop("Visible", Variant(false)).prop("Checked", Variant(false));
      return Variant(ObjectRef(b));
    };
    auto source = FakeObject::create("events", log_);
    source->implements(std::string(host::kBillEvents));
    source->method(
        "GetForm",
        [log, control, button](automation::Args a) {
          auto form = FakeObject::create("form", log);
          form->implements(std::string(host::kFormEvents));
          form->getter("grdDetail", control("grdDetail"))
              .getter("m_ldgData", control("m_ldgData"))
              .getter("picSplit", control("picSplit"))
              .getter("ldgAbility", control("ldgAbility"))
              .getter("MenuBar", [log, button] {
                auto bar = FakeObject::create("MenuBar", log);
                bar->method("Tools", [button](automation::Args) { return button(); });
                return Variant(ObjectRef(bar));
              });
          a[0].set(Variant(ObjectRef(form)));
          return Variant();
        },
        host::bill_op::idOf(host::bill_op::kGetForm));
    source->method(
        "GetColumns",
        [log](automation::Args a) {
          a[0].set(Variant(ObjectRef(FakeObject::create("columns", log))));
          return Variant();
        },
        host::bill_op::idOf(host::bill_op::kGetColumns));
    return ObjectRef(source);
  }

  Log log_ = std::make_shared<std::vector<std::string>>();
  std::unique_ptr<sim::SimHost> host_;
};

const std::vector<std::string> kReleaseOrder = {
    "release columns",   "release MenuBar", "release m_ldgData", "release form",
    "release grdDetail", "release events",  "release picSplit"};

TEST_F(SchedulerReleaseTest, ReleasesInTheFixedOrderWithTheEventSourceLast) {
  auto plugin = EIRepScheduler::create();
  plugin->Init(Variant(makeSource()));
  log_->clear();
  plugin.reset();
  EXPECT_EQ(*log_, kReleaseOrder);
  // The settings were saved first.
  EXPECT_TRUE(host_->registry().read(settingsKeyPath(0), "ShowAbility"));
}

TEST_F(SchedulerReleaseTest, AFailingSaveDoesNotStopTheReleases) {
  auto plugin = EIRepScheduler::create();
  plugin->Init(Variant(makeSource()));
  log_->clear();
  host_->faults().add("RegHelper", "WriteValue", 0);
  plugin.reset();
  host_->faults().clear();
  EXPECT_EQ(*log_, kReleaseOrder);
  EXPECT_FALSE(host_->registry().read(settingsKeyPath(0), "ShowAbility"));
}

TEST_F(SchedulerReleaseTest, APluginNeverInitialisedWritesNoSettings) {
  auto plugin = EIRepScheduler::create();
  plugin.reset();
  // Without options there is nothing to save: no value, in no edition's key, was written.
  for (int32_t edition : {0, 1, 2}) {
    for (const char* value : {"FSchedule", "CalcRemainAbility", "FNoPlanICMO", "ShowAbility"}) {
      SCOPED_TRACE(settingsKeyPath(edition) + " " + value);
      EXPECT_FALSE(host_->registry().read(settingsKeyPath(edition), value));
    }
  }
}

}  // namespace
}  // namespace qx::scheduler
