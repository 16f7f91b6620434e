// Completion of what is typed in a session: command names, and the fixed words a command's
// usage shows at the place being typed (schedule open|select|..., export --csv).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

// The words that may complete the last word of `before` (the line up to the cursor; a blank at
// its end starts a new word), sorted, each once. Letter case of what is typed is ignored.
std::vector<std::string> completions(const std::vector<Workbench::Command>& commands,
                                     std::string_view before);

// The longest beginning all the words share.
std::string commonPrefix(const std::vector<std::string>& words);

}  // namespace qx::qxhost
