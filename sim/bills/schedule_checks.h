// The schedule bill engine's own checks of its rows, run before it asks the plug-in
// (OnCheckData) on every save and check, and the limit quantities that follow a row's quantity
// and limit percentages. Rows are named by their 序号 (grid row − 1), as the planner sees them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/components/host_texts.h"
#include "sim/controls/grid_control.h"

namespace qx::sim {

// Every problem of every row, each as "第 3 行 数量必须大于 0" in the login's language, in row
// order. Per row: the quantity a number > 0; begin and end dates, the end not before the begin;
// a line chosen; limit percentages numbers ≥ 0, the lower one at most 100.
std::vector<std::string> scheduleRowProblems(const GridControl& grid, const HostTexts& texts);

// The quantities of the rows not cancelled.
double scheduledTotal(const GridControl& grid);

// Sets the row's limit quantities from its quantity and limit percentages (the quantity raised
// and lowered by them); a row whose figures are not numbers keeps its limit quantities.
void followLimits(GridControl& grid, int32_t row);

}  // namespace qx::sim
