#include "resource/ei_resource.h"

#include "automation/steps.h"
#include "host/event_interfaces.h"

namespace qx::resource {

namespace {

namespace ev = host::master_data_event;
using Route = frame::EventField<EIResource>::Route;

constexpr Route kRoutes[] = {
    {ev::kOnGetTitleInfo,
     [](EIResource& s, Args a) {
       frame::expectArgs(a, 2, "OnGetTitleInfo");
       s.m_oEvent_OnGetTitleInfo(a[0].ref(), a[1].ref());
     }},
    {ev::kOnGetMTSComponent,
     [](EIResource& s, Args a) {
       frame::expectArgs(a, 2, "OnGetMTSComponent");
       s.m_oEvent_OnGetMTSComponent(a[0].ref(), a[1].ref());
     }},
    {ev::kOnGetECaption,
     [](EIResource& s, Args a) {
       frame::expectArgs(a, 2, "OnGetECaption");
       s.m_oEvent_OnGetECaption(a[0].ref(), a[1].ref());
     }},
    {ev::kOnCheckData,
     [](EIResource& s, Args a) {
       frame::expectArgs(a, 3, "OnCheckData");
       s.m_oEvent_OnCheckData(a[0].get(), a[1].ref(), a[2].ref());
     }},
    {ev::kOnCheckCanDel,
     [](EIResource& s, Args a) {
       frame::expectArgs(a, 3, "OnCheckCanDel");
       s.m_oEvent_OnCheckCanDel(a[0].get(), a[1].ref(), a[2].ref());
     }},
};

}  // namespace

std::span<const automation::Member<EIResource>> EIResource::members() {
  static const automation::Member<EIResource> m[] = {
      {"Init", kInitId, &EIResource::mInit},
  };
  return m;
}

EIResource::EIResource() : m_oEvent(*this, std::string(host::kMasterDataEvents), kRoutes) {}

EIResource::~EIResource() {
  // Destruction never reports a failure.
  automation::Steps steps;
  steps.run([&] { m_oEvent.reset(); });
}

void EIResource::Init(const Variant& oEvent) {
  // No failure handling: a wrong object is the error of the Init call, nothing stored.
  automation::ObjectRef source = frame::takeEventSource(oEvent, host::kMasterDataEvents, kTypeName);
  m_oEvent.assign(source);
}

Variant EIResource::mInit(Args a) {
  automation::requireArgs(a, 1, "Init");
  Init(a[0].get());
  return Variant();
}

}  // namespace qx::resource
