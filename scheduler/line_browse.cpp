// F7 in the schedule grid's line column: the host's line browser, filtered on the bill's
// department and item, writes the chosen line into the row.
#include "automation/arg.h"
#include "automation/host_dictionary.h"
#include "automation/steps.h"
#include "host/prog_ids.h"
#include "scheduler/ei_rep_scheduler.h"
#include "services/host_objects.h"
#include "services/local_string.h"
#include "services/msg.h"

namespace qx::scheduler {

using automation::HostDictionary;
using services::LoadLocalString;

namespace {
constexpr int32_t kKeyF7 = 118;
constexpr int32_t kFirstDataRow = 2;
}  // namespace

void EIRepScheduler::m_oEvent_OnGridKeyDown(Variant& KeyCode, const Variant&, Variant& bCancel) {
  // Continue-on-failure: a failing step is skipped, a value that cannot be read stays 0, and a
  // failing test lets the handler go on.
  automation::Steps steps;
  int32_t row = 0, col = 0;
  steps.run([&] { row = m_grdDetail->get("Row").toObject()->get("SelRow").toInt32(); });
  steps.run([&] { col = m_grdDetail->get("Col").toObject()->get("SelCol").toInt32(); });
  if (!steps.test([&] { return col >= 0 && row >= kFirstDataRow; })) return;
  if (!steps.test([&] { return col == column("ColLine").toInt32(); })) return;
  if (!steps.test(
          [&] { return !m_grdDetail->get("Cell", row, col).toObject()->get("Locked").toBool(); })) {
    return;
  }
  if (!steps.test([&] { return KeyCode.toInt32() == kKeyF7; })) return;

  ObjectRef choice = BrowseLine();
  if (!choice) return;  // nothing chosen: no cell and no flag changes
  // The row takes the line's name and id together or not at all: a row showing one line's name
  // over another line's id would save a line other than the one shown.
  Variant name, id, oldName;
  ObjectRef cell;
  steps.clear();
  steps.run([&] {
    name = choice->get("Value", "LineName");
    id = choice->get("Value", "LineId");
  });
  choice.reset();
  steps.run([&] {
    cell = m_grdDetail->get("Cell", row, col).toObject();
    oldName = cell->get("Value");
  });
  if (steps.failed()) return;
  steps.run([&] { cell->put("Value", name); });
  if (steps.failed()) return;
  steps.run([&] { setCellValue(row, "ColLineId", id); });
  if (steps.failed()) {
    steps.run([&] { cell->put("Value", oldName); });
    return;
  }
  bCancel = Variant(true);  // the host does not process the key further
}

ObjectRef EIRepScheduler::BrowseLine() {
  // Catch-all into the result: any failure is shown and nothing is chosen.
  try {
    int32_t deptId = numberIn("txtdeptid");
    int32_t itemId = numberIn("txtItemID");
    std::string lineFilter =
        deptId == 0 ? std::string()
                    : "  FWorkCenterId in (select t1.FItemId from t_workCenter t1 " +
                          std::string(" where t1.FDeptId=") + std::to_string(deptId) + ")";
    auto options = HostDictionary::create();
    options->set("BItemID", Variant(itemId));
    options->set("EItemID", Variant(itemId));
    options->set("LineFilter", Variant(lineFilter));
    options->set("ItemLineFilter", Variant(lineFilter));

    ObjectRef browser = services::createHostObject(host::prog_id::kLineBrowser);
    browser->put("ShowType", int16_t{0});
    browser->put("ShowMode", int16_t{1});
    browser->putRef("Filter", Variant(ObjectRef(options)));
    browser->call("Show");
    options.reset();
    Variant result = browser->get("Result");
    browser.reset();
    if (!result.isObject() || result.isNothing()) return {};

    // The result's default member gives a field of the chosen line.
    ObjectRef line = result.toObject();
    auto field = [&](std::string_view name) {
      return line->callId(automation::kDispIdValue, automation::CallKind::Get, name);
    };
    auto choice = HostDictionary::create();
    choice->set("LineName", field("FLineName"));
    choice->set("LineId", field("FLineID"));
    return ObjectRef(choice);
  } catch (const automation::Error& e) {
    automation::Steps message;
    message.run([&] {
      services::ShowMessage(
          LoadLocalString("F７选择生产线出错，原因:") + LoadLocalString(e.description()),
          services::kInformationOk);
    });
    return {};
  }
}

}  // namespace qx::scheduler
