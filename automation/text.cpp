#include "automation/text.h"

namespace qx::automation {

std::string asciiLower(std::string_view s) {
  std::string r(s);
  for (char& c : r) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return r;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string asciiUpper(std::string_view s) {
  std::string r(s);
  for (char& c : r) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return r;
}

size_t findIgnoreCase(std::string_view hay, std::string_view needle, size_t from) noexcept {
  if (needle.size() > hay.size()) return std::string_view::npos;
  for (size_t i = from; i + needle.size() <= hay.size(); ++i) {
    if (equalsIgnoreCase(hay.substr(i, needle.size()), needle)) return i;
  }
  return std::string_view::npos;
}

size_t utf8Length(std::string_view s) noexcept {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;  // continuation bytes do not count
  return n;
}

}  // namespace qx::automation
