// The resource bill plug-in: answers the five events of the master-data bill engine.
#pragma once

#include "automation/dispatch.h"
#include "frame/event_field.h"
#include "frame/module.h"

namespace qx::resource {

using automation::Args;
using automation::Variant;

class EIResource final : public automation::Dispatch<EIResource> {
 public:
  static constexpr std::string_view kTypeName = "EIResource";
  static constexpr automation::DispId kInitId = 0x60030000;
  static std::span<const automation::Member<EIResource>> members();
  static automation::Ref<EIResource> create() { return automation::makeObject<EIResource>(); }

  EIResource();
  ~EIResource() override;

  // Takes the bill engine's event source (MasterDataEvents) and subscribes to it.
  void Init(const Variant& oEvent);
  bool subscribed() const noexcept { return static_cast<bool>(m_oEvent); }

  void m_oEvent_OnGetTitleInfo(Variant& vecData, Variant& bCancel);
  void m_oEvent_OnGetMTSComponent(Variant& sProgID, Variant& bCancel);
  void m_oEvent_OnGetECaption(Variant& sCaption, Variant& bCancel);
  void m_oEvent_OnCheckData(const Variant& vecData, Variant& sMsg, Variant& bCancel);
  void m_oEvent_OnCheckCanDel(const Variant& lInterID, Variant& sMsg, Variant& bCancel);

 private:
  Variant mInit(Args a);

  frame::ModuleLock moduleLock_;
  frame::EventField<EIResource> m_oEvent;
};

}  // namespace qx::resource
