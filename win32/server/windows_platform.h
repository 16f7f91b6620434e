// The Platform on Windows: COM creation by programmatic identifier, the real registry, the
// screen's cursor and dpi, message boxes, mouse capture, window messages.
#pragma once

#include "host/platform.h"

namespace qx::win32 {

class WindowsPlatform final : public host::Platform {
 public:
  automation::ObjectRef createObject(std::string_view progId) override;
  automation::ObjectRef createRegHelper() override;

  int32_t mousePointer() override { return pointer_; }
  void setMousePointer(int32_t pointer) override;
  double twipsPerPixelX() override;
  double twipsPerPixelY() override;

  int32_t messageBox(const std::string& prompt, int32_t style, const std::string& title) override;

  void setCapture(intptr_t hwnd) override;
  void releaseCapture() override;
  intptr_t sendMessage(intptr_t hwnd, uint32_t message, intptr_t wParam, intptr_t lParam) override;
  void doEvents() override;

  uint32_t processId() override;

 private:
  int32_t pointer_ = 0;
};

WindowsPlatform& windowsPlatform() noexcept;

}  // namespace qx::win32
