// The substitute host's components, registered under the host's identifiers.
#include "sim/sim_host.h"

namespace qx::sim {

void registerSubstitutes(SimHost&) {}

}  // namespace qx::sim
