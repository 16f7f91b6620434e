// Text rules: letter case of member names, identifiers and keys (ASCII only, as automation
// names), and the length of a text in characters.
#pragma once

#include <string>
#include <string_view>

namespace qx::automation {

std::string asciiLower(std::string_view s);
std::string asciiUpper(std::string_view s);
bool equalsIgnoreCase(std::string_view a, std::string_view b) noexcept;
// Position of `needle` in `hay` ignoring ASCII letter case, or npos.
size_t findIgnoreCase(std::string_view hay, std::string_view needle, size_t from = 0) noexcept;
// Characters of a UTF-8 text (each code point counts once; stray bytes count one each).
size_t utf8Length(std::string_view s) noexcept;

}  // namespace qx::automation
