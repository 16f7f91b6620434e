// The host's registry object over the real registry: ReadValue(path, name, default),
// WriteValue(path, name, value), DeleteKey(path). Paths are full, beginning with the root key
// name ("HKEY_CURRENT_USER\SOFTWARE\..."); the value name "" is the key's default value.
#pragma once

#include "automation/dispatch.h"

namespace qx::win32 {

class RegistryObject final : public automation::Dispatch<RegistryObject> {
 public:
  static constexpr std::string_view kTypeName = "RegHelper";
  static std::span<const automation::Member<RegistryObject>> members();
  static automation::Ref<RegistryObject> create() {
    return automation::makeObject<RegistryObject>();
  }

  // Strings are stored as REG_SZ, whole numbers and Booleans (-1/0) as REG_DWORD, other
  // values as their text. A missing key or value reads as the default.
  automation::Variant readValue(std::string_view path, std::string_view name,
                                const automation::Variant& fallback);
  void writeValue(std::string_view path, std::string_view name, const automation::Variant& value);
  // The key with everything below it; a missing key is nothing to do. A root key is refused.
  void deleteKey(std::string_view path);

 private:
  automation::Variant mReadValue(automation::Args a);
  automation::Variant mWriteValue(automation::Args a);
  automation::Variant mDeleteKey(automation::Args a);
};

}  // namespace qx::win32
