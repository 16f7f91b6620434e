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
// The platform the type library was registered for: that of this build (frame::kLibraryPlatform).
#if defined(_WIN64)
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif
}  // namespace

HRESULT registerServer() noexcept {
  try {
    std::wstring path = serverPath();
    if (path.empty()) return SELFREG_E_CLASS;
    // The type library first: the keys written after it name the server file exactly as
    // InprocServer32 does, whatever form of the path the system wrote for the library.
    ComPtr<ITypeLib> lib;
    if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, lib.put()))) return SELFREG_E_TYPELIB;
    HRESULT hr = frame::registerServer(toUtf8(path));
    if (FAILED(hr)) {
      unregisterServer();  // leave nothing half-registered
      return hr;
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
      UnRegisterTypeLib(LIBID_QxIndDepComponent, kMajor, kMinor, LOCALE_NEUTRAL, kSysKind);
  bool tlbGone = SUCCEEDED(tlb) || tlb == TYPE_E_REGISTRYACCESS || tlb == TYPE_E_LIBNOTREGISTERED ||
                 tlb == TYPE_E_CANTLOADLIBRARY;
  HRESULT hr = frame::unregisterServer();
  if (FAILED(hr)) return hr;
  return tlbGone ? S_OK : SELFREG_E_TYPELIB;
}

}  // namespace qx::win32
