// The host's service components: the database connection, the resource loader, the
// shared-property manager and the general-ledger object.
#pragma once

namespace qx::sim {

class SimHost;

// Registers "QxConnection.AppConnection", "QxResLoader.Loader", "ShareVault.ShareProps" and
// "QRWGLView.GLData" with the host's component registry.
void registerHostServices(SimHost& host);

}  // namespace qx::sim
