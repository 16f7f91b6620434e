#include "win32/server/windows_platform.h"

#include <ole2.h>
#include <windows.h>

#include "automation/error.h"
#include "win32/com/bstr.h"
#include "win32/com/com_error.h"
#include "win32/com/com_ptr.h"
#include "win32/com/object_bridge.h"
#include "win32/server/registry_object.h"

namespace qx::win32 {

using automation::Error;

namespace {

WindowsPlatform g_platform;

constexpr int32_t kTwipsPerInch = 1440;

// The form toolkit's pointer numbers (0 default ... 15 size all) as system cursors.
LPCWSTR cursorOf(int32_t pointer) {
  switch (pointer) {
    case 0:
    case 1:
    case 4:
      return IDC_ARROW;
    case 2:
      return IDC_CROSS;
    case 3:
      return IDC_IBEAM;
    case 5:
    case 15:
      return IDC_SIZEALL;
    case 6:
      return IDC_SIZENESW;
    case 7:
      return IDC_SIZENS;
    case 8:
      return IDC_SIZENWSE;
    case 9:
      return IDC_SIZEWE;
    case 10:
      return IDC_UPARROW;
    case 11:
      return IDC_WAIT;
    case 12:
      return IDC_NO;
    case 13:
      return IDC_APPSTARTING;
    case 14:
      return IDC_HELP;
    default:
      return nullptr;
  }
}

// Fractional at most resolutions (1440 / 120 dpi = 12, 1440 / 144 dpi = 10, 1440 / 168 dpi =
// 8.571...), as the toolkit's Screen object reports it.
double twipsPerPixel(int axis) {
  HDC dc = GetDC(nullptr);
  int dpi = dc ? GetDeviceCaps(dc, axis) : 0;
  if (dc) ReleaseDC(nullptr, dc);
  if (dpi <= 0) dpi = 96;
  return static_cast<double>(kTwipsPerInch) / dpi;
}

HWND windowOf(intptr_t hwnd, const char* what) {
  HWND h = reinterpret_cast<HWND>(hwnd);
  if (!IsWindow(h)) throw Error::invalidProcedureCall(std::string(what) + ": not a window");
  return h;
}

}  // namespace

WindowsPlatform& windowsPlatform() noexcept {
  return g_platform;
}

automation::ObjectRef WindowsPlatform::createObject(std::string_view progId) {
  std::wstring wide = toUtf16(progId);
  CLSID clsid{};
  if (FAILED(CLSIDFromProgID(wide.c_str(), &clsid))) throw Error::cannotCreate(progId);
  ComPtr<IDispatch> d;
  HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IDispatch, d.putVoid());
  if (FAILED(hr) || !d) {
    Error cause = errorFromStatus(FAILED(hr) ? hr : E_NOINTERFACE, "CoCreateInstance");
    throw Error(429, Error::cannotCreate(progId).description() + ": " + cause.description(),
                std::string(progId));
  }
  return objectFromDispatch(d.get());
}

automation::ObjectRef WindowsPlatform::createRegHelper() {
  return automation::ObjectRef(RegistryObject::create());
}

void WindowsPlatform::setMousePointer(int32_t pointer) {
  if (pointer == 99) {  // a custom icon: the form's own, nothing to set here
    pointer_ = pointer;
    return;
  }
  LPCWSTR id = cursorOf(pointer);
  if (!id) throw Error(380, "Invalid property value: MousePointer " + std::to_string(pointer));
  pointer_ = pointer;
  SetCursor(LoadCursorW(nullptr, id));
}

double WindowsPlatform::twipsPerPixelX() {
  return twipsPerPixel(LOGPIXELSX);
}
double WindowsPlatform::twipsPerPixelY() {
  return twipsPerPixel(LOGPIXELSY);
}

int32_t WindowsPlatform::messageBox(const std::string& prompt, int32_t style,
                                    const std::string& title) {
  std::wstring text = toUtf16(prompt);
  std::wstring caption = toUtf16(title);
  int r = MessageBoxW(GetActiveWindow(), text.c_str(), caption.c_str(), static_cast<UINT>(style));
  if (r == 0) throw errorFromStatus(HRESULT_FROM_WIN32(GetLastError()), "MessageBox");
  return r;
}

void WindowsPlatform::setCapture(intptr_t hwnd) {
  SetCapture(windowOf(hwnd, "SetCapture"));
}

void WindowsPlatform::releaseCapture() {
  ReleaseCapture();
}

intptr_t WindowsPlatform::sendMessage(intptr_t hwnd, uint32_t message, intptr_t wParam,
                                      intptr_t lParam) {
  return SendMessageW(windowOf(hwnd, "SendMessage"), message, static_cast<WPARAM>(wParam),
                      static_cast<LPARAM>(lParam));
}

void WindowsPlatform::doEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the host's own loop
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

uint32_t WindowsPlatform::processId() {
  return GetCurrentProcessId();
}

}  // namespace qx::win32
