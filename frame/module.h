// Module-wide counts that decide whether the library may be unloaded: live plug-in objects and
// class-factory locks.
#pragma once

#include <cstdint>

namespace qx::frame {

int32_t liveComponentObjects() noexcept;
int32_t serverLocks() noexcept;
void lockServer(bool lock) noexcept;

// Held by every plug-in object for its life.
class ModuleLock {
 public:
  ModuleLock() noexcept;
  ModuleLock(const ModuleLock&) = delete;
  ModuleLock& operator=(const ModuleLock&) = delete;
  ~ModuleLock();
};

}  // namespace qx::frame
