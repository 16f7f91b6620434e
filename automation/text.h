// Letter case rules for member names, identifiers and keys (ASCII only, as automation names).
#pragma once

#include <string>
#include <string_view>

namespace qx::automation {

std::string asciiLower(std::string_view s);
std::string asciiUpper(std::string_view s);
bool equalsIgnoreCase(std::string_view a, std::string_view b) noexcept;
// Position of `needle` in `hay` ignoring ASCII letter case, or npos.
size_t findIgnoreCase(std::string_view hay, std::string_view needle, size_t from = 0) noexcept;

}  // namespace qx::automation
