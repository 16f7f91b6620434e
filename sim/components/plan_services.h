// The host components of planning and reporting: the schedule server, the system profile, the
// remaining-capacity report and the report viewer.
#pragma once

namespace qx::sim {

class SimHost;

// Registers "qxMRepScheduler.clsMain", "QRVBase.SystemProfile", "QxEIRpt.Rpt902" and
// "qxVRpt.View" with the host's component registry.
void registerPlanServices(SimHost& host);

}  // namespace qx::sim
