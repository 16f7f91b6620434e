#include "sim/components/host_services.h"

#include "host/prog_ids.h"
#include "sim/components/account/gl_data.h"
#include "sim/components/account/share_props.h"
#include "sim/components/res_loader.h"
#include "sim/db/sqlite_connection.h"
#include "sim/sim_host.h"

namespace qx::sim {

namespace id = host::prog_id;
using automation::makeObject;
using automation::ObjectRef;

void registerHostServices(SimHost& host) {
  ComponentRegistry& c = host.components();
  // The factories copy what they need, so they stay valid as long as the registry.
  std::shared_ptr<Database> database(host.databaseShared());
  c.registerComponent(id::kConnection,
                      [database] { return ObjectRef(makeObject<SqliteConnection>(database)); });
  std::filesystem::path strings = host.options().dataDir / "strings";
  c.registerComponent(id::kResLoader,
                      [strings] { return ObjectRef(makeObject<ResLoader>(strings)); });
  std::shared_ptr<const Login> login = host.loginShared();
  uint32_t process = host.platform().processId();
  c.registerComponent(id::kShareProps, [login, process] {
    return ObjectRef(makeObject<ShareProps>(login, process));
  });
  std::shared_ptr<const AccessRights> rights = host.rightsShared();
  c.registerComponent(id::kGLData,
                      [login, rights] { return ObjectRef(makeObject<GLData>(login, rights)); });
}

}  // namespace qx::sim
