// Objects across the boundary: an IDispatch becomes an automation object and back. An object
// that crossed once comes back as itself, so identity survives a round trip.
#pragma once

#include <ole2.h>
#include <windows.h>

#include "automation/object.h"
#include "win32/com/com_ptr.h"

namespace qx::win32 {

// Null gives null.
automation::ObjectRef objectFromDispatch(IDispatch* d);
ComPtr<IDispatch> dispatchFromObject(const automation::ObjectRef& o);

}  // namespace qx::win32
