#include "automation/dispatch.h"

namespace qx::automation {

void NameTable::add(std::string_view name, DispId id) {
  byName_.emplace(asciiLower(name), id);
  byId_.emplace(id, std::string(name));
}

std::optional<DispId> NameTable::find(std::string_view name) const {
  auto it = byName_.find(asciiLower(name));
  if (it == byName_.end()) return std::nullopt;
  return it->second;
}

std::string NameTable::nameOf(DispId id) const {
  auto it = byId_.find(id);
  return it == byId_.end() ? std::string() : it->second;
}

}  // namespace qx::automation
