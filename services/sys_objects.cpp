#include "services/sys_objects.h"

#include "host/prog_ids.h"
#include "services/host_objects.h"

namespace qx::services {

automation::ObjectRef NewGLData() {
  return createHostObject(host::prog_id::kGLData);
}

}  // namespace qx::services
