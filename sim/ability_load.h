// "QxEIAbility.AbilityLoad": the capacity loader of the schedule bill. GetAbilityByRepICMO(options)
// answers the capacity result of a repetitive work order as an open in-memory recordset, one row
// per line and date (the computation is computeAbility), or Nothing for an unknown work order.
#pragma once

#include <memory>
#include <string>

#include "automation/dispatch.h"
#include "automation/recordset.h"
#include "sim/ability_calc.h"
#include "sim/database.h"

namespace qx::sim {

class SimHost;

class AbilityLoad final : public automation::Dispatch<AbilityLoad> {
 public:
  static constexpr std::string_view kTypeName = "QxEIAbility.AbilityLoad";
  static std::span<const automation::Member<AbilityLoad>> members();
  // `today`: the host's fixed current date, or empty for the machine's date.
  AbilityLoad(std::shared_ptr<Database> database, std::string today)
      : database_(std::move(database)), today_(std::move(today)) {}

 private:
  // GetAbilityByRepICMO(options): options by reference, left as they are.
  automation::Variant mGetAbilityByRepICMO(automation::Args a);

  std::shared_ptr<Database> database_;
  std::string today_;
};

// The capacity result of a ledger: fields FLineID, FDate, FLineNumber, FLineName, FWorkCenter,
// FProductivity, FQtyDecimal, FAbility, FLoad, FDiff, FDiffRate, FQty, FAuxQty; open, on its
// first row.
[[nodiscard]] automation::Ref<automation::Recordset> abilityRecordset(const AbilityLedger& ledger);

// Registers "QxEIAbility.AbilityLoad" with the host's component registry.
void registerAbilityLoad(SimHost& host);

}  // namespace qx::sim
