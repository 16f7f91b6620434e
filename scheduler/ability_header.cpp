// The shape of the capacity ledger: the column list handed to the ledger binding (four line
// columns, the measure column, one column per date of the header line) and the fields of the
// in-memory line capacity table.
#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/record_cursor.h"
#include "automation/recordset.h"
#include "scheduler/ability_names.h"
#include "scheduler/ei_rep_scheduler.h"
#include "services/local_string.h"

namespace qx::scheduler {

using automation::FieldDef;
using automation::HostDictionary;
using automation::HostVector;
using automation::RecordCursor;
using automation::Recordset;
using services::LoadLocalString;
namespace ft = automation::field_type;
namespace fa = automation::field_attr;

namespace {
constexpr std::string_view kTextColumn = "1", kQtyColumn = "2";
constexpr int16_t kShown = 1;
constexpr int32_t kMergeLineColumn = 1, kMergeNone = 0;
// The four line columns and the measure column come before the dates.
constexpr size_t kFixedColumns = 5;
// The data-access library's fixed-length attribute of the double fields.
constexpr int32_t kFixedLength = 0x10;
}  // namespace

std::string dateFieldName(int32_t j) {
  char name[16] = {'F'};  // built in place: a line has a field per date, rebuilt per line
  return std::string(name, std::to_chars(name + 1, name + sizeof name, j).ptr);
}

void EIRepScheduler::AddHeaderColumn(const std::string& sTopCaption,
                                     const std::string& sSecondCaption, std::string_view sColType,
                                     std::string_view sColName, int16_t iVisible,
                                     int32_t lMergerType) {
  auto column = HostDictionary::create();
  column->reserve(6);
  column->set("FColCaption", Variant(sTopCaption));
  column->set("FHeadSecond", Variant(sSecondCaption));
  column->set("FColType", Variant(sColType));
  column->set("FColName", Variant(sColName));
  column->set("FVisible", Variant(iVisible));
  column->set("FMergerType", Variant(lMergerType));
  // The list this plug-in made is filled directly (a column per date, rebuilt per line switch).
  const Variant item{ObjectRef(column)};
  if (auto* own = dynamic_cast<HostVector*>(m_vecAbilityHeader.get().get())) {
    own->add(item);
    return;
  }
  m_vecAbilityHeader->call("Add", item);
}

namespace {

// Calls `f` with each date of the header line: the line of the result's first row (the filter
// stays on the result afterwards).
template <class F>
void forEachHeaderDate(const ObjectRef& rsAbility, F&& f) {
  RecordCursor rs(rsAbility);
  if (rs.recordCount() == 0) return;
  rs.moveFirst();
  rs.setFilter(std::string(ability::kLineFilter) + rs.value(ability::kLineID).toString());
  const RecordCursor::Field date = rs.field(ability::kDate);
  for (; !rs.eof(); rs.moveNext()) f(rs.value(date));
}

// The header line's dates, read only; empty when the reading fails.
std::optional<std::vector<Variant>> headerLineDates(const ObjectRef& rsAbility) {
  try {
    std::vector<Variant> dates;
    forEachHeaderDate(rsAbility, [&](Variant d) { dates.push_back(std::move(d)); });
    return dates;
  } catch (...) {
    return std::nullopt;
  }
}

bool sameValues(const std::vector<Variant>& a, const std::vector<Variant>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].type() != b[i].type() || !(a[i] == b[i])) return false;
  }
  return true;
}

}  // namespace

void EIRepScheduler::BuildAbilityHeader(const ObjectRef& rsAbility) {
  // The captions in the login's language (never failing), then the header line's dates.
  const std::string captions[] = {LoadLocalString("生产线+|+|+|"), LoadLocalString("代码"),
                                  LoadLocalString("名称"),         LoadLocalString("所属工作中心"),
                                  LoadLocalString("生产率"),       LoadLocalString("能力/负荷$")};
  std::string captionKey;
  for (const std::string& c : captions) captionKey += c + '\n';
  // The columns depend only on the captions and the header line's dates, and the lines of a
  // result share them: a list built from the same, still as it was built, is handed on again
  // instead of 370 new column records per line switch.
  std::optional<std::vector<Variant>> dates = headerLineDates(rsAbility);
  auto* built = dynamic_cast<HostVector*>(m_vecAbilityHeader.get().get());
  if (dates && built && built->items().size() == m_abilityHeaderCount &&
      captionKey == m_abilityHeaderCaptions && sameValues(*dates, m_abilityHeaderDates)) {
    return;
  }
  m_abilityHeaderCount = 0;
  m_abilityHeaderDates.clear();
  m_abilityHeaderCaptions.clear();

  // No failure handling: a failure part-way leaves the columns appended so far.
  m_vecAbilityHeader = ObjectRef(HostVector::create());
  AddHeaderColumn(captions[0], captions[1], kTextColumn, ability::kLineNumber, kShown,
                  kMergeLineColumn);
  AddHeaderColumn("", captions[2], kTextColumn, ability::kLineName, kShown, kMergeLineColumn);
  AddHeaderColumn("", captions[3], kTextColumn, ability::kWorkCenter, kShown, kMergeLineColumn);
  AddHeaderColumn("", captions[4], kQtyColumn, ability::kProductivity, kShown, kMergeLineColumn);
  AddHeaderColumn(captions[5], "", kTextColumn, ability::kTextAbility, kShown, kMergeNone);

  const std::string none;
  if (dates) {
    // Read already: the dates become the columns.
    for (size_t j = 0; j < dates->size(); ++j) {
      AddHeaderColumn((*dates)[j].toString() + "$", none, kQtyColumn,
                      dateFieldName(static_cast<int32_t>(j + 1)), kShown, kMergeNone);
    }
    m_abilityHeaderDates = std::move(*dates);
    m_abilityHeaderCaptions = std::move(captionKey);
    m_abilityHeaderCount = kFixedColumns + m_abilityHeaderDates.size();
    return;
  }
  // The reading failed: read again, column by column, so that the failure comes where it did.
  int32_t j = 1;
  forEachHeaderDate(rsAbility, [&](const Variant& d) {
    AddHeaderColumn(d.toString() + "$", none, kQtyColumn, dateFieldName(j++), kShown, kMergeNone);
  });
}

automation::Ref<Recordset> EIRepScheduler::CreateLineAbilityTable(const ObjectRef& rsLine) {
  RecordCursor rs(rsLine);
  auto table = Recordset::create();
  table->reserveFields(8 + static_cast<size_t>(std::max(rs.recordCount(), 0)));
  const int32_t nullable = fa::kIsNullable | fa::kMayBeNull;
  table->appendField(FieldDef{std::string(ability::kInterID), ft::kInteger, 0, nullable});
  table->appendField(FieldDef{std::string(ability::kLineNumber), ft::kVarChar, 255});
  table->appendField(FieldDef{std::string(ability::kLineName), ft::kVarChar, 255});
  table->appendField(FieldDef{std::string(ability::kWorkCenter), ft::kVarChar, 255});
  table->appendField(FieldDef{std::string(ability::kTextAbility), ft::kVarChar, 40});
  table->appendField(FieldDef{std::string(ability::kSumSort), ft::kInteger, 0, nullable});
  table->appendField(FieldDef{std::string(ability::kQtyDecimal), ft::kDouble, 0, kFixedLength});
  table->appendField(FieldDef{std::string(ability::kProductivity), ft::kDouble, 0, kFixedLength});
  // One date field per remaining row of the line, from where the line rows stand.
  for (int32_t j = 1; !rs.eof(); rs.moveNext(), ++j) {
    table->appendField(FieldDef{dateFieldName(j), ft::kDouble, 0, kFixedLength});
  }
  return table;
}

}  // namespace qx::scheduler
