#include "host/platform.h"

#include <atomic>

#include "automation/error.h"

namespace qx::host {

namespace {

using automation::Error;

// Stands in until a host installs its platform: every member fails, so a missing platform is
// never mistaken for a screen, a pointer or a process.
class NoPlatform final : public Platform {
 public:
  ObjectRef createObject(std::string_view progId) override { throw Error::cannotCreate(progId); }
  ObjectRef createRegHelper() override { throw Error::cannotCreate("RegHelper"); }
  int32_t mousePointer() override { throw none("Screen.MousePointer"); }
  void setMousePointer(int32_t) override { throw none("Screen.MousePointer"); }
  double twipsPerPixelX() override { throw none("Screen.TwipsPerPixelX"); }
  double twipsPerPixelY() override { throw none("Screen.TwipsPerPixelY"); }
  int32_t messageBox(const std::string&, int32_t, const std::string&) override {
    throw none("MsgBox");
  }
  void setCapture(intptr_t) override { throw none("SetCapture"); }
  void releaseCapture() override { throw none("ReleaseCapture"); }
  intptr_t sendMessage(intptr_t, uint32_t, intptr_t, intptr_t) override {
    throw none("SendMessage");
  }
  void doEvents() override { throw none("DoEvents"); }
  uint32_t processId() override { throw none("GetCurrentProcessId"); }

 private:
  static Error none(std::string_view what) {
    return Error::notImplemented(std::string(what) + " without a host", "Platform");
  }
};

NoPlatform g_none;
std::atomic<Platform*> g_platform{nullptr};

}  // namespace

ObjectRef Platform::headerLineService() {
  throw Error::cannotCreate("header-line service");
}

Platform& platform() {
  Platform* p = g_platform.load();
  return p ? *p : g_none;
}

Platform* setPlatform(Platform* p) noexcept {
  return g_platform.exchange(p);
}

}  // namespace qx::host
