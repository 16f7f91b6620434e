#include "sim/platform/host_date.h"

#include <ctime>

#include "automation/conversions.h"

namespace qx::sim {

bool isHostDate(std::string_view text) noexcept {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  // Parsing and writing back rejects dates that do not exist (2027-02-30).
  auto d = automation::parseDate(text);
  return d && automation::formatDate(*d) == text;
}

std::string hostDate(std::string_view fixed) {
  if (!fixed.empty()) return std::string(fixed);
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

}  // namespace qx::sim
