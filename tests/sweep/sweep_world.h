// One run of a sweep scenario: a substitute host of its own over copies of the sample database
// and of a registry file, both bills, and snapshots of what must not be lost (the schedule
// grid, txtNoQty, the database's rows, the settings as the registry file holds them).
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/ref.h"
#include "host/prog_ids.h"
#include "resource/ei_resource.h"
#include "scheduler/ei_rep_scheduler.h"
#include "services/local_string.h"
#include "sim/bills/master_data_bill.h"
#include "sim/bills/schedule_bill.h"
#include "sim/db/sqlite_db.h"
#include "sim/platform/registry_file.h"
#include "sim/sim_host.h"
#include "widgets/ledger_data.h"

namespace qx::sweep {

using automation::Error;
using automation::ObjectRef;
using automation::Variant;

// What must survive a run, as text so that two snapshots compare cell by cell.
struct Snapshot {
  std::vector<std::vector<std::string>> grid;  // [row][col] of the schedule grid
  std::string noQty;
  std::map<std::string, std::string> tables;    // table → its rows
  std::map<std::string, std::string> settings;  // "key|name" → value, parsed from the file
};

// Every row of every table, in rowid order.
inline std::map<std::string, std::string> dumpTables(const std::filesystem::path& file) {
  sim::SqliteDb db = sim::SqliteDb::open(file);
  return sim::dumpTables(db);
}

inline std::map<std::string, std::string> parseSettings(const std::filesystem::path& file) {
  sim::RegistryFile reg(file);
  std::map<std::string, std::string> values;
  for (const std::string& key : reg.keysUnder("HKEY_CURRENT_USER")) {
    for (const auto& [name, v] : reg.values(key))
      values[key + "|" + name] = automation::describe(v);
  }
  if (!reg.loadProblem().empty()) values["(unreadable)"] = reg.loadProblem();
  // An absent setting reads as its default: storing the default changes nothing.
  const std::string key = scheduler::settingsKeyPath(0) + "|";
  for (const char* name : {"FSchedule", "CalcRemainAbility", "FNoPlanICMO"}) {
    values.emplace(key + name, automation::describe(Variant(int16_t{0})));
  }
  values.emplace(key + "ShowAbility", automation::describe(Variant(false)));
  return values;
}

// The sample database and a registry file with one setting, in `home`: what runs start from.
inline void makeTemplate(const std::filesystem::path& home, const char* setting, Variant value) {
  sim::HostOptions o = sim::HostOptions::fromEnvironment();
  o.home = home;
  o.database.clear();
  {
    sim::SimHost host(o);
    host.database().open();
    host.registry().write(scheduler::settingsKeyPath(0), setting, value);
  }
  services::releaseModuleState();
}

class World {
 public:
  // `database` and `registry` are copied into `dir`, which the run owns.
  World(const std::filesystem::path& dir, const std::filesystem::path& database,
        const std::filesystem::path& registry)
      : dir_(dir) {
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    std::filesystem::copy_file(database, dir_ / "sample.db");
    if (std::filesystem::exists(registry)) {
      std::filesystem::copy_file(registry, dir_ / "registry.txt");
    }
    sim::HostOptions o = sim::HostOptions::fromEnvironment();
    o.home = dir_;
    o.database.clear();
    o.today = "2026-12-08";
    host_ = std::make_unique<sim::SimHost>(o);
    host_->components().registerComponent(host::prog_id::kEIRepScheduler, [] {
      return ObjectRef(scheduler::EIRepScheduler::create());
    });
    host_->components().registerComponent(host::prog_id::kEIResource,
                                          [] { return ObjectRef(resource::EIResource::create()); });
    // Calls on the component's own objects are the host calling in, not host calls.
    for (const char* own : {"EIRepScheduler", "EIResource", "cSplitter", "LedgerData", "EventSink",
                            "QxIndDepComponent.EIRepScheduler", "QxIndDepComponent.EIResource"}) {
      host_->faults().exclude(own);
    }
  }
  ~World() {
    resourcePlugin.reset();
    resource.reset();
    schedule.reset();
    host_.reset();
    services::releaseModuleState();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  sim::SimHost& host() { return *host_; }

  // The schedule bill of a work order with the plug-in attached (`attach` false: without).
  void openSchedule(int32_t workOrder, bool attach = true) {
    schedule =
        std::make_unique<sim::ScheduleBill>(*host_, ObjectRef(widgets::LedgerData::create()));
    schedule->load(workOrder);
    if (attach && schedule->attachPlugin(host::prog_id::kEIRepScheduler)) {
      throw Error(5, "the plug-in did not attach", "sweep");
    }
  }
  void openResource(bool attach = true) {
    resource = automation::makeObject<sim::MasterDataBill>(host_->databaseShared());
    if (attach) attachResource();
  }
  void attachResource() {
    resourcePlugin = host_->platform().createObject(host::prog_id::kEIResource);
    resourcePlugin->call("Init", ObjectRef(resource->events()));
  }
  sim::ScheduleForm const& form() const { return schedule->form(); }

  Snapshot snapshot() const {
    Snapshot s;
    if (schedule) {
      const sim::GridControl& g = *form().grid;
      for (int32_t r = 1; r <= g.rows(); ++r) {
        auto& row = s.grid.emplace_back();
        for (int32_t c = 1; c <= g.cols(); ++c)
          row.push_back(automation::describe(g.cell(r, c).value));
      }
      s.noQty = form().text("txtNoQty").text;
    }
    s.tables = dumpTables(dir_ / "sample.db");
    s.settings = parseSettings(dir_ / "registry.txt");
    return s;
  }

  std::unique_ptr<sim::ScheduleBill> schedule;
  automation::Ref<sim::MasterDataBill> resource;
  ObjectRef resourcePlugin;

 private:
  std::filesystem::path dir_;
  std::unique_ptr<sim::SimHost> host_;
};

}  // namespace qx::sweep
