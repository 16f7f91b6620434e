#include "sim/controls/text_table.h"

#include <cstdio>

#include "host/toolkit.h"

namespace qx::sim {

namespace {

// Decodes one UTF-8 sequence at s[i]; invalid bytes count as one character each.
char32_t next(std::string_view s, size_t& i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char c = byte(i);
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  if (i + extra >= s.size()) extra = 0;  // cut short at the end
  char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return c;
    }
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  i += 1 + extra;
  return cp;
}

bool isWide(char32_t cp) {
  struct Range {
    char32_t first, last;
  };
  static constexpr Range kWide[] = {
      {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF},
      {0x4E00, 0x9FFF}, {0xA000, 0xA4CF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF},
      {0xFE30, 0xFE4F}, {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}, {0x20000, 0x3FFFD},
  };
  for (const Range& r : kWide) {
    if (cp >= r.first && cp <= r.last) return true;
  }
  return false;
}

}  // namespace

size_t displayWidth(std::string_view s) {
  size_t width = 0;
  for (size_t i = 0; i < s.size();) width += isWide(next(s, i)) ? 2 : 1;
  return width;
}

std::string padRight(std::string_view text, size_t width) {
  size_t w = displayWidth(text);
  return std::string(text) + std::string(w < width ? width - w : 0, ' ');
}

std::string padLeft(std::string_view text, size_t width) {
  size_t w = displayWidth(text);
  return std::string(w < width ? width - w : 0, ' ') + std::string(text);
}

std::vector<std::string> splitCells(std::string_view line, char separator) {
  std::vector<std::string> cells;
  size_t start = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == separator) {
      cells.emplace_back(line.substr(start, i - start));
      start = i + 1;
    }
  }
  if (start < line.size()) cells.emplace_back(line.substr(start));
  return cells;
}

std::string colourName(int32_t colour) {
  if (colour < 0) return "system colour " + std::to_string(colour & 0xFF);
  if (colour == host::rgb(255, 255, 255)) return "white";
  if (colour == host::rgb(222, 239, 199)) return "light green";
  if (colour == host::rgb(255, 255, 232)) return "light yellow";
  if (colour == host::rgb(247, 244, 239)) return "linen";
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                (colour >> 16) & 0xFF);
  return buf;
}

std::string htmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

bool isFigure(std::string_view text) {
  bool digit = false, point = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == '.' && !point) {
      point = true;  // a second point makes an item code ("2.01.003"), not a figure
    } else if (!((c == ',' && !point) || (c == '-' && i == 0))) {
      return false;
    }
  }
  return digit;
}

}  // namespace qx::sim
