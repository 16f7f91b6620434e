// The COM object of a plug-in class: its dual interface (Init in the vtable and by dispatch),
// error information for vtable callers, and its type description from the type library.
#pragma once

#include <ole2.h>
#include <windows.h>

#include "frame/server.h"
#include "win32/com/com_ptr.h"

namespace qx::win32 {

inline constexpr DISPID kInitDispId = 0x60030000;

// Wraps a plug-in object made by the class table; fails for a class without an interface.
[[nodiscard]] ComPtr<IDispatch> makePluginObject(const frame::ComponentClass& cls,
                                                 automation::ObjectRef plugin);

}  // namespace qx::win32
