// The type library embedded in this DLL.
#pragma once

#include <ole2.h>
#include <windows.h>

#include "win32/com/com_ptr.h"

namespace qx::win32 {

// The type description of one of the library's interfaces (loaded on each call: no COM
// reference is kept in module state).
HRESULT typeInfoOf(const IID& iid, ITypeInfo** out) noexcept;

}  // namespace qx::win32
