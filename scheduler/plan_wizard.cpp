// Plan decomposition: the host's decomposition dialog splits the work order's undecomposed
// quantity over lines and dates; each piece becomes a schedule row with the next bill number,
// and the undecomposed quantity goes down piece by piece.
#include <algorithm>
#include <limits>

#include "automation/arg.h"
#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/steps.h"
#include "host/event_interfaces.h"
#include "host/prog_ids.h"
#include "scheduler/bill_seq.h"
#include "scheduler/ei_rep_scheduler.h"
#include "scheduler/grid_rows.h"
#include "services/host_objects.h"
#include "services/local_string.h"
#include "services/login_props.h"
#include "services/msg.h"

namespace qx::scheduler {

namespace {

constexpr int32_t kFirstDataRow = 2;

// Wizard item key → the grid column it fills, in the order the cells are written.
constexpr std::pair<std::string_view, std::string_view> kItemCells[] = {
    {"FFromDate", "ColBDate"},
    {"FToDate", "ColEDate"},
    {"FAuxQty", "ColQty"},
    {"FInHighLimit", "ColInHighLimit"},
    {"FInHighLimitQty", "ColInHighLimitQty"},
    {"FInLowLimit", "ColInLowLimit"},
    {"FInLowLimitQty", "ColInLowLimitQty"},
    {"FLineName", "ColLine"},
};

}  // namespace

void EIRepScheduler::RunPlanWizard() {
  // No failure handling: a failure goes back through the command to the host.
  double q = automation::leadingNumber(control("txtNoQty")->get("Text").toString());
  if (q <= 0) {
    services::ShowMessage(
        services::LoadLocalString("未分解数量需要大于0才可以进行计划分解，请检查"),
        services::kInformationOk);
    return;
  }
  ObjectRef loader = services::createHostObject(host::prog_id::kAbilityLoad);
  auto input = automation::HostDictionary::create();
  input->set("RepICMO", control("txtInterId")->get("Text"));
  Variant arg{ObjectRef(input)};
  Variant result = loader->call("Show", automation::byRef(arg));
  loader.reset();
  if (result.isNothing() || !result.isObject()) return;
  FillPlanRows(result.toObject());
}

int32_t EIRepScheduler::GetNextBillSeq() {
  // Every step is protected: an unreadable cell or a number beyond 32 bits is skipped.
  automation::Steps steps;
  int32_t max = 0, rows = 0;
  Variant col;
  steps.run([&] { col = column("ColBillNo"); });
  steps.run([&] { rows = m_grdDetail->get("Row").toObject()->get("Rows").toInt32(); });
  for (int64_t r = kFirstDataRow; r <= rows; ++r) {  // 64 bits: ends at the 32-bit limit too
    steps.run([&] {
      std::string s = m_grdDetail->get("Cell", static_cast<int32_t>(r), col)
                          .toObject()
                          ->get("Value")
                          .toString();
      std::optional<int32_t> v = billSeqOf(s);
      if (v && *v > max) max = *v;
    });
  }
  return nextBillSeq(max);
}

void EIRepScheduler::FillPlanRows(const ObjectRef& rows) {
  // No failure handling: rows written and quantity subtracted before a failure stay.
  ObjectRef server = services::createHostObject(host::prog_id::kRepSchedulerMain);
  Variant checkDate(server->call("GetServerDate", Variant(services::GetPropsString())).toString());
  server.reset();

  int32_t dec = automation::roundToInt32(
      automation::leadingNumber(control("txtDecimal")->get("Text").toString()));
  Variant stem = control("txtNo")->get("Text");
  Variant batch = control("txtBatchNo")->get("Text");
  ObjectRef noQty = control("txtNoQty");

  ObjectRef gridRows = m_grdDetail->get("Row").toObject();
  int32_t count = rows->get("Count").toInt32();
  int32_t i = rowPlus(gridRows->get("Rows").toInt32(), 1);
  // The first added row not yet complete (its quantity not yet subtracted). A failure, in the
  // loop or in the clean-up after it, removes the added rows from there on and goes on to the
  // caller: the grid then holds whole rows only, and the undecomposed quantity matches them.
  const int32_t firstAdded = i;
  int64_t incomplete = i;
  Variant colQty = column("ColQty"), colBillNo = column("ColBillNo");
  try {
    gridRows->put("Rows", rowPlus(gridRows->get("Rows").toInt32(), count));
    const std::string format = quantityFormat(dec);

    auto cell = [&](int32_t row, std::string_view key) {
      return m_grdDetail->get("Cell", row, column(key)).toObject();
    };

    // The grid is scanned once; each written row's number is the running maximum's successor,
    // the same number a fresh scan would give, so the fill stays linear in the rows.
    int32_t seq = GetNextBillSeq();
    int32_t max = seq == 0 ? std::numeric_limits<int32_t>::max() : seq - 1;
    for (int32_t k = 1; k <= count; ++k) {
      ObjectRef item = rows->get("Item", k).toObject();
      auto value = [&](std::string_view key) { return item->get("Value", key); };
      int32_t n = seq;
      m_grdDetail->get("Cell", i, colQty)
          .toObject()
          ->get("Float")
          .toObject()
          ->put("Format", format);
      std::string billNo = stem.toString() + "_" + std::to_string(n);
      cell(i, "ColNo")->put("Value", Variant(i - 1));
      m_grdDetail->get("Cell", i, colBillNo).toObject()->put("Value", Variant(billNo));
      for (auto [itemKey, colKey] : kItemCells) cell(i, colKey)->put("Value", value(itemKey));
      cell(i, "ColInterId")->put("Value", Variant(int16_t{0}));
      cell(i, "ColLineId")->put("Value", value("FLineiD"));
      cell(i, "ColStatusId")->put("Value", Variant(int16_t{-1}));
      cell(i, "ColCheckDate")->put("Value", checkDate);
      cell(i, "ColBiller")->put("Value", Variant(services::GetUserName()));
      cell(i, "ColBatchNo")->put("Value", batch);
      max = std::max(max, billSeqOf(billNo).value_or(0));
      seq = nextBillSeq(max);

      double rest = remainderAfter(automation::leadingNumber(noQty->get("Text").toString()),
                                   value("FAuxQty").toDouble());
      noQty->put("Text", automation::formatDouble(rest));
      incomplete = int64_t{i} + 1;
      if (automation::leadingNumber(noQty->get("Text").toString()) < 0) break;
      if (k < count) ++i;  // the reserved rows end at Rows + count, which may be the limit
    }

    for (int64_t r = gridRows->get("Rows").toInt32(); r >= incomplete; --r) {
      gridRows->call("Delete", static_cast<int32_t>(r));
    }
    int32_t last = gridRows->get("Rows").toInt32();
    m_grdDetail->call("SetSelect", last, colBillNo, last, colBillNo);
  } catch (...) {
    automation::Steps undo;
    int32_t last = 0;
    undo.run([&] { last = gridRows->get("Rows").toInt32(); });
    for (int64_t r = last; r >= incomplete; --r) {
      undo.run([&] { gridRows->call("Delete", static_cast<int32_t>(r)); });
    }
    // Whole rows stay: the bill counts them and knows it has changed, so they are not lost.
    if (incomplete > firstAdded) {
      for (int op : {host::bill_op::kRenumberRows, host::bill_op::kSetBillChanged,
                     host::bill_op::kRefreshTotals}) {
        undo.run([&] { m_oEvent->callId(host::bill_op::idOf(op), automation::CallKind::Method); });
      }
    }
    throw;
  }

  for (int op : {host::bill_op::kRenumberRows, host::bill_op::kSetBillChanged,
                 host::bill_op::kRefreshTotals}) {
    m_oEvent->callId(host::bill_op::idOf(op), automation::CallKind::Method);
  }
}

}  // namespace qx::scheduler
