// The substitute host's rights table: for each user, the granted bits per object type and
// object id, as the general-ledger object's AccessCheck reads them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <tuple>

namespace qx::sim {

class AccessRights {
 public:
  // The default table: the default user "demo" holds every right.
  AccessRights();

  void grant(std::string_view user, int32_t objectType, int32_t objectId, uint32_t mask);
  // Revoking also ends an all-rights grant of the user.
  void revoke(std::string_view user, int32_t objectType, int32_t objectId, uint32_t mask);
  // True when every bit of `mask` is granted to the user (letter case of names ignored). A
  // user with every right passes every check.
  bool check(std::string_view user, int32_t objectType, int32_t objectId, uint32_t mask) const;
  void grantAll(std::string_view user);
  void clear(std::string_view user);

 private:
  using Key = std::tuple<std::string, int32_t, int32_t>;
  std::map<Key, uint32_t> granted_;
  std::map<std::string, bool> everything_;
};

}  // namespace qx::sim
