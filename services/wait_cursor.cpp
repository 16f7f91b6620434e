#include "services/wait_cursor.h"

#include "automation/steps.h"
#include "host/platform.h"

namespace qx::services {

WaitCursor::WaitCursor() {
  StartWait();
}

WaitCursor::~WaitCursor() {
  automation::Steps steps;
  steps.run([&] { StopWait(); });
}

void WaitCursor::StartWait() {
  int32_t before = m_lWaitCount++;
  if (before == 0) host::platform().setMousePointer(kPointerHourglass);
}

void WaitCursor::StopWait() {
  int32_t before = m_lWaitCount--;
  if (before == 1) host::platform().setMousePointer(kPointerDefault);
}

}  // namespace qx::services
