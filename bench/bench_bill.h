// The schedule bill of a sample work order with the plug-in attached, on a fresh sample
// database in a home folder of its own, for the benchmarks that drive the plug-in through the
// bill. Register components or write settings on host() before open().
#pragma once

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "host/prog_ids.h"
#include "scheduler/ei_rep_scheduler.h"
#include "services/local_string.h"
#include "sim/bills/schedule_bill.h"
#include "sim/sim_host.h"
#include "widgets/ledger_data.h"

namespace qx::scheduler {

class BenchBill {
 public:
  explicit BenchBill(const std::string& name, const std::string& today = {})
      : home_(std::filesystem::temp_directory_path() /
              ("qx_" + name + "_" + std::to_string(getpid()))) {
    std::filesystem::remove_all(home_);
    sim::HostOptions o = sim::HostOptions::fromEnvironment();
    o.home = home_;
    o.database.clear();
    if (!today.empty()) o.today = today;
    host_ = std::make_unique<sim::SimHost>(o);
    host_->components().registerComponent(host::prog_id::kEIRepScheduler,
                                          [] { return ObjectRef(EIRepScheduler::create()); });
  }
  ~BenchBill() {
    bill_.reset();
    host_.reset();
    services::releaseModuleState();
    std::filesystem::remove_all(home_);
  }
  BenchBill(const BenchBill&) = delete;
  BenchBill& operator=(const BenchBill&) = delete;

  // Loads the work order and attaches the plug-in; `beforeAttach` may edit the loaded bill.
  void open(int32_t workOrder, const std::function<void(sim::ScheduleBill&)>& beforeAttach = {}) {
    bill_ = std::make_unique<sim::ScheduleBill>(*host_, ObjectRef(widgets::LedgerData::create()));
    bill_->load(workOrder);
    if (beforeAttach) beforeAttach(*bill_);
    if (auto failure = bill_->attachPlugin(host::prog_id::kEIRepScheduler)) throw *failure;
  }

  sim::SimHost& host() { return *host_; }
  sim::ScheduleBill& bill() { return *bill_; }
  EIRepScheduler& plugin() { return dynamic_cast<EIRepScheduler&>(*bill_->plugin()); }

 private:
  std::filesystem::path home_;
  std::unique_ptr<sim::SimHost> host_;
  std::unique_ptr<sim::ScheduleBill> bill_;
};

}  // namespace qx::scheduler
