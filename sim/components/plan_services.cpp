#include "sim/components/plan_services.h"

#include "host/prog_ids.h"
#include "sim/components/account/system_profile.h"
#include "sim/components/reports/report_view.h"
#include "sim/components/reports/rpt902.h"
#include "sim/sim_host.h"

namespace qx::sim {

namespace id = host::prog_id;
using automation::makeObject;
using automation::ObjectRef;

void registerPlanServices(SimHost& host) {
  ComponentRegistry& c = host.components();
  std::shared_ptr<Database> database = host.databaseShared();
  std::string today = host.options().today;
  c.registerComponent(id::kRepSchedulerMain,
                      [today] { return ObjectRef(makeObject<RepSchedulerMain>(today)); });
  c.registerComponent(id::kSystemProfile,
                      [database] { return ObjectRef(makeObject<SystemProfile>(database)); });
  c.registerComponent(id::kRpt902,
                      [database, today] { return ObjectRef(makeObject<Rpt902>(database, today)); });
  std::shared_ptr<ReportShelf> shelf = host.reportsShared();
  c.registerComponent(id::kReportView,
                      [shelf] { return ObjectRef(makeObject<ReportView>(shelf)); });
}

}  // namespace qx::sim
