// The general-ledger data object: access checks and currencies.
#pragma once

#include "automation/object.h"

namespace qx::services {

// Rights checked with AccessCheck before the plan-decomposition wizard runs.
inline constexpr int32_t kWizardRightObject = 1022, kWizardRightSub = 10, kWizardRightMask = 131072;
// The local currency, as getCurrency's argument.
inline constexpr int16_t kLocalCurrency = 1;

// A new "QRWGLView.GLData" for every call; the caller releases it. Failures are the caller's.
[[nodiscard]] automation::ObjectRef NewGLData();

}  // namespace qx::services
