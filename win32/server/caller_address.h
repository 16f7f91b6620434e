// A caller of an exported function written in C may pass a null pointer where the C++
// declaration has a reference (REFCLSID, REFIID). The test lives in a file of its own, out of
// the compiler's sight, so it is not folded away on the assumption that references are bound.
#pragma once

namespace qx::win32 {

bool isNullAddress(const void* p) noexcept;

}  // namespace qx::win32
