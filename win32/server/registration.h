// Self-registration: the class table's keys (through the registry object) and the type
// library with its interfaces; unregistration removes exactly these.
#pragma once

#include <windows.h>

namespace qx::win32 {

HRESULT registerServer() noexcept;
HRESULT unregisterServer() noexcept;

}  // namespace qx::win32
