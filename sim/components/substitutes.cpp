// The substitute host's components, registered under the host's identifiers.
#include "sim/components/capacity/ability_load.h"
#include "sim/components/host_services.h"
#include "sim/components/lines/item_line_components.h"
#include "sim/components/plan_services.h"
#include "sim/sim_host.h"

namespace qx::sim {

void registerSubstitutes(SimHost& host) {
  registerHostServices(host);
  registerAbilityLoad(host);
  registerItemLineComponents(host);
  registerPlanServices(host);
}

}  // namespace qx::sim
