// Helpers for printing tables in a terminal: the display width of UTF-8 text (East Asian wide
// characters take two columns), padding, and names of the colours the ledger uses.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qx::sim {

size_t displayWidth(std::string_view utf8);
// Pads with blanks to `width` display columns, text at the left or at the right.
std::string padRight(std::string_view text, size_t width);
std::string padLeft(std::string_view text, size_t width);
// "a|b|" → {"a", "b"}: the cells of a line whose every cell ends with the separator (a last
// cell without one is kept too).
std::vector<std::string> splitCells(std::string_view line, char separator = '|');
// "white", "light green", ... for the ledger's colours; "#rrggbb" or "system colour n" else.
std::string colourName(int32_t colour);

}  // namespace qx::sim
