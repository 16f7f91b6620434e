// Host components reached by programmatic identifier, and the connection every SQL query goes
// through.
#pragma once

#include <string>
#include <string_view>

#include "automation/object.h"

namespace qx::services {

// Creates the host component registered under `progId` (letter case ignored); a component
// that is not registered or cannot be created is the caller's failure (429).
[[nodiscard]] automation::ObjectRef createHostObject(std::string_view progId);

// Runs `sql` through a new "QxConnection.AppConnection", released as soon as Execute returns.
// The result is the recordset, or null when the query returned no object. A failing Execute is
// the caller's failure; an answer that is neither an object nor Nothing is a type mismatch.
[[nodiscard]] automation::ObjectRef execute(const std::string& sql);

}  // namespace qx::services
