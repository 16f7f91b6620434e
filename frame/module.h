// Module-wide counts that decide whether the library may be unloaded: live plug-in objects and
// class-factory locks. Plug-in objects are also counted per thread: the module state that a
// thread's plug-ins share (the cached resource loader) goes with the thread's last one.
#pragma once

#include <cstdint>
#include <thread>

namespace qx::frame {

int32_t liveComponentObjects() noexcept;
// The plug-in objects that the calling thread created and has not released.
int32_t threadComponentObjects() noexcept;
int32_t serverLocks() noexcept;
void lockServer(bool lock) noexcept;

// Held by every plug-in object for its life. Declared before the object's other members, so it
// goes last.
class ModuleLock {
 public:
  ModuleLock() noexcept;
  ModuleLock(const ModuleLock&) = delete;
  ModuleLock& operator=(const ModuleLock&) = delete;
  ~ModuleLock();

 private:
  std::thread::id thread_;
};

}  // namespace qx::frame
