#include "win32/com/host_interfaces.h"

#include "automation/text.h"
#include "host/event_interfaces.h"
#include "hostevents.h"

namespace qx::win32 {

namespace {
const HostInterface kHostInterfaces[] = {
    {host::kMasterDataEvents, &IID__MasterDataEvents, &DIID___MasterDataEvents},
    {host::kBillEvents, &IID__BillEvents, &DIID___BillEvents},
};
}  // namespace

const HostInterface* findHostInterface(std::string_view name) noexcept {
  for (const HostInterface& h : kHostInterfaces) {
    if (automation::equalsIgnoreCase(h.name, name)) return &h;
  }
  return nullptr;
}

}  // namespace qx::win32
