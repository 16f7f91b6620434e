#include "frame/module.h"

#include <atomic>

namespace qx::frame {

namespace {
std::atomic<int32_t> g_objects{0};
std::atomic<int32_t> g_locks{0};
}  // namespace

int32_t liveComponentObjects() noexcept {
  return g_objects.load();
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

ModuleLock::ModuleLock() noexcept {
  ++g_objects;
}
ModuleLock::~ModuleLock() {
  --g_objects;
}

}  // namespace qx::frame
