// The class factory handed out by DllGetClassObject: creates plug-in objects through the
// class table and counts server locks. Aggregation is not supported.
#pragma once

#include <ole2.h>
#include <windows.h>

#include "frame/server.h"
#include "win32/com/com_ptr.h"

namespace qx::win32 {

[[nodiscard]] ComPtr<IClassFactory> makeClassFactory(automation::Ref<frame::ClassFactory> factory);

}  // namespace qx::win32
