#include "win32/com/com_module.h"

namespace qx::win32 {

namespace {
std::atomic<int32_t> g_live{0};
const char g_tag = 0;
}  // namespace

int32_t liveComObjects() noexcept {
  return g_live.load();
}

ComObjectCount::ComObjectCount() noexcept {
  ++g_live;
}
ComObjectCount::~ComObjectCount() {
  --g_live;
}

const void* moduleTag() noexcept {
  return &g_tag;
}

}  // namespace qx::win32
