// Helpers for showing tables in a terminal or a page: the display width of UTF-8 text (East Asian
// wide characters take two columns), padding, names of the colours the ledger uses, HTML text.
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
// Text made safe for HTML content and attribute values.
std::string htmlEscape(std::string_view text);
// A figure as a grid, ledger or report shows it ("1,120.50", "-3"): digits with separators, a
// leading sign, a decimal point; dates and codes are not.
bool isFigure(std::string_view text);

}  // namespace qx::sim
