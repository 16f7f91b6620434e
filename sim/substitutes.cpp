// The substitute host's components, registered under the host's identifiers.
#include "sim/host_services.h"
#include "sim/item_line_components.h"
#include "sim/sim_host.h"

namespace qx::sim {

void registerSubstitutes(SimHost& host) {
  registerHostServices(host);
  registerItemLineComponents(host);
}

}  // namespace qx::sim
