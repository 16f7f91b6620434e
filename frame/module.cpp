#include "frame/module.h"

#include <atomic>

#include "services/local_string.h"

namespace qx::frame {

namespace {
std::atomic<int32_t> g_objects{0};
std::atomic<int32_t> g_locks{0};
// A plain integer: nothing runs for it when the thread ends.
thread_local int32_t t_objects = 0;
}  // namespace

int32_t liveComponentObjects() noexcept {
  return g_objects.load();
}
int32_t threadComponentObjects() noexcept {
  return t_objects;
}
int32_t serverLocks() noexcept {
  return g_locks.load();
}

void lockServer(bool lock) noexcept {
  if (lock) {
    ++g_locks;
  } else if (g_locks.load() > 0) {
    --g_locks;
  }
}

ModuleLock::ModuleLock() noexcept : thread_(std::this_thread::get_id()) {
  ++g_objects;
  ++t_objects;
}

ModuleLock::~ModuleLock() {
  --g_objects;
  // An apartment-threaded object is released on its own thread. One released elsewhere leaves
  // its thread's count alone: that thread's state is not this thread's to release.
  if (thread_ != std::this_thread::get_id()) return;
  if (--t_objects == 0) services::releaseModuleState();
}

}  // namespace qx::frame
