#include "sim/components/capacity/ability_load.h"

#include <cmath>

#include "automation/conversions.h"
#include "host/prog_ids.h"
#include "sim/platform/host_date.h"
#include "sim/sim_host.h"

namespace qx::sim {

using automation::Args;
using automation::Error;
using automation::ObjectRef;
using automation::Variant;
namespace ft = automation::field_type;

namespace {

constexpr const char* kSource = "QxEIAbility.AbilityLoad";

// An option's number; a missing or Empty option gives Empty.
Variant option(automation::Object& options, const char* key) {
  Variant v = options.call("GetValue", Variant(key), Variant());
  try {
    v = v.value();
    if (v.isEmpty()) return v;
    if (v.type() == automation::VarType::Boolean) return Variant(v.toBool() ? 1.0 : 0.0);
    if (v.isNumber() || v.isString()) return Variant(v.toDouble());
  } catch (const Error&) {
  }
  throw Error::typeMismatch(std::string("the capacity option \"") + key +
                                "\" is not a number: " + automation::describe(v),
                            kSource);
}

// Off when missing; on for any number other than 0 (True included).
bool flag(automation::Object& options, const char* key) {
  Variant v = option(options, key);
  return !v.isEmpty() && v.toDouble() != 0;
}

int32_t workOrder(automation::Object& options) {
  Variant v = option(options, "RepICMO");
  if (v.isEmpty()) {
    throw Error::argumentNotOptional("the capacity option \"RepICMO\" is missing", kSource);
  }
  double id = v.toDouble();
  if (id != std::trunc(id) || std::fabs(id) > 2147483647.0) {
    throw Error::invalidProcedureCall(
        "the capacity option \"RepICMO\" is not a work order id: " + automation::describe(v),
        kSource);
  }
  return static_cast<int32_t>(id);
}

}  // namespace

std::span<const automation::Member<AbilityLoad>> AbilityLoad::members() {
  static const automation::Member<AbilityLoad> m[] = {
      {"GetAbilityByRepICMO", 1, &AbilityLoad::mGetAbilityByRepICMO},
      {"ShowAbilityOption", 2, &AbilityLoad::mShowAbilityOption},
      {"Show", 3, &AbilityLoad::mShow},
  };
  return m;
}

Variant AbilityLoad::mGetAbilityByRepICMO(Args a) {
  automation::requireArgs(a, 1, "GetAbilityByRepICMO");
  ObjectRef options = a[0].get().objectOrNull();
  if (!options) {
    throw Error::objectRequired("GetAbilityByRepICMO needs the capacity options dictionary",
                                kSource);
  }
  AbilityOptions o;
  o.releasedOnly = flag(*options, "FSchedule");
  o.remainingOnly = flag(*options, "CalcRemainAbility");
  o.unplannedOrders = flag(*options, "FNoPlanICMO");
  o.today = hostDate(today_);
  int32_t id = workOrder(*options);
  if (id <= 0) return Variant::nothing();
  SqliteDb db = database_->open();
  std::optional<AbilityLedger> ledger = computeAbility(db, id, o);
  if (!ledger) return Variant::nothing();
  Variant result(abilityRecordset(*ledger));
  if (record_) {
    record_->record({id, o, std::make_shared<const AbilityLedger>(std::move(*ledger))});
  }
  return result;
}

automation::Ref<automation::Recordset> abilityRecordset(const AbilityLedger& ledger) {
  auto rs = automation::Recordset::create();
  struct Field {
    const char* name;
    int32_t type, size;
  };
  // The texts' size is the plug-in's line table's; the computation cuts longer ones.
  constexpr auto kText = static_cast<int32_t>(kAbilityTextSize);
  static constexpr Field kFields[] = {
      {"FLineID", ft::kInteger, 4},
      {"FDate", ft::kDate, 8},
      {"FLineNumber", ft::kVarWChar, kText},
      {"FLineName", ft::kVarWChar, kText},
      {"FWorkCenter", ft::kVarWChar, kText},
      {"FProductivity", ft::kDouble, 8},
      {"FQtyDecimal", ft::kDouble, 8},
      {"FAbility", ft::kDouble, 8},
      {"FLoad", ft::kDouble, 8},
      {"FDiff", ft::kDouble, 8},
      {"FDiffRate", ft::kDouble, 8},
      {"FQty", ft::kDouble, 8},
      {"FAuxQty", ft::kDouble, 8},
  };
  for (const Field& f : kFields) rs->appendField({f.name, f.type, f.size});
  rs->open();
  // Filled cell by cell into the fields' own storage: no variant per value.
  const size_t days = static_cast<size_t>(ledger.days);
  size_t row = rs->appendRows(ledger.lines.size() * days);
  for (size_t l = 0; l < ledger.lines.size(); ++l) {
    const AbilityLine& line = ledger.lines[l];
    const double decimals = static_cast<double>(ledger.qtyDecimal);
    for (size_t d = 0; d < days; ++d, ++row) {
      size_t at = l * days + d;
      AbilityFigures f =
          abilityFigures(ledger.ability[at], ledger.load[at], line.productivity, ledger.commonUnit);
      rs->setCell(row, 0, line.id);
      rs->setCell(row, 1,
                  automation::Date{static_cast<double>(ledger.firstDay) + static_cast<double>(d)});
      rs->setCell(row, 2, std::string_view(line.number));
      rs->setCell(row, 3, std::string_view(line.name));
      rs->setCell(row, 4, std::string_view(line.workCenter));
      const double figures[] = {line.productivity, decimals, f.ability, f.load, f.diff,
                                f.diffRate,        f.qty,    f.auxQty};
      for (size_t k = 0; k < std::size(figures); ++k) rs->setCell(row, 5 + k, figures[k]);
    }
  }
  if (rs->recordCount() > 0) rs->moveFirst();
  return rs;
}

void registerAbilityLoad(SimHost& host) {
  std::shared_ptr<Database> database = host.databaseShared();
  std::string today = host.options().today;
  std::shared_ptr<DialogAnswerSource> answers = host.dialogsShared();
  std::shared_ptr<const OpenBills> bills = host.openBillsShared();
  std::shared_ptr<const HostTexts> texts = host.textsShared();
  std::shared_ptr<AbilityAnswers> record = host.abilityAnswersShared();
  host.components().registerComponent(
      host::prog_id::kAbilityLoad, [database, today, answers, bills, texts, record] {
        return ObjectRef(
            automation::makeObject<AbilityLoad>(database, today, answers, bills, texts, record));
      });
}

}  // namespace qx::sim
