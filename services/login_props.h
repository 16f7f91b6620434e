// Properties of the login, kept by the host's shared-property manager for each process. They
// are never cached: every call asks the manager again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "automation/variant.h"

namespace qx::services {

// Edition numbers of the codes "ZRA", "ZRB", "ZRC".
inline constexpr int32_t kEditionA = 0, kEditionB = 1, kEditionC = 2;

// A shared property of the current process, as the manager answers it (objects included).
// Failures are the caller's.
automation::Variant GetShareProperty(const std::string& name);
// The property string of the login: "key=value" entries separated by ";".
std::string GetPropsString();
// The logged-in user's name.
std::string GetUserName();

// The value of the entry whose key is `key` (letter case ignored), or the empty text. Only whole
// keys match: an entry at the start of the property string or right after a ";". Never fails:
// a property string that cannot be read counts as empty.
std::string GetPropValue(std::string_view key);

// 0, 1 or 2 for the edition codes (letter case ignored), `defaultEdition` for anything else.
int32_t GetEdition(int32_t defaultEdition);

}  // namespace qx::services
