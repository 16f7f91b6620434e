#include "sim/controls/ledger/header_line_service.h"

#include "host/toolkit.h"

namespace qx::sim {

std::span<const automation::Member<HeaderLineService>> HeaderLineService::members() {
  static const automation::Member<HeaderLineService> m[] = {
      {host::kHeaderLineMember, 1, &HeaderLineService::mHeaderLine},
  };
  return m;
}

automation::Variant HeaderLineService::mHeaderLine(automation::Args a) {
  automation::requireArgs(a, 3, host::kHeaderLineMember);
  if (!a[0].get().isObject()) {
    throw automation::Error::objectRequired("the ledger grid control", typeName());
  }
  return automation::Variant(a[2].get().toString());
}

}  // namespace qx::sim
