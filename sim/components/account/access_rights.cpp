#include "sim/components/account/access_rights.h"

#include "automation/text.h"

namespace qx::sim {

using automation::asciiLower;

AccessRights::AccessRights() {
  grantAll("demo");
}

void AccessRights::grant(std::string_view user, int32_t type, int32_t id, uint32_t mask) {
  granted_[{asciiLower(user), type, id}] |= mask;
}

void AccessRights::revoke(std::string_view user, int32_t type, int32_t id, uint32_t mask) {
  std::string u = asciiLower(user);
  everything_.erase(u);
  auto it = granted_.find({u, type, id});
  if (it != granted_.end()) it->second &= ~mask;
}

bool AccessRights::check(std::string_view user, int32_t type, int32_t id, uint32_t mask) const {
  std::string u = asciiLower(user);
  if (everything_.count(u)) return true;
  auto it = granted_.find({u, type, id});
  return it != granted_.end() && (it->second & mask) == mask;
}

void AccessRights::grantAll(std::string_view user) {
  everything_[asciiLower(user)] = true;
}

void AccessRights::clear(std::string_view user) {
  std::string u = asciiLower(user);
  everything_.erase(u);
  std::erase_if(granted_, [&](const auto& e) { return std::get<0>(e.first) == u; });
}

}  // namespace qx::sim
