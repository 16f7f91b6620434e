// The repetitive-production schedule bill plug-in.
#pragma once

#include "automation/dispatch.h"
#include "frame/event_field.h"
#include "frame/module.h"

namespace qx::scheduler {

using automation::Args;
using automation::Variant;

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

  void m_oEvent_OnCheckData(Variant& bCancel);
  void m_oEvent_OnGridKeyDown(Variant& KeyCode, const Variant& Shift, Variant& bCancel);
  void m_oEvent_OnShowDataEnd();
  void m_oEvent_OnSelectChanged(const Variant& IRow, const Variant& iCol, const Variant& iPreRow,
                                const Variant& iPreCol, Variant& bCancel);
  void m_oEvent_OnBarClick(const Variant& Tool, Variant& bCancel);

 private:
  Variant mInit(Args a);
  // The form set-up that follows the subscription.
  void setUpForm();
  void Class_Terminate() noexcept;

  frame::ModuleLock moduleLock_;
  frame::EventField<EIRepScheduler> m_oEvent;
};

}  // namespace qx::scheduler
