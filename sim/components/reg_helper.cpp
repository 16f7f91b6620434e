#include "sim/components/reg_helper.h"

namespace qx::sim {

using automation::Args;
using automation::requireArgs;

std::span<const automation::Member<RegHelper>> RegHelper::members() {
  static const automation::Member<RegHelper> m[] = {
      {"ReadValue", 1, &RegHelper::mReadValue},
      {"WriteValue", 2, &RegHelper::mWriteValue},
      {"DeleteKey", 3, &RegHelper::mDeleteKey},
      {"KeyExists", 4, &RegHelper::mKeyExists},
  };
  return m;
}

Variant RegHelper::mReadValue(Args a) {
  requireArgs(a, 3, "ReadValue");
  auto v = registry_.read(a[0].get().toString(), a[1].get().toString());
  return v ? *v : a[2].get();
}

Variant RegHelper::mWriteValue(Args a) {
  requireArgs(a, 3, "WriteValue");
  registry_.write(a[0].get().toString(), a[1].get().toString(), a[2].get().value());
  return Variant();
}

Variant RegHelper::mDeleteKey(Args a) {
  requireArgs(a, 1, "DeleteKey");
  return Variant(registry_.deleteKey(a[0].get().toString()));
}

Variant RegHelper::mKeyExists(Args a) {
  requireArgs(a, 1, "KeyExists");
  return Variant(registry_.keyExists(a[0].get().toString()));
}

}  // namespace qx::sim
