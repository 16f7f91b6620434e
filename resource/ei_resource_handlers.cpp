// The five handlers of the resource bill.
#include "resource/ei_resource.h"

namespace qx::resource {

void EIResource::m_oEvent_OnGetTitleInfo(Variant&, Variant&) {}
void EIResource::m_oEvent_OnGetMTSComponent(Variant&, Variant&) {}
void EIResource::m_oEvent_OnGetECaption(Variant&, Variant&) {}
void EIResource::m_oEvent_OnCheckData(const Variant&, Variant&, Variant&) {}
void EIResource::m_oEvent_OnCheckCanDel(const Variant&, Variant&, Variant&) {}

}  // namespace qx::resource
