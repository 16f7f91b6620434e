#include "sim/platform/sim_platform.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "automation/conversions.h"
#include "automation/ref.h"
#include "sim/components/reg_helper.h"
#include "sim/controls/ledger/header_line_service.h"

namespace qx::sim {

ObjectRef SimPlatform::createObject(std::string_view progId) {
  return components_.create(progId);
}

ObjectRef SimPlatform::createRegHelper() {
  return ObjectRef(automation::makeObject<RegHelper>(registry_));
}

void SimPlatform::setMousePointer(int32_t pointer) {
  pointer_ = pointer;
  pointerHistory_.push_back(pointer);
}

int32_t SimPlatform::messageBox(const std::string& prompt, int32_t style,
                                const std::string& title) {
  ShownMessage m{title, prompt, style, 1};
  if (std::optional<std::string> answer = dialogs_->take(dialog_kind::kMessage)) {
    // Queued through queueAnswer or checked by whoever queued it; a text that is no button
    // code leaves OK.
    try {
      if (auto n = automation::parseNumber(*answer)) m.answer = automation::roundToInt32(*n);
    } catch (const automation::Error&) {
    }
  }
  shown_.push_back(m);
  dialogs_->record({std::string(dialog_kind::kMessage), title, prompt, std::to_string(m.answer)});
  if (messageObserver_) messageObserver_(m);
  return m.answer;
}

void SimPlatform::queueAnswer(int32_t button) {
  dialogs_->queue(dialog_kind::kMessage, std::to_string(button));
}

intptr_t SimPlatform::sendMessage(intptr_t hwnd, uint32_t message, intptr_t wParam,
                                  intptr_t lParam) {
  sent_.push_back({hwnd, message, wParam, lParam});
  return windowMessage(hwnd, message, wParam, lParam);
}

intptr_t SimPlatform::windowMessage(intptr_t hwnd, uint32_t message, intptr_t wParam,
                                    intptr_t lParam) {
  auto it = windows_.find(hwnd);
  if (it == windows_.end()) return 0;
  WindowProc proc = it->second;  // the window may unregister itself while handling
  return proc(message, wParam, lParam);
}

#ifdef _WIN32
namespace {
constexpr wchar_t kWindowClass[] = L"QxSubstituteWindow";

LRESULT CALLBACK substituteWindowProc(HWND h, UINT message, WPARAM w, LPARAM l) {
  auto* platform = reinterpret_cast<SimPlatform*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (platform && message == WM_SIZE) {
    return platform->windowMessage(reinterpret_cast<intptr_t>(h), message, static_cast<intptr_t>(w),
                                   static_cast<intptr_t>(l));
  }
  return DefWindowProcW(h, message, w, l);
}
}  // namespace

intptr_t SimPlatform::registerWindow(WindowProc proc) {
  static const bool registered = [] {
    WNDCLASSW c{};
    c.lpfnWndProc = substituteWindowProc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = kWindowClass;
    return RegisterClassW(&c) != 0;
  }();
  HWND h = registered ? CreateWindowExW(0, kWindowClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 0,
                                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)
                      : nullptr;
  if (!h) {
    throw automation::Error(7, "the substitute host cannot create a window (error " +
                                   std::to_string(GetLastError()) + ")");
  }
  SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  windows_.emplace(reinterpret_cast<intptr_t>(h), std::move(proc));
  return reinterpret_cast<intptr_t>(h);
}

void SimPlatform::unregisterWindow(intptr_t hwnd) noexcept {
  if (windows_.erase(hwnd) > 0) DestroyWindow(reinterpret_cast<HWND>(hwnd));
}
#else
intptr_t SimPlatform::registerWindow(WindowProc proc) {
  intptr_t h = nextWindow_;
  nextWindow_ += 4;
  windows_.emplace(h, std::move(proc));
  return h;
}

void SimPlatform::unregisterWindow(intptr_t hwnd) noexcept {
  windows_.erase(hwnd);
}
#endif

ObjectRef SimPlatform::headerLineService() {
  return ObjectRef(HeaderLineService::create());
}

void SimPlatform::doEvents() {
  ++doEventsCalls_;
  while (!posted_.empty()) {
    std::function<void()> event = std::move(posted_.front());
    posted_.pop_front();
    event();
  }
}

uint32_t SimPlatform::processId() {
#ifdef _WIN32
  return static_cast<uint32_t>(GetCurrentProcessId());
#else
  return static_cast<uint32_t>(getpid());
#endif
}

}  // namespace qx::sim
