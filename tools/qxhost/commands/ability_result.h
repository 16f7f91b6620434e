// The capacity result of a work order as the schedule plug-in asks for it, shared by the
// commands that show it and export it.
#pragma once

#include "automation/recordset.h"
#include "tools/qxhost/workbench.h"

namespace qx::qxhost {

// Reads "<work order id> [FSchedule=0|1] [CalcRemainAbility=0|1] [FNoPlanICMO=0|1]" from the
// line's word `first` on (a usage error names what is wrong before the loader is asked), then
// asks a fresh "QxEIAbility.AbilityLoad" as the plug-in does. Null when the loader answers
// Nothing (an unknown work order).
automation::Ref<automation::Recordset> loadAbility(Workbench& w, const Line& l, size_t first);

}  // namespace qx::qxhost
