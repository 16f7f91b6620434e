// "QxMEIItemLine.ItemLineInfo": the host's item-line service. GetItemLine(propsString,
// options, message) answers the item/line relations matching the options' "Filter" condition
// (on the relations aliased t1, with the line's number and name joined) as a recordset; when
// the query cannot run it answers Nothing and writes the reason into the message.
#pragma once

#include <memory>

#include "automation/dispatch.h"
#include "sim/db/database.h"

namespace qx::sim {

class ItemLineInfo final : public automation::Dispatch<ItemLineInfo> {
 public:
  static constexpr std::string_view kTypeName = "QxMEIItemLine.ItemLineInfo";
  static std::span<const automation::Member<ItemLineInfo>> members();
  explicit ItemLineInfo(std::shared_ptr<Database> database) : database_(std::move(database)) {}

 private:
  automation::Variant mGetItemLine(automation::Args a);

  std::shared_ptr<Database> database_;
};

}  // namespace qx::sim
