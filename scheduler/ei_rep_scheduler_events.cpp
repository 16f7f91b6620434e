// The bill engine's selection and data-display events: the capacity ledger follows the
// selected row and newly displayed data, and the row being left is checked.
#include <optional>

#include "automation/steps.h"
#include "scheduler/ei_rep_scheduler.h"
#include "scheduler/grid_rows.h"
#include "services/local_string.h"
#include "services/msg.h"

namespace qx::scheduler {

namespace {
constexpr int32_t kFirstDataRow = 2;
}  // namespace

void EIRepScheduler::m_oEvent_OnSelectChanged(const Variant& IRow, const Variant& iCol,
                                              const Variant& iPreRow, const Variant& iPreCol,
                                              Variant& bCancel) {
  // A selection event raised while this runs (by its own SetSelect, or behind a message box)
  // is ignored.
  if (m_bInSelectChanged) return;
  // Continue-on-failure: a failing step is skipped, a value that cannot be read stays 0, and a
  // failing test lets the handler go on.
  automation::Steps steps;
  steps.run([&] { RefreshAbility(); });

  struct Guard {
    bool& flag;
    explicit Guard(bool& f) : flag(f) { flag = true; }
    ~Guard() { flag = false; }
  } guard(m_bInSelectChanged);

  if (!steps.test([&] {
        return iCol.toInt32() >= 1 && IRow.toInt32() >= kFirstDataRow && iPreCol.toInt32() >= 1 &&
               iPreRow.toInt32() >= kFirstDataRow;
      })) {
    return;
  }
  int32_t preRow = 0, preCol = 0, itemId = 0;
  steps.run([&] { preRow = iPreRow.toInt32(); });
  steps.run([&] { preCol = iPreCol.toInt32(); });
  ScheduleRow row = readScheduleRow(preRow, &steps);
  steps.run([&] { itemId = numberIn("txtItemID"); });
  if (!row.qualifies()) return;

  // A check that cannot be carried out refuses the move with its reason, and keeps the row's
  // line: only a line found not to fit the item is cleared.
  std::string sMsg;
  bool passed = false;
  std::optional<automation::Error> unchecked;
  try {
    std::string itemNumber = control("txtItemNumber")->get("Text").toString();
    std::string lineName = cellValue(preRow, "ColLine").toString();
    passed = CheckLineItem(itemId, row.lineId, itemNumber, lineName, sMsg);
  } catch (...) {
    unchecked = automation::toError(std::current_exception());
  }
  if (passed) return;

  steps.run([&] { m_grdDetail->call("SetSelect", preRow, preCol, preRow, preCol); });
  if (unchecked) {
    sMsg = services::LoadLocalString("数据检查出错,原因：") +
           services::LoadLocalString(unchecked->description());
  } else {
    steps.run([&] { setCellValue(preRow, "ColLineId", Variant(int32_t{0})); });
    steps.run([&] { setCellValue(preRow, "ColLine", Variant("")); });
  }
  steps.run([&] { services::ShowMessage(sMsg, services::kInformationOk); });
  bCancel = Variant(true);
}

void EIRepScheduler::m_oEvent_OnShowDataEnd() {
  // Catch-all, silently: the capacity data is dropped and loaded again by the next refresh.
  try {
    m_lAbilityLineID = 0;
    m_rsAbility.reset();
    if (m_bShowAbility) RefreshAbility();
  } catch (const automation::Error&) {
  }
}

}  // namespace qx::scheduler
