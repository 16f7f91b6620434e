// The Windows platform: creation by identifier, the registry object, screen, capture and
// messages (message boxes need a user and are not shown here).
#include "win32/server/windows_platform.h"
#include <windows.h>

#include "automation/arg.h"
#include "win32/testhost/check.h"
#include "win32/tests/tests.h"

namespace qx::win32::tests {

using automation::Error;
using testhost::check;
using testhost::checkEqual;

namespace {

template <class F>
int32_t failureNumber(F f) {
  try {
    f();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

LRESULT CALLBACK sizeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SIZE) return 1234;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

void windowsPlatformTests() {
  testhost::section("windows_platform");
  WindowsPlatform& p = windowsPlatform();

  checkEqual(failureNumber([&] { p.createObject("QxNoSuch.Component"); }), 429,
             "an identifier nobody registered is 429");
  automation::ObjectRef dict;
  checkEqual(failureNumber([&] { dict = p.createObject("scripting.dictionary"); }), 0,
             "a registered component is created by identifier in any letter case");
  if (dict) {
    dict->call("Add", "k", 5);
    checkEqual(dict->get("Count").toInt32(), 1, "and called by name");
  }
  automation::ObjectRef reg = p.createRegHelper();
  checkEqual(reg ? reg->typeName() : std::string(), "RegHelper", "the registry object");

  checkEqual(p.processId(), GetCurrentProcessId(), "the process id");
  double twips = p.twipsPerPixelX();
  check(twips >= 5 && twips <= 20,
        "twips per pixel from the screen's dpi: " + std::to_string(twips));
  check(p.twipsPerPixelY() == twips, "the same vertically");

  p.setMousePointer(11);
  checkEqual(p.mousePointer(), 11, "the busy pointer is kept");
  p.setMousePointer(0);
  checkEqual(p.mousePointer(), 0, "back to the default pointer");
  checkEqual(failureNumber([&] { p.setMousePointer(42); }), 380, "an unknown pointer is refused");
  checkEqual(p.mousePointer(), 0, "and changes nothing");

  checkEqual(failureNumber([&] { p.setCapture(12345); }), 5, "capture of a non-window fails");
  checkEqual(failureNumber([&] { p.sendMessage(0, WM_SIZE, 0, 0); }), 5,
             "a message to a non-window fails");
  checkEqual(failureNumber([&] { p.releaseCapture(); }), 0, "releasing capture is always fine");

  WNDCLASSW wc{};
  wc.lpfnWndProc = sizeProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QxPlatformTest";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, L"QxPlatformTest", L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
  if (check(hwnd != nullptr, "a message window for the test")) {
    checkEqual(p.sendMessage(reinterpret_cast<intptr_t>(hwnd), WM_SIZE, 0, 0), 1234,
               "SendMessage reaches the window and returns its answer");
    DestroyWindow(hwnd);
  }

  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
  p.doEvents();
  MSG msg;
  check(!PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_NOREMOVE),
        "pending messages are processed");
}

}  // namespace qx::win32::tests
