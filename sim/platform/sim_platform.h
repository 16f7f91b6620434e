// The substitute host's platform: object creation through its component registry, the
// registry object over its registry file, a screen with a recorded mouse pointer, the scripted
// answers of every dialog (message boxes among them), mouse capture and a window table that
// receives sent messages.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/platform.h"
#include "sim/components/component_registry.h"
#include "sim/platform/dialog_script.h"
#include "sim/platform/registry_file.h"

namespace qx::sim {

struct ShownMessage {
  std::string title, prompt;
  int32_t style = 0;
  int32_t answer = 0;
};

struct SentMessage {
  intptr_t hwnd;
  uint32_t message;
  intptr_t wParam, lParam;
};

class SimPlatform final : public host::Platform {
 public:
  using WindowProc = std::function<intptr_t(uint32_t message, intptr_t wParam, intptr_t lParam)>;

  SimPlatform(ComponentRegistry& components, RegistryFile& registry)
      : components_(components), registry_(registry), dialogs_(std::make_shared<DialogScript>()) {}

  ObjectRef createObject(std::string_view progId) override;
  ObjectRef createRegHelper() override;

  int32_t mousePointer() override { return pointer_; }
  void setMousePointer(int32_t pointer) override;
  double twipsPerPixelX() override { return twipsX_; }
  double twipsPerPixelY() override { return twipsY_; }
  void setTwipsPerPixel(double x, double y) noexcept { twipsX_ = x, twipsY_ = y; }
  const std::vector<int32_t>& pointerHistory() const noexcept { return pointerHistory_; }
  void clearPointerHistory() noexcept { pointerHistory_.clear(); }

  // Answers come from the dialog script's "message" answers; with none queued the box is
  // answered with OK (1).
  int32_t messageBox(const std::string& prompt, int32_t style, const std::string& title) override;
  void queueAnswer(int32_t button);
  // The scripted answers and the record of every dialog of the host; shared with the host's
  // dialog components.
  DialogScript& dialogs() noexcept { return *dialogs_; }
  std::shared_ptr<DialogScript> dialogsShared() const noexcept { return dialogs_; }
  const std::vector<ShownMessage>& shownMessages() const noexcept { return shown_; }
  void clearShownMessages() noexcept { shown_.clear(); }
  // Called as each box is shown (the workbench prints it).
  void onMessageBox(std::function<void(const ShownMessage&)> observer) {
    messageObserver_ = std::move(observer);
  }

  void setCapture(intptr_t hwnd) override { capture_ = hwnd; }
  void releaseCapture() override { capture_ = 0; }
  intptr_t capture() const noexcept { return capture_; }

  intptr_t sendMessage(intptr_t hwnd, uint32_t message, intptr_t wParam, intptr_t lParam) override;
  const std::vector<SentMessage>& sentMessages() const noexcept { return sent_; }
  // Registers a window; returns its handle. Messages to unknown handles return 0. On Windows
  // the handle is a real (hidden) window whose messages reach `proc`, so that code of another
  // module can send to it and capture the mouse with it.
  intptr_t registerWindow(WindowProc proc);
  void unregisterWindow(intptr_t hwnd) noexcept;
  // A message a window of this platform received (the real window's procedure on Windows).
  intptr_t windowMessage(intptr_t hwnd, uint32_t message, intptr_t wParam, intptr_t lParam);

  // Runs the queued events until none is left (events they queue run in the same pass).
  void doEvents() override;
  void post(std::function<void()> event) { posted_.push_back(std::move(event)); }
  int doEventsCalls() const noexcept { return doEventsCalls_; }
  uint32_t processId() override;

  // A header-line service that returns each line unchanged.
  ObjectRef headerLineService() override;

 private:
  ComponentRegistry& components_;
  RegistryFile& registry_;
  int32_t pointer_ = 0;
  std::vector<int32_t> pointerHistory_;
  double twipsX_ = 15, twipsY_ = 15;
  std::shared_ptr<DialogScript> dialogs_;
  std::vector<ShownMessage> shown_;
  std::function<void(const ShownMessage&)> messageObserver_;
  intptr_t capture_ = 0;
  std::vector<SentMessage> sent_;
  std::map<intptr_t, WindowProc> windows_;
  intptr_t nextWindow_ = 0x1000;
  int doEventsCalls_ = 0;
  std::deque<std::function<void()>> posted_;
};

}  // namespace qx::sim
