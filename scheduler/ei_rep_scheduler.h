// The repetitive-production schedule bill plug-in.
#pragma once

#include <string>
#include <vector>

#include "automation/dispatch.h"
#include "automation/object_field.h"
#include "automation/recordset.h"
#include "automation/steps.h"
#include "frame/event_field.h"
#include "frame/module.h"
#include "scheduler/grid_rows.h"

namespace qx::scheduler {

using automation::Args;
using automation::ObjectRef;
using automation::Variant;

// The registry key of the schedule bill's settings for an edition (0, 1, 2; any other: 0).
std::string settingsKeyPath(int32_t edition);

class EIRepScheduler final : public automation::Dispatch<EIRepScheduler> {
 public:
  static constexpr std::string_view kTypeName = "EIRepScheduler";
  static constexpr automation::DispId kInitId = 0x60030000;
  static std::span<const automation::Member<EIRepScheduler>> members();
  static automation::Ref<EIRepScheduler> create() {
    return automation::makeObject<EIRepScheduler>();
  }

  EIRepScheduler();
  ~EIRepScheduler() override;

  // Takes the bill engine's event source (BillEvents), subscribes, then binds the form.
  void Init(const Variant& oEvent);
  bool subscribed() const noexcept { return static_cast<bool>(m_oEvent); }

  // Bill engine events.
  void m_oEvent_OnCheckData(Variant& bCancel);
  void m_oEvent_OnGridKeyDown(Variant& KeyCode, const Variant& Shift, Variant& bCancel);
  void m_oEvent_OnShowDataEnd();
  void m_oEvent_OnSelectChanged(const Variant& IRow, const Variant& iCol, const Variant& iPreRow,
                                const Variant& iPreCol, Variant& bCancel);
  void m_oEvent_OnBarClick(const Variant& Tool, Variant& bCancel);

  // Toolkit events of the form and the splitter.
  void m_frmRep_Resize();
  void m_oSplilter_DoSplit(Variant& bSplit);
  void m_oSplilter_SplitComplete();

  // State the workbench and tests look at.
  bool showAbility() const noexcept { return m_bShowAbility; }
  bool hasSplitter() const noexcept { return static_cast<bool>(m_oSplilter); }
  const ObjectRef& abilityOptions() const noexcept { return m_dctAbilityOption; }
  const Variant& columns() const noexcept { return m_dctColumns; }
  const ObjectRef& abilityResult() const noexcept { return m_rsAbility; }
  const ObjectRef& lineAbility() const noexcept { return m_rsLineAbility; }
  const ObjectRef& abilityHeader() const noexcept { return m_vecAbilityHeader; }
  int32_t abilityLineId() const noexcept { return m_lAbilityLineID; }

 private:
  friend struct AbilityBench;  // measures the ledger procedures on their own
  friend struct WizardBench;   // measures the plan rows' fill on its own

  Variant mInit(Args a);
  void ShowAbilityArea();
  void HideAbilityArea();
  // The line/item checks and the line browser.
  bool CheckScheduleRows();
  bool CheckLineItem(int32_t lItemID, int32_t lLineID, const std::string& sItemNumber,
                     const std::string& sLineName, std::string& sMsg);
  ObjectRef BrowseLine();
  // One schedule row as the checks read it; with `steps`, each read is a skipped step on failure.
  ScheduleRow readScheduleRow(int32_t row, automation::Steps* steps) const;
  // The number at the start of a header text box, rounded to 32 bits.
  int32_t numberIn(std::string_view textBox) const;
  // The grid column of a column key, and a cell's Value by row and column key.
  Variant column(std::string_view key) const;
  Variant cellValue(int32_t row, std::string_view key) const;
  void setCellValue(int32_t row, std::string_view key, const Variant& v);

  // The capacity ledger: its columns, the line capacity table, the capacity result.
  void RefreshAbility();
  bool LoadAbility();
  void BuildLineAbility(int32_t lLineID);
  void AddHeaderColumn(const std::string& sTopCaption, const std::string& sSecondCaption,
                       std::string_view sColType, std::string_view sColName, int16_t iVisible,
                       int32_t lMergerType);
  void BuildAbilityHeader(const ObjectRef& rsAbility);
  [[nodiscard]] automation::Ref<automation::Recordset> CreateLineAbilityTable(
      const ObjectRef& rsLine);
  // The tool bar's commands, the plan decomposition and the remaining-capacity report.
  void EditAbilityOption();
  void RunPlanWizard();
  void FillPlanRows(const ObjectRef& rows);
  int32_t GetNextBillSeq();
  void ShowAbilityReport();
  bool IsLongNumber();

  ObjectRef LoadSettings();
  void SaveSettings(const ObjectRef& options);
  void Class_Terminate() noexcept;

  // The toolbar button of a key; the tool bar fails for an unknown key.
  ObjectRef tool(std::string_view key) const;
  // A control of the form by name.
  ObjectRef control(std::string_view name) const;

  frame::ModuleLock moduleLock_;
  frame::EventField<EIRepScheduler> m_oEvent;
  frame::EventField<EIRepScheduler> m_frmRep;
  frame::EventField<EIRepScheduler> m_oSplilter;
  // Object fields: a member call through one that holds nothing is error 91.
  automation::ObjectField m_grdDetail;
  automation::ObjectField m_oMenuBar;
  automation::ObjectField m_picSplit;
  automation::ObjectField m_dctAbilityOption;
  automation::ObjectField m_oLedger;
  Variant m_dctColumns = Variant::nothing();
  bool m_bShowAbility = false;
  automation::ObjectField m_vecAbilityHeader;
  // The captions and header line's dates the column list above was built from, its length then.
  std::string m_abilityHeaderCaptions;
  std::vector<Variant> m_abilityHeaderDates;
  size_t m_abilityHeaderCount = 0;
  automation::ObjectField m_rsLineAbility;
  automation::ObjectField m_rsAbility;
  int32_t m_lAbilityLineID = 0;
  bool m_bInSelectChanged = false;
};

}  // namespace qx::scheduler
