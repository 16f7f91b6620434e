// Module-wide bookkeeping of the COM objects this module hands out, so that the server is
// unloaded only when nobody holds one of them.
#pragma once

#include <atomic>
#include <cstdint>

#include <windows.h>

namespace qx::win32 {

int32_t liveComObjects() noexcept;

// Held by every COM object of this module for its life.
class ComObjectCount {
 public:
  ComObjectCount() noexcept;
  ComObjectCount(const ComObjectCount&) = delete;
  ComObjectCount& operator=(const ComObjectCount&) = delete;
  ~ComObjectCount();
};

// An address unique to this module: tells our own objects from those of another module that
// was built from the same sources (the test host and the server both link the adapters).
const void* moduleTag() noexcept;

// The reference count of a COM object; the object deletes itself at zero.
class RefCount {
 public:
  ULONG addRef() noexcept { return ++n_; }
  // Returns the count left; zero means the caller must delete the object.
  ULONG release() noexcept { return --n_; }
  ULONG count() const noexcept { return n_; }

 private:
  std::atomic<ULONG> n_{1};
};

}  // namespace qx::win32
