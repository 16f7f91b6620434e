// The host foundation library's registry object over the substitute registry file.
#pragma once

#include "automation/dispatch.h"
#include "sim/platform/registry_file.h"

namespace qx::sim {

class RegHelper final : public automation::Dispatch<RegHelper> {
 public:
  static constexpr std::string_view kTypeName = "RegHelper";
  static std::span<const automation::Member<RegHelper>> members();
  explicit RegHelper(RegistryFile& registry) : registry_(registry) {}

 private:
  // ReadValue(path, name, default): the stored value, or the default when absent.
  Variant mReadValue(automation::Args a);
  // WriteValue(path, name, value): stores the value with its type.
  Variant mWriteValue(automation::Args a);
  // DeleteKey(path): removes the key and its subkeys; true when something was removed.
  Variant mDeleteKey(automation::Args a);
  Variant mKeyExists(automation::Args a);

  RegistryFile& registry_;
};

}  // namespace qx::sim
