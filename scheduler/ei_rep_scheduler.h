// The repetitive-production schedule bill plug-in.
#pragma once

#include <string>

#include "automation/dispatch.h"
#include "frame/event_field.h"
#include "frame/module.h"

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

 private:
  Variant mInit(Args a);
  void ShowAbilityArea();
  void HideAbilityArea();
  void RefreshAbility();
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
  ObjectRef m_grdDetail;
  ObjectRef m_oMenuBar;
  ObjectRef m_picSplit;
  ObjectRef m_dctAbilityOption;
  ObjectRef m_oLedger;
  Variant m_dctColumns;
  bool m_bShowAbility = false;
  ObjectRef m_vecAbilityHeader;
  ObjectRef m_rsLineAbility;
  ObjectRef m_rsAbility;
  int32_t m_lAbilityLineID = 0;
};

}  // namespace qx::scheduler
