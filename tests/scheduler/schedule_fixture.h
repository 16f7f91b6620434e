// A substitute host with the schedule bill of the sample work order 5001 and the plug-in built
// into this test program, registered under its identifier.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "host/prog_ids.h"
#include "scheduler/ei_rep_scheduler.h"
#include "services/local_string.h"
#include "sim/bills/schedule_bill.h"
#include "sim/sim_host.h"
#include "support/live_objects.h"
#include "support/temp_home.h"
#include "widgets/ledger_data.h"

namespace qx::scheduler {

class ScheduleFixture : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    home_ = qx::testing::uniqueTempPath("sched");
    std::filesystem::remove_all(home_);
    sim::HostOptions o = sim::HostOptions::fromEnvironment();
    o.home = home_;
    o.database.clear();
    host_ = std::make_unique<sim::SimHost>(o);
    host_->components().registerComponent(host::prog_id::kEIRepScheduler, [] {
      return automation::ObjectRef(EIRepScheduler::create());
    });
  }
  void TearDown() override {
    bill_.reset();
    host_.reset();
    services::releaseModuleState();  // the thread's resource loader, kept by design
    std::filesystem::remove_all(home_);
    LiveObjectsTest::TearDown();
  }

  // Opens work order 5001; `binding` false builds a form without its ledger binding.
  std::optional<automation::Error> open(bool binding = true) {
    bill_ = std::make_unique<sim::ScheduleBill>(
        *host_,
        binding ? automation::ObjectRef(widgets::LedgerData::create()) : automation::ObjectRef());
    bill_->load(5001);
    return bill_->attachPlugin(host::prog_id::kEIRepScheduler);
  }
  EIRepScheduler& plugin() { return dynamic_cast<EIRepScheduler&>(*bill_->plugin()); }
  const sim::ScheduleForm& form() { return bill_->form(); }
  void close() { bill_.reset(); }

  // Mouse down on the bar (bar-local y), moves and the drop in form coordinates.
  void drag(double grabY, std::initializer_list<double> ys) {
    form().picSplit->mouseDown(100, grabY);
    double last = 0;
    for (double y : ys) {
      form().form->mouseMove(100, y);
      last = y;
    }
    form().form->mouseUp(100, last);
  }

  std::filesystem::path home_;
  std::unique_ptr<sim::SimHost> host_;
  std::unique_ptr<sim::ScheduleBill> bill_;
};

}  // namespace qx::scheduler
