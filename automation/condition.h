// A value tested as a condition (If, While): Null counts as false, as the runtime's If does;
// anything else converts to Boolean (a text that is no number fails with 13).
#pragma once

#include "automation/variant.h"

namespace qx::automation {

inline bool isTrue(const Variant& v) {
  return !v.isNull() && v.toBool();
}

}  // namespace qx::automation
