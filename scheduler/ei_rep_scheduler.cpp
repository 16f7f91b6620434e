#include "scheduler/ei_rep_scheduler.h"

#include "automation/steps.h"
#include "host/event_interfaces.h"

namespace qx::scheduler {

namespace {

namespace ev = host::bill_event;
using Route = frame::EventField<EIRepScheduler>::Route;

// Events 1, 2, 6, 7 and 8 have no handler and no effect.
constexpr Route kRoutes[] = {
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

}  // namespace

std::span<const automation::Member<EIRepScheduler>> EIRepScheduler::members() {
  static const automation::Member<EIRepScheduler> m[] = {
      {"Init", kInitId, &EIRepScheduler::mInit},
  };
  return m;
}

EIRepScheduler::EIRepScheduler() : m_oEvent(*this, std::string(host::kBillEvents), kRoutes) {}

EIRepScheduler::~EIRepScheduler() {
  Class_Terminate();
}

void EIRepScheduler::Init(const Variant& oEvent) {
  // No failure handling: any failure is the error of the Init call; what was bound stays.
  automation::ObjectRef source = frame::takeEventSource(oEvent, host::kBillEvents, kTypeName);
  m_oEvent.assign(source);
  setUpForm();
}

void EIRepScheduler::setUpForm() {
  if (!m_oEvent) {
    throw automation::Error::objectNotSet(std::string(kTypeName));
  }
}

void EIRepScheduler::Class_Terminate() noexcept {
  // Every step is attempted; failures are ignored. The event source goes last.
  automation::Steps steps;
  steps.run([&] { m_oEvent.reset(); });
}

Variant EIRepScheduler::mInit(Args a) {
  automation::requireArgs(a, 1, "Init");
  Init(a[0].get());
  return Variant();
}

}  // namespace qx::scheduler
