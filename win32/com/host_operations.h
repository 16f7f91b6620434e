// The operations of the host's bill event source as its type library declares them: a COM
// face of an event source checks the by-reference arguments of each call against these types
// before the object sees it, as a typed interface would (an object slot is IDispatch**, not a
// reference to a VARIANT).
#pragma once

#include <ole2.h>
#include <windows.h>

#include "automation/object.h"

namespace qx::win32 {

// S_OK when `id` is no operation of an event source `object` implements, or when the arguments
// have the declared count and types; DISP_E_BADPARAMCOUNT or DISP_E_TYPEMISMATCH (with the
// argument's index in `argErr`) otherwise.
HRESULT checkHostOperation(const automation::Object& object, DISPID id, const DISPPARAMS& params,
                           UINT* argErr) noexcept;

}  // namespace qx::win32
