#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

std::string demoScript() {
  return R"(# The component registers itself with the host and both plug-ins are created by identifier.
register
create resource QxIndDepComponent.EIResource
source engine MasterDataEvents
init resource $engine
raise engine OnGetECaption "" false
raise engine OnGetMTSComponent "QxMResource.ResourceList" true
release resource
create scheduler qxinddepcomponent.eirepscheduler
init scheduler nothing
release scheduler
can-unload
)";
}

}  // namespace qx::qxhost
