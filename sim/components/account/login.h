// The login the substitute host was started with: the user, the property string that the
// shared-property manager hands out, and the account's local currency.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qx::sim {

struct Login {
  std::string user = "demo";
  // "key=value" entries separated by ";".
  std::string props =
      "UserID=16394;Language=CHS;QxVersion=ZRA;AcctNumber=001;AcctName=Sample plant";
  // Decimals of the local currency.
  int16_t currencyDecimals = 2;

  // The value of the entry with this key (letter case ignored), or empty.
  std::string entry(std::string_view key) const;
  // Replaces the entry's value, or appends the entry when there is none.
  void setEntry(std::string_view key, std::string_view value);
};

}  // namespace qx::sim
