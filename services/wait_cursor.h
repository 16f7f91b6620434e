// Shows the busy pointer while a guard lives.
#pragma once

#include <cstdint>

namespace qx::services {

// Mouse pointers of the application-wide Screen object.
inline constexpr int32_t kPointerDefault = 0, kPointerHourglass = 11;

// The count belongs to this guard only: of two guards alive at once, the first destroyed
// restores the default pointer although the other still lives.
class WaitCursor {
 public:
  // Starts waiting; a failure to set the pointer is the creator's.
  WaitCursor();
  // Stops waiting; never passes a failure on.
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

  void StartWait();
  void StopWait();
  int32_t waitCount() const noexcept { return m_lWaitCount; }

 private:
  int32_t m_lWaitCount = 0;
};

}  // namespace qx::services
