#include "win32/server/caller_address.h"

namespace qx::win32 {

bool isNullAddress(const void* p) noexcept {
  return p == nullptr;
}

}  // namespace qx::win32
