// A platform for widget tests: records capture, messages and the screen's pointer in the shared
// call log, creates only the objects it was given factories for, and fails any other call.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "automation/error.h"
#include "automation/text.h"
#include "host/platform.h"
#include "strict_fake.h"

namespace qx::widgets::testing {

class FakePlatform final : public host::Platform {
 public:
  explicit FakePlatform(CallLog& log) : log_(log), installed_(*this) {}

  std::map<std::string, std::function<automation::ObjectRef()>> factories;  // lower-case ids
  std::function<automation::ObjectRef()> headerLines;
  double twipsX = 15, twipsY = 15;
  int32_t pointer = 0;
  bool failCapture = false;

  automation::ObjectRef createObject(std::string_view progId) override {
    auto it = factories.find(automation::asciiLower(progId));
    if (it == factories.end()) throw automation::Error::cannotCreate(progId);
    return it->second();
  }
  automation::ObjectRef createRegHelper() override { return unexpected("createRegHelper"); }
  int32_t mousePointer() override { return pointer; }
  void setMousePointer(int32_t p) override {
    pointer = p;
    log_.push_back("Screen.MousePointer = " + std::to_string(p));
  }
  double twipsPerPixelX() override { return twipsX; }
  double twipsPerPixelY() override { return twipsY; }
  int32_t messageBox(const std::string&, int32_t, const std::string&) override {
    unexpected("messageBox");
    return 0;
  }
  void setCapture(intptr_t hwnd) override {
    if (failCapture) throw automation::Error(5, "SetCapture failed");
    log_.push_back("SetCapture(" + std::to_string(hwnd) + ")");
  }
  void releaseCapture() override { log_.push_back("ReleaseCapture"); }
  intptr_t sendMessage(intptr_t hwnd, uint32_t message, intptr_t wParam, intptr_t lParam) override {
    log_.push_back("SendMessage(" + std::to_string(hwnd) + ", " + std::to_string(message) + ", " +
                   std::to_string(wParam) + ", " + std::to_string(lParam) + ")");
    if (onMessage) onMessage();
    return 0;
  }
  std::function<void()> onMessage;
  void doEvents() override { unexpected("doEvents"); }
  uint32_t processId() override { return 1; }
  automation::ObjectRef headerLineService() override {
    if (!headerLines) throw automation::Error::cannotCreate("header-line service");
    return headerLines();
  }

 private:
  automation::ObjectRef unexpected(const char* what) {
    ADD_FAILURE() << "unexpected platform call " << what;
    throw automation::Error::notImplemented(what);
  }
  CallLog& log_;
  host::ScopedPlatform installed_;
};

}  // namespace qx::widgets::testing
