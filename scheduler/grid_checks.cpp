// The line/item check of the schedule rows: on saving the bill, for every qualifying row, and
// (from the selection handler) for the row being left.
#include <limits>

#include "automation/arg.h"
#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/steps.h"
#include "host/prog_ids.h"
#include "scheduler/ei_rep_scheduler.h"
#include "scheduler/grid_rows.h"
#include "services/host_objects.h"
#include "services/local_string.h"
#include "services/login_props.h"
#include "services/msg.h"

namespace qx::scheduler {

using services::LoadLocalString;

namespace {

std::string trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}
}  // namespace

int32_t rowPlus(int32_t row, int64_t n) {
  int64_t r = int64_t{row} + n;
  if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max()) {
    throw automation::Error::overflow();
  }
  return static_cast<int32_t>(r);
}

int32_t numberInText(const std::string& text) {
  return automation::roundToInt32(automation::leadingNumber(text));
}

int32_t EIRepScheduler::numberIn(std::string_view textBox) const {
  return numberInText(control(textBox)->get("Text").toString());
}

Variant EIRepScheduler::column(std::string_view key) const {
  return m_dctColumns.toObject()->get("Value", key);
}

Variant EIRepScheduler::cellValue(int32_t row, std::string_view key) const {
  return m_grdDetail->get("Cell", row, column(key)).toObject()->get("Value");
}

void EIRepScheduler::setCellValue(int32_t row, std::string_view key, const Variant& v) {
  m_grdDetail->get("Cell", row, column(key)).toObject()->put("Value", v);
}

bool EIRepScheduler::CheckLineItem(int32_t lItemID, int32_t lLineID, const std::string& sItemNumber,
                                   const std::string& sLineName, std::string& sMsg) {
  // Traps nothing: a failure goes to the caller.
  int32_t deptId = numberIn("txtdeptid");
  ObjectRef owned = services::execute(
      "select count(*) from t_resource where finterid = " + std::to_string(lLineID) +
      " and FWorkCenterID in ( select FItemID from t_workcenter where FDeptID = " +
      std::to_string(deptId) + ")   ");
  if (!owned) throw automation::Error::objectNotSet("EIRepScheduler");
  // A line that no work centre of the bill's department owns passes without further test.
  if (owned->get("Fields", 0).toObject()->get("Value").toDouble() == 0) return true;

  auto options = automation::HostDictionary::create();
  options->set("Filter", Variant(" t1.FItemID = " + std::to_string(lItemID) +
                                 " AND t1.FLineID = " + std::to_string(lLineID)));
  ObjectRef service = services::createHostObject(host::prog_id::kItemLineInfo);
  Variant optionsArg{ObjectRef(options)};
  Variant message(sMsg);
  Variant found = service->call("GetItemLine", Variant(services::GetPropsString()),
                                automation::byRef(optionsArg), automation::byRef(message));
  sMsg = message.isNull() || message.isEmpty() ? std::string() : message.toString();
  service.reset();
  options.reset();

  if (!found.isObject() || found.isNothing()) return false;  // the reason is the service's
  if (found.toObject()->get("EOF").toBool()) {
    sMsg = LoadLocalString("生产线[") + sLineName + LoadLocalString("]和物料[") + sItemNumber +
           LoadLocalString("]不匹配,请检查!");
    return false;
  }
  return true;
}

ScheduleRow EIRepScheduler::readScheduleRow(int32_t row, automation::Steps* steps) const {
  ScheduleRow r;
  // With steps, each read is a step of its own and a failing one leaves its value at 0 and is
  // marked unread.
  auto read = [&](bool& unread, auto&& f) {
    if (!steps) return f();
    automation::Steps one;
    one.run(f);
    if (one.failed()) {
      unread = true;
      steps->fail(*one.pending());
    }
  };
  read(r.lineUnread,
       [&] { r.lineId = numberInText(trimmed(cellValue(row, "ColLineId").toString())); });
  read(r.statusUnread, [&] { r.status = cellValue(row, "ColStatusId").toInt32(); });
  read(r.cancelUnread, [&] { r.cancelled = cellValue(row, "ColCancel").toString() == "Y"; });
  read(r.suspendUnread, [&] { r.suspended = cellValue(row, "ColSuspend").toString() == "Y"; });
  return r;
}

bool EIRepScheduler::CheckScheduleRows() {
  // Traps nothing: a failure goes to the caller.
  int32_t itemId = numberIn("txtItemID");
  ObjectRef rows = m_grdDetail->get("Row").toObject();
  int32_t first = rowPlus(rows->get("FixRows").toInt32(), 1);
  int32_t last = rows->get("Rows").toInt32();
  std::string sMsg;  // one message text for the whole check, as the service may leave a reason
  for (int64_t r = first; r <= last; ++r) {
    // A row that cannot be read refuses the save only when it could take part in the check.
    automation::Steps reads;
    ScheduleRow row = readScheduleRow(static_cast<int32_t>(r), &reads);
    if (reads.failed() && row.mayQualify()) throw *reads.pending();
    if (!row.qualifies()) continue;
    if (!CheckLineItem(itemId, row.lineId, control("txtItemNumber")->get("Text").toString(),
                       cellValue(static_cast<int32_t>(r), "ColLine").toString(), sMsg)) {
      services::ShowMessage(sMsg, services::kInformationOk);
      return false;  // later rows are not examined
    }
  }
  return true;
}

void EIRepScheduler::m_oEvent_OnCheckData(Variant& bCancel) {
  // Catch-all into the result: a check that cannot be carried out refuses the save, with the
  // reason, instead of letting the bill be saved unchecked.
  try {
    bCancel = Variant(!CheckScheduleRows());
  } catch (const automation::Error& e) {
    bCancel = Variant(true);
    automation::Steps message;  // the refusal stands even if the box cannot be shown
    message.run([&] {
      services::ShowMessage(
          LoadLocalString("数据检查出错,原因：") + LoadLocalString(e.description()),
          services::kInformationOk);
    });
  }
}

}  // namespace qx::scheduler
