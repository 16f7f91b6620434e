// Host-side records: a vector of field entries (FName, TrueValue) as the bill engine hands
// them to OnCheckData, built from our own vector and dictionary objects.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <ole2.h>
#include <windows.h>

#include "automation/variant.h"
#include "win32/com/com_ptr.h"

namespace qx::testhost {

using Field = std::pair<std::string, automation::Variant>;

win32::ComPtr<IDispatch> makeFieldVector(const std::vector<Field>& fields);
// A vector whose items are given as they are (for records of the wrong kind).
win32::ComPtr<IDispatch> makeVector(const std::vector<automation::Variant>& items);

}  // namespace qx::testhost
