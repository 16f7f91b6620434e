// The substitute host's components, registered under the host's identifiers.
#include "sim/ability_load.h"
#include "sim/host_services.h"
#include "sim/item_line_components.h"
#include "sim/plan_services.h"
#include "sim/sim_host.h"

namespace qx::sim {

void registerSubstitutes(SimHost& host) {
  registerHostServices(host);
  registerAbilityLoad(host);
  registerItemLineComponents(host);
  registerPlanServices(host);
}

}  // namespace qx::sim
