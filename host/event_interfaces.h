// The host engine's two event-source interfaces: their events (by dispatch id) with parameter
// lists, and the operations of BillEvents that the schedule plug-in calls by position.
#pragma once

#include <span>
#include <string_view>

#include "automation/arg.h"

namespace qx::host {

using automation::DispId;

inline constexpr std::string_view kMasterDataEvents = "MasterDataEvents";
inline constexpr std::string_view kBillEvents = "BillEvents";

enum class ParamType { Flag, String, Long, Integer, Object, Any };

struct EventParam {
  std::string_view name;
  ParamType type;
  bool byRef;
};

struct EventDecl {
  DispId id;
  std::string_view name;
  std::span<const EventParam> params;
};

namespace master_data_event {
inline constexpr DispId kOnGetTitleInfo = 1, kOnGetMTSComponent = 2, kOnGetECaption = 3,
                        kOnCheckData = 4, kOnCheckCanDel = 5;
}

namespace bill_event {
// 1, 2, 6, 7 and 8 belong to the engine and are not handled by the plug-in.
inline constexpr DispId kOnBillInit = 1, kOnBeforeShowData = 2, kOnCheckData = 3,
                        kOnGridKeyDown = 4, kOnShowDataEnd = 5, kOnAfterSave = 6,
                        kOnCellChanged = 7, kOnBeforeClose = 8, kOnSelectChanged = 9,
                        kOnBarClick = 10;
}  // namespace bill_event

// Operations of BillEvents, by position from 1 after the automation base; their dispatch id is
// kBillOperationBase + position - 1.
namespace bill_op {
inline constexpr DispId kBillOperationBase = 0x60030000;
inline constexpr int kGetForm = 1, kGetColumns = 2, kGetInterID = 3, kGetBillStatus = 4,
                     kRefreshBill = 5, kRenumberRows = 6, kSetBillChanged = 7, kRefreshTotals = 8,
                     kGetMenuBar = 9, kShowDetail = 10;
constexpr DispId idOf(int position) {
  return kBillOperationBase + position - 1;
}
std::string_view nameOf(int position);
}  // namespace bill_op

std::span<const EventDecl> masterDataEvents();
std::span<const EventDecl> billEvents();
// The events of an interface by its name ("MasterDataEvents" or "BillEvents"), empty if unknown.
std::span<const EventDecl> eventsOf(std::string_view interfaceName);
// An event by name (letter case ignored) or by id; null when the interface has no such event.
const EventDecl* findEvent(std::string_view interfaceName, std::string_view name);
const EventDecl* findEvent(std::string_view interfaceName, DispId id);

// Checks raised arguments against the declaration: count (449 too few, 450 too many) and types
// (13), by-reference parameters passed by reference.
void checkEventArgs(const EventDecl& decl, automation::Args args);

}  // namespace qx::host
