// The capacity ledger of the selected row's line: the capacity result loaded once per bill
// display from the host's capacity loader, the line's six measure rows rebuilt when the line
// changes, and the ledger binding refreshed. The figures are copied as the loader delivers them.
#include "automation/arg.h"
#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/record_cursor.h"
#include "automation/recordset.h"
#include "automation/steps.h"
#include "host/prog_ids.h"
#include "scheduler/ability_names.h"
#include "scheduler/ei_rep_scheduler.h"
#include "scheduler/grid_rows.h"
#include "services/host_objects.h"
#include "services/local_string.h"

namespace qx::scheduler {

using automation::RecordCursor;
using automation::Recordset;
using services::LoadLocalString;

namespace {

struct MeasureRow {
  const char* caption;       // source text, translated
  std::string_view measure;  // the capacity result's field for the date columns
  bool lineQtyDecimals;      // FQtyDecimal from the line, else 2
};
constexpr MeasureRow kMeasureRows[] = {
    {"能力(小时)", ability::kAbility, false},
    {"负荷(小时)", ability::kLoad, false},
    {"差异(小时)", ability::kDiff, false},
    {"差异率(％)", ability::kDiffRate, false},
    {"可安排生产数(基本单位)", ability::kQty, true},
    {"可安排生产数(常用单位)", ability::kAuxQty, true},
};
constexpr int32_t kOneDocument = 1;   // all six rows form one document of the ledger
constexpr int32_t kSummaryRow = 101;  // a summary row kind with its own colour
constexpr double kHoursDecimals = 2;

}  // namespace

bool EIRepScheduler::LoadAbility() {
  // No failure handling: a failure goes to the refresh's caller.
  ObjectRef loader = services::createHostObject(host::prog_id::kAbilityLoad);
  double repIcmo = automation::leadingNumber(control("txtInterId")->get("Text").toString());
  m_dctAbilityOption->put("Value", "RepICMO", repIcmo);
  if (m_dctAbilityOption->get("Value", "RepICMO").toDouble() != 0) {
    Variant options{m_dctAbilityOption};
    Variant result = loader->call("GetAbilityByRepICMO", automation::byRef(options));
    // The result is kept whatever comes back as options, Nothing included: a result dropped
    // here would make every refresh call the loader again.
    m_rsAbility = result.isNothing() || !result.isObject() ? ObjectRef() : result.toObject();
    m_dctAbilityOption.set(options);
  }
  loader.reset();
  return static_cast<bool>(m_rsAbility);
}

void EIRepScheduler::BuildLineAbility(int32_t lLineID) {
  // No failure handling: a failure leaves the table with the rows added so far.
  RecordCursor rs(m_rsAbility);
  rs.setFilter(std::string(ability::kLineFilter) + std::to_string(lLineID));
  automation::Ref<Recordset> table = CreateLineAbilityTable(m_rsAbility);
  m_rsLineAbility = ObjectRef(table);
  if (rs.recordCount() == 0) return;

  rs.moveFirst();
  table->open();
  // The line's identity, from its first row (which does not move while the rows are added).
  auto copy = [&](std::string_view field) { return rs.value(field); };
  auto column = [&](std::string_view field) { return *table->findColumn(field); };
  for (size_t i = 0; i < std::size(kMeasureRows); ++i) {
    const MeasureRow& m = kMeasureRows[i];
    table->addNew();
    table->setValue(column(ability::kInterID), Variant(kOneDocument));
    table->setValue(column(ability::kLineNumber), copy(ability::kLineNumber));
    table->setValue(column(ability::kLineName), copy(ability::kLineName));
    if (i == 0) {
      table->setValue(column(ability::kWorkCenter), copy(ability::kWorkCenter));
      table->setValue(column(ability::kQtyDecimal), Variant(kHoursDecimals));
      table->setValue(column(ability::kTextAbility), Variant(LoadLocalString(m.caption)));
      table->setValue(column(ability::kProductivity), copy(ability::kProductivity));
    } else {
      table->setValue(column(ability::kQtyDecimal),
                      m.lineQtyDecimals ? copy(ability::kQtyDecimal) : Variant(kHoursDecimals));
      table->setValue(column(ability::kWorkCenter), copy(ability::kWorkCenter));
      table->setValue(column(ability::kTextAbility), Variant(LoadLocalString(m.caption)));
    }
    table->setValue(column(ability::kSumSort), Variant(kSummaryRow));
    table->update();
  }

  // The date columns, measure by measure: "Fk" takes the k-th row of the line.
  table->moveFirst();
  const size_t firstDate = column(ability::kProductivity) + 1;
  int32_t rows = table->recordCount();
  for (int32_t i = 0; i < rows; ++i) {
    RecordCursor::Field measure = rs.field(kMeasureRows[i].measure);
    rs.moveFirst();
    rs.copyToRow(measure, *table, firstDate);
    table->moveNext();
  }
}

void EIRepScheduler::RefreshAbility() {
  // No failure handling but for the line id: a failure goes back to the event that asked.
  if (!m_rsAbility && !LoadAbility()) return;

  ObjectRef rows = m_grdDetail->get("Row").toObject();
  int32_t selRow = rows->get("SelRow").toInt32();
  int32_t row = selRow < 0 ? rowPlus(rows->get("FixRows").toInt32(), 1) : selRow;

  // Only this read is protected: a line id that cannot be read is line 0.
  int32_t lineId = 0;
  automation::Steps steps;
  steps.run([&] {
    Variant col = m_dctColumns.toObject()->get("Value", "ColLineId");
    lineId = m_grdDetail->get("Cell", row, col).toInt32();
  });

  if (lineId != m_lAbilityLineID) {
    BuildLineAbility(lineId);
    m_lAbilityLineID = lineId;
  }
  if (lineId == 0) m_rsLineAbility.reset();
  BuildAbilityHeader(m_rsAbility);

  m_oLedger->putRef("rs", Variant(m_rsLineAbility));
  m_oLedger->putRef("Header", Variant(m_vecAbilityHeader));
  m_oLedger->call("Refresh");
}

}  // namespace qx::scheduler
