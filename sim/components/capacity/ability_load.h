// "QxEIAbility.AbilityLoad": the capacity loader of the schedule bill. GetAbilityByRepICMO(options)
// answers the capacity result of a repetitive work order as an open in-memory recordset, one row
// per line and date (the computation is computeAbility), or Nothing for an unknown work order.
// ShowAbilityOption(options) is the capacity options dialog, Show(dictionary) the plan
// decomposition dialog (the proposal is proposePlan); both take their answers from the host's
// dialog answer source.
#pragma once

#include <memory>
#include <string>

#include "automation/dispatch.h"
#include "automation/recordset.h"
#include "sim/components/capacity/ability_calc.h"
#include "sim/db/database.h"
#include "sim/platform/dialog_answers.h"

namespace qx::sim {

class SimHost;

class AbilityLoad final : public automation::Dispatch<AbilityLoad> {
 public:
  static constexpr std::string_view kTypeName = "QxEIAbility.AbilityLoad";
  static std::span<const automation::Member<AbilityLoad>> members();
  // `today`: the host's fixed current date, or empty for the machine's date.
  // `answers`: where the dialogs take the user's answers from (null: every dialog takes its
  // default, OK or the proposal as it stands).
  AbilityLoad(std::shared_ptr<Database> database, std::string today,
              std::shared_ptr<DialogAnswerSource> answers = nullptr)
      : database_(std::move(database)), today_(std::move(today)), answers_(std::move(answers)) {}

 private:
  // GetAbilityByRepICMO(options): options by reference, left as they are.
  automation::Variant mGetAbilityByRepICMO(automation::Args a);
  // ShowAbilityOption(options): "ok" [KEY=0|1 ...] replaces the argument by the changed options
  // and answers them with "OK" = True; "cancel" leaves the argument and answers "OK" = False.
  automation::Variant mShowAbilityOption(automation::Args a);
  // Show(dictionary with "RepICMO"): the decomposition proposal; "cancel" answers Nothing, edits
  // ("N.FAuxQty=100", "N.FFromDate=2027-01-04", "N.FLineiD=1002", "drop=N") change the pieces,
  // anything else accepts. The pieces as a HostVector of row dictionaries, or Nothing when none.
  automation::Variant mShow(automation::Args a);
  std::optional<DialogAnswer> answer(std::string_view kind);
  void shown(std::string_view kind, std::string text, const DialogAnswer& words);

  std::shared_ptr<Database> database_;
  std::string today_;
  std::shared_ptr<DialogAnswerSource> answers_;
};

// The capacity result of a ledger: fields FLineID, FDate, FLineNumber, FLineName, FWorkCenter,
// FProductivity, FQtyDecimal, FAbility, FLoad, FDiff, FDiffRate, FQty, FAuxQty; open, on its
// first row.
[[nodiscard]] automation::Ref<automation::Recordset> abilityRecordset(const AbilityLedger& ledger);

// Registers "QxEIAbility.AbilityLoad" with the host's component registry.
void registerAbilityLoad(SimHost& host);

}  // namespace qx::sim
