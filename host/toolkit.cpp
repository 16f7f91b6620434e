#include "host/toolkit.h"

#include "automation/text.h"

namespace qx::host {

namespace {

constexpr EventParam kMouse[] = {{"Button", ParamType::Integer, false},
                                 {"Shift", ParamType::Integer, false},
                                 {"X", ParamType::Any, false},
                                 {"Y", ParamType::Any, false}};

constexpr EventDecl kPictureBox[] = {
    {picture_box_event::kMouseDown, "MouseDown", kMouse},
};

constexpr EventDecl kForm[] = {
    {form_event::kResize, "Resize", {}},
    {form_event::kMouseMove, "MouseMove", kMouse},
    {form_event::kMouseUp, "MouseUp", kMouse},
};

constexpr EventParam kRowText[] = {{"lRow", ParamType::Long, false},
                                   {"sText", ParamType::String, true},
                                   {"lBackColor", ParamType::Long, true},
                                   {"vUnused", ParamType::Any, false}};

constexpr EventDecl kLedgerGrid[] = {
    {ledger_grid_event::kRequestRowText, "RequestRowText", kRowText},
};

}  // namespace

std::span<const EventDecl> pictureBoxEvents() {
  return kPictureBox;
}
std::span<const EventDecl> formEvents() {
  return kForm;
}
std::span<const EventDecl> ledgerGridEvents() {
  return kLedgerGrid;
}

std::span<const EventDecl> toolkitEventsOf(std::string_view name) {
  if (automation::equalsIgnoreCase(name, kPictureBoxEvents)) return kPictureBox;
  if (automation::equalsIgnoreCase(name, kFormEvents)) return kForm;
  if (automation::equalsIgnoreCase(name, kLedgerGridEvents)) return kLedgerGrid;
  return {};
}

}  // namespace qx::host
