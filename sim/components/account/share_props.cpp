#include "sim/components/account/share_props.h"

#include "automation/text.h"

namespace qx::sim {

using automation::Args;
using automation::Error;
using automation::Variant;

std::span<const automation::Member<ShareProps>> ShareProps::members() {
  static const automation::Member<ShareProps> m[] = {
      {"GetProperty", 1, &ShareProps::mGetProperty},
  };
  return m;
}

Variant ShareProps::mGetProperty(Args a) {
  automation::requireArgs(a, 2, "GetProperty");
  int64_t process = a[0].get().toInt32();
  std::string name = a[1].get().toString();
  if (process != static_cast<int32_t>(processId_)) {
    throw Error::invalidProcedureCall("no login for process " + std::to_string(process),
                                      typeName());
  }
  if (automation::equalsIgnoreCase(name, "PropsString")) return Variant(login_->props);
  if (automation::equalsIgnoreCase(name, "UserName")) return Variant(login_->user);
  throw Error::invalidProcedureCall("no shared property \"" + name + "\"", typeName());
}

}  // namespace qx::sim
