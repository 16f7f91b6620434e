// The bill engine of the resource master-data bill: it raises the MasterDataEvents events on
// its event source, as the host does when the user opens, saves or deletes a resource, and
// carries out what the plug-ins allowed on the host's database.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "automation/dispatch.h"
#include "sim/bills/event_source.h"
#include "sim/db/database.h"

namespace qx::sim {

class MasterDataBill final : public automation::Dispatch<MasterDataBill> {
 public:
  static constexpr std::string_view kTypeName = "MasterDataBill";
  static std::span<const automation::Member<MasterDataBill>> members();
  explicit MasterDataBill(std::shared_ptr<Database> database);

  // The source handed to a plug-in's Init.
  const automation::Ref<EventSource>& events() const noexcept { return events_; }

  // An event's by-reference arguments after the plug-ins answered, or the failure it raised.
  struct Outcome {
    std::vector<std::pair<std::string, Variant>> byRef;
    std::optional<automation::Error> failure;
    // What the engine did: "saved 1009", "deleted", "kept", ...
    std::string action;
    const Variant& operator[](std::string_view name) const;
  };
  using Field = std::pair<std::string, Variant>;

  // OnGetTitleInfo with no vector yet: the plug-ins' extra column definitions.
  Outcome columns();
  // OnGetMTSComponent for one of the engine's server components.
  Outcome component(const std::string& progId);
  // OnGetECaption: the caption key of the list.
  Outcome caption();
  // OnCheckData with the record's field entries ("FName"/"TrueValue" records); an accepted
  // record is stored in t_resource: updated when FInterID names an existing resource, added
  // otherwise.
  Outcome save(const std::vector<Field>& fields);
  // OnCheckCanDel; an allowed deletion removes the resource and its working calendar.
  Outcome remove(int32_t interId);

 private:
  Outcome raise(std::string_view event, std::vector<std::pair<std::string, Variant>> args,
                size_t firstByRef);
  std::string store(const std::vector<Field>& fields);

  std::shared_ptr<Database> database_;
  automation::Ref<EventSource> events_;
};

}  // namespace qx::sim
