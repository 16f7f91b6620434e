// The host's item/line components: the item-line service and the line browser.
#pragma once

namespace qx::sim {

class SimHost;

// Registers "QxMEIItemLine.ItemLineInfo" and "QxEIItemLine.Browser" with the host's component
// registry.
void registerItemLineComponents(SimHost& host);

}  // namespace qx::sim
