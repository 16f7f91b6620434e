#include "scheduler/ei_rep_scheduler.h"

#include "automation/steps.h"
#include "host/event_interfaces.h"
#include "host/toolkit.h"
#include "widgets/splitter.h"

namespace qx::scheduler {

namespace {

namespace ev = host::bill_event;
using Route = frame::EventField<EIRepScheduler>::Route;

// Events 1, 2, 6, 7 and 8 have no handler and no effect.
constexpr Route kEventRoutes[] = {
    {ev::kOnCheckData,
     [](EIRepScheduler& s, Args a) {
       frame::expectArgs(a, 1, "OnCheckData");
       s.m_oEvent_OnCheckData(a[0].ref());
     }},
    {ev::kOnGridKeyDown,
     [](EIRepScheduler& s, Args a) {
       frame::expectArgs(a, 3, "OnGridKeyDown");
       s.m_oEvent_OnGridKeyDown(a[0].ref(), a[1].get(), a[2].ref());
     }},
    {ev::kOnShowDataEnd, [](EIRepScheduler& s, Args) { s.m_oEvent_OnShowDataEnd(); }},
    {ev::kOnSelectChanged,
     [](EIRepScheduler& s, Args a) {
       frame::expectArgs(a, 5, "OnSelectChanged");
       s.m_oEvent_OnSelectChanged(a[0].get(), a[1].get(), a[2].get(), a[3].get(), a[4].ref());
     }},
    {ev::kOnBarClick,
     [](EIRepScheduler& s, Args a) {
       frame::expectArgs(a, 2, "OnBarClick");
       s.m_oEvent_OnBarClick(a[0].get(), a[1].ref());
     }},
};

constexpr Route kFormRoutes[] = {
    {host::form_event::kResize, [](EIRepScheduler& s, Args) { s.m_frmRep_Resize(); }},
};

constexpr Route kSplitterRoutes[] = {
    {widgets::splitter_event::kDoSplit,
     [](EIRepScheduler& s, Args a) {
       frame::expectArgs(a, 1, "DoSplit");
       s.m_oSplilter_DoSplit(a[0].ref());
     }},
    {widgets::splitter_event::kSplitComplete,
     [](EIRepScheduler& s, Args) { s.m_oSplilter_SplitComplete(); }},
};

const char* const kVisibleTools[] = {"wizard", "showability", "abilityOption", "refreshability",
                                     "viewload"};

}  // namespace

std::span<const automation::Member<EIRepScheduler>> EIRepScheduler::members() {
  static const automation::Member<EIRepScheduler> m[] = {
      {"Init", kInitId, &EIRepScheduler::mInit},
  };
  return m;
}

EIRepScheduler::EIRepScheduler()
    : m_oEvent(*this, std::string(host::kBillEvents), kEventRoutes),
      m_frmRep(*this, std::string(host::kFormEvents), kFormRoutes),
      m_oSplilter(*this, std::string(widgets::kSplitterEvents), kSplitterRoutes) {}

EIRepScheduler::~EIRepScheduler() {
  Class_Terminate();
}

ObjectRef EIRepScheduler::control(std::string_view name) const {
  return m_frmRep->get(name).toObject();
}

ObjectRef EIRepScheduler::tool(std::string_view key) const {
  return m_oMenuBar->get("Tools", key).toObject();
}

void EIRepScheduler::Init(const Variant& oEvent) {
  // No failure handling: any failure is the error of the Init call; what was bound stays.
  m_oEvent.assign(frame::takeEventSource(oEvent, host::kBillEvents, kTypeName));
  if (!m_oEvent) throw automation::Error::objectNotSet(std::string(kTypeName));

  // Object variables: the operations declare their slots as object references.
  Variant form = Variant::nothing();
  m_oEvent->callId(host::bill_op::idOf(host::bill_op::kGetForm), automation::CallKind::Method,
                   automation::Arg::byRef(form));
  m_frmRep.assign(frame::takeEventSource(form, host::kFormEvents, kTypeName));
  m_grdDetail = control("grdDetail");

  m_oEvent->callId(host::bill_op::idOf(host::bill_op::kGetColumns), automation::CallKind::Method,
                   automation::Arg::byRef(m_dctColumns));

  m_oLedger = control("m_ldgData");
  m_picSplit = control("picSplit");
  m_oMenuBar = control("MenuBar");

  for (const char* key : kVisibleTools) tool(key)->put("Visible", true);

  m_dctAbilityOption = LoadSettings();

  if (tool("showability")->get("Checked").toBool()) {
    ShowAbilityArea();
  } else {
    HideAbilityArea();
  }
}

void EIRepScheduler::Class_Terminate() noexcept {
  // Every step is attempted and a failing one skipped; the settings are saved first and the
  // event source is released last.
  automation::Steps steps;
  steps.run([&] { SaveSettings(m_dctAbilityOption); });
  steps.run([&] { m_rsAbility.reset(); });
  steps.run([&] { m_dctColumns = Variant::nothing(); });
  steps.run([&] { m_oSplilter.reset(); });
  steps.run([&] { m_oMenuBar.reset(); });
  steps.run([&] { m_oLedger.reset(); });
  steps.run([&] { m_rsLineAbility.reset(); });
  steps.run([&] { m_vecAbilityHeader.reset(); });
  steps.run([&] { m_frmRep.reset(); });
  steps.run([&] { m_grdDetail.reset(); });
  steps.run([&] { m_oEvent.reset(); });
}

Variant EIRepScheduler::mInit(Args a) {
  automation::requireArgs(a, 1, "Init");
  Init(a[0].get());
  return Variant();
}

}  // namespace qx::scheduler
