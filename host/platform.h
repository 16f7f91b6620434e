// What the component needs from the operating system and the form toolkit, behind one
// interface: the Windows build implements it with Win32 and COM, the substitute host with its
// own objects.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "automation/object.h"

namespace qx::host {

using automation::ObjectRef;

class Platform {
 public:
  virtual ~Platform() = default;

  // Creates the object registered under a programmatic identifier (letter case ignored);
  // fails with 429 naming the identifier when nothing answers it.
  virtual ObjectRef createObject(std::string_view progId) = 0;
  // The host foundation library's registry object (ReadValue / WriteValue).
  virtual ObjectRef createRegHelper() = 0;

  // The application-wide Screen object.
  virtual int32_t mousePointer() = 0;
  virtual void setMousePointer(int32_t pointer) = 0;
  // Twips per screen pixel: fractional at many resolutions, so callers round where they need to.
  virtual double twipsPerPixelX() = 0;
  virtual double twipsPerPixelY() = 0;

  // The modal message box; returns the pressed button's code.
  virtual int32_t messageBox(const std::string& prompt, int32_t style,
                             const std::string& title) = 0;

  // Mouse capture and window messages.
  virtual void setCapture(intptr_t hwnd) = 0;
  virtual void releaseCapture() = 0;
  virtual intptr_t sendMessage(intptr_t hwnd, uint32_t message, intptr_t wParam,
                               intptr_t lParam) = 0;
  // Lets pending window messages run (before a toolbar command).
  virtual void doEvents() = 0;

  virtual uint32_t processId() = 0;

  // The ledger grid control's header-line service (a global object of the control's library).
  // Not pure, so platforms without a ledger grid control need not provide it: fails with 429.
  virtual ObjectRef headerLineService();
};

// The platform installed for this process; without one, every member fails (429 for objects,
// 445 for the rest).
Platform& platform();
// Installs a platform (null: back to none); returns the previous one.
Platform* setPlatform(Platform* p) noexcept;

// Installs a platform for a scope.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(Platform& p) noexcept : previous_(setPlatform(&p)) {}
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;
  ~ScopedPlatform() { setPlatform(previous_); }

 private:
  Platform* previous_;
};

// Window message numbers the component sends.
inline constexpr uint32_t kWmSize = 5;
inline constexpr intptr_t kSizeRestored = 0;

}  // namespace qx::host
