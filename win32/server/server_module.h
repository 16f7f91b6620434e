// This DLL's own module handle and file path.
#pragma once

#include <windows.h>

#include <string>

namespace qx::win32 {

HMODULE serverModule() noexcept;
std::wstring serverPath();

}  // namespace qx::win32
