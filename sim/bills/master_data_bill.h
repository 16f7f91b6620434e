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
#include "sim/components/host_texts.h"
#include "sim/db/database.h"

namespace qx::sim {

class MasterDataBill final : public automation::Dispatch<MasterDataBill> {
 public:
  static constexpr std::string_view kTypeName = "MasterDataBill";
  static std::span<const automation::Member<MasterDataBill>> members();
  // `texts`: the host's texts in the login's language (null: its messages in Chinese).
  explicit MasterDataBill(std::shared_ptr<Database> database,
                          std::shared_ptr<const HostTexts> texts = nullptr);

  // The source handed to a plug-in's Init.
  const automation::Ref<EventSource>& events() const noexcept { return events_; }

  // An event's by-reference arguments after the plug-ins answered, or the failure it raised.
  struct Outcome {
    std::vector<std::pair<std::string, Variant>> byRef;
    std::optional<automation::Error> failure;
    // What the engine did, in the login's language: "已保存资源 1009", "未删除", ...
    std::string action;
    // The save or delete was carried out (neither refused, failed nor kept).
    bool stored = false;
    const Variant& operator[](std::string_view name) const;
  };
  using Field = std::pair<std::string, Variant>;

  // OnGetTitleInfo with no vector yet: the plug-ins' extra column definitions.
  Outcome columns();
  // OnGetMTSComponent for one of the engine's server components.
  Outcome component(const std::string& progId);
  // OnGetECaption: the caption key of the list.
  Outcome caption();
  // The bill's own field check first: a productivity ("FEIProductivity") other than 0 must be a
  // finite number > 0, else the record is refused (sMsg, bCancel) before any plug-in sees it.
  // Then OnCheckData with the record's field entries ("FName"/"TrueValue" records); an accepted
  // record is stored in t_resource: updated when FInterID names an existing resource, added
  // otherwise.
  Outcome save(const std::vector<Field>& fields);
  // OnCheckCanDel; an allowed deletion removes the resource and its working calendar.
  Outcome remove(int32_t interId);

 private:
  Outcome raise(std::string_view event, std::vector<std::pair<std::string, Variant>> args,
                size_t firstByRef);
  std::string store(const std::vector<Field>& fields);
  // A text of the engine in the login's language, "{1}" filled in.
  std::string said(const std::string& source, const std::vector<std::string>& args = {}) const;

  std::shared_ptr<Database> database_;
  std::shared_ptr<const HostTexts> texts_;
  automation::Ref<EventSource> events_;
};

}  // namespace qx::sim
