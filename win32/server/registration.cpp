#include "win32/server/registration.h"

#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include "QxIndDepComponent.h"
#include "frame/server.h"
#include "win32/com/bstr.h"
#include "win32/com/com_ptr.h"
#include "win32/server/server_module.h"

namespace qx::win32 {

namespace {
// The library's version as registered (frame::kLibraryVersion).
constexpr WORD kMajor = 1, kMinor = 0;
}  // namespace

HRESULT registerServer() noexcept {
  try {
    std::wstring path = serverPath();
    if (path.empty()) return SELFREG_E_CLASS;
    HRESULT hr = frame::registerServer(toUtf8(path));
    if (FAILED(hr)) return hr;
    ComPtr<ITypeLib> lib;
    hr = LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, lib.put());
    if (FAILED(hr)) {
      frame::unregisterServer();  // leave nothing half-registered
      return SELFREG_E_TYPELIB;
    }
    return S_OK;
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

HRESULT unregisterServer() noexcept {
  // The interfaces' keys go with the type library; a library that is not registered any more
  // leaves nothing to remove.
  HRESULT tlb =
      UnRegisterTypeLib(LIBID_QxIndDepComponent, kMajor, kMinor, LOCALE_NEUTRAL, SYS_WIN64);
  bool tlbGone = SUCCEEDED(tlb) || tlb == TYPE_E_REGISTRYACCESS || tlb == TYPE_E_LIBNOTREGISTERED ||
                 tlb == TYPE_E_CANTLOADLIBRARY;
  HRESULT hr = frame::unregisterServer();
  if (FAILED(hr)) return hr;
  return tlbGone ? S_OK : SELFREG_E_TYPELIB;
}

}  // namespace qx::win32
