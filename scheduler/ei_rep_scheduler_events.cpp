// The bill engine's events handled by the schedule plug-in.
#include "scheduler/ei_rep_scheduler.h"

namespace qx::scheduler {

void EIRepScheduler::m_oEvent_OnCheckData(Variant&) {}
void EIRepScheduler::m_oEvent_OnGridKeyDown(Variant&, const Variant&, Variant&) {}
void EIRepScheduler::m_oEvent_OnShowDataEnd() {}
void EIRepScheduler::m_oEvent_OnSelectChanged(const Variant&, const Variant&, const Variant&,
                                              const Variant&, Variant&) {}
void EIRepScheduler::m_oEvent_OnBarClick(const Variant&, Variant&) {}

// The capacity ledger for the selected row's line.
void EIRepScheduler::RefreshAbility() {}

}  // namespace qx::scheduler
