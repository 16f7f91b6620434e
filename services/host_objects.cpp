#include "services/host_objects.h"

#include "automation/arg.h"
#include "host/platform.h"
#include "host/prog_ids.h"

namespace qx::services {

using automation::ObjectRef;
using automation::Variant;

ObjectRef createHostObject(std::string_view progId) {
  // A platform that hands back no object has not created one (CreateObject fails with 429).
  ObjectRef o = host::platform().createObject(progId);
  if (!o) throw automation::Error::cannotCreate(progId);
  return o;
}

ObjectRef execute(const std::string& sql) {
  Variant result;
  {
    // One connection per query: it goes away here, the recordset stays readable.
    ObjectRef connection = createHostObject(host::prog_id::kConnection);
    Variant text(sql);  // the program's variable, passed by reference
    result = connection->call("Execute", automation::byRef(text));
  }
  if (result.isNothing()) return ObjectRef();
  if (!result.isObject()) {
    throw automation::Error::typeMismatch("Execute returned " + automation::describe(result),
                                          std::string(host::prog_id::kConnection));
  }
  return result.toObject();
}

}  // namespace qx::services
