// The events of an automation object across COM: a connection-point container over an object
// that raises host or control events, handed out by its ObjectDispatch. A COM sink advised on
// a point becomes an automation sink of the object; unadvising ends that subscription.
#pragma once

#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include "automation/object.h"
#include "win32/com/com_ptr.h"

namespace qx::win32 {

// True when the object raises the events of at least one interface of hostInterfaces().
bool raisesEvents(const automation::Object& object) noexcept;

// The container for `object`; `owner` is the IDispatch that answers for its identity.
[[nodiscard]] ComPtr<IConnectionPointContainer> makeObjectConnections(IDispatch* owner,
                                                                      automation::ObjectRef object);

}  // namespace qx::win32
