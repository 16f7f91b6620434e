// The repetitive schedule bill's form as the host builds it: the detail grid with the schedule
// columns, the tool bar, the header text boxes, the splitter bar, the capacity ledger grid with
// the form's own ledger binding, and the frame below them. Geometry in twips for a maximised
// form (1280 × 720 pixels at 15 twips per pixel).
#pragma once

#include <map>
#include <span>
#include <string>

#include "sim/controls/form.h"
#include "sim/controls/grid_control.h"
#include "sim/controls/ledger/ledger_grid.h"
#include "sim/controls/picture_box.h"
#include "sim/controls/text_box.h"
#include "sim/controls/tool_bar.h"

namespace qx::sim {

struct ScheduleColumn {
  std::string_view key;      // "ColLineId"
  std::string_view caption;  // the grid's heading
};
// The grid's columns in display order; a column's index is its position from 1.
std::span<const ScheduleColumn> scheduleColumns();
int32_t scheduleColumnIndex(std::string_view key);  // 0 when there is no such column

struct ScheduleForm {
  automation::Ref<Form> form;
  automation::Ref<GridControl> grid;
  automation::Ref<ToolBar> menuBar;
  automation::Ref<PictureBox> picSplit;
  automation::Ref<LedgerGrid> ldgAbility;
  automation::Ref<PictureBox> fraOther;
  automation::ObjectRef ledgerBinding;  // m_ldgData; null when the host has none
  std::map<std::string, automation::Ref<TextBox>> textBoxes;

  TextBox& text(const std::string& name) const { return *textBoxes.at(name); }
};

// Builds the form with its controls; the binding (when given) is attached to ldgAbility.
ScheduleForm buildScheduleForm(SimPlatform& platform, automation::ObjectRef ledgerBinding);

}  // namespace qx::sim
