#include "sim/components/lines/item_line_info.h"

#include "sim/components/lines/item_line_query.h"

namespace qx::sim {

using automation::Args;
using automation::Variant;

std::span<const automation::Member<ItemLineInfo>> ItemLineInfo::members() {
  static const automation::Member<ItemLineInfo> m[] = {
      {"GetItemLine", 1, &ItemLineInfo::mGetItemLine},
  };
  return m;
}

Variant ItemLineInfo::mGetItemLine(Args a) {
  // The login's property string (first argument) names the account; the substitute host has
  // one database, so it is not read.
  automation::requireArgs(a, 3, "GetItemLine");
  auto refuse = [&](const std::string& reason) {
    a[2].set(Variant(reason));
    return Variant::nothing();
  };
  std::string filter;
  try {
    automation::ObjectRef options = a[1].get().objectOrNull();
    if (!options) return refuse("GetItemLine: no options were given");
    Variant f = options->call("GetValue", "Filter", Variant(""));
    filter = f.isNull() || f.isEmpty() ? std::string() : f.toString();
  } catch (const automation::Error& e) {
    return refuse("GetItemLine: the options cannot be read: " + e.description());
  }
  try {
    SqliteDb db = database_->open();
    return Variant(queryItemLines(db, filter));
  } catch (const automation::Error& e) {
    return refuse("GetItemLine: the item/line relations cannot be read with the filter \"" +
                  filter + "\": " + e.description());
  }
}

}  // namespace qx::sim
