// Installs the Windows platform while the DLL is loaded.
#include <windows.h>

#include "host/platform.h"
#include "win32/server/windows_platform.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    // The component keeps module state per thread (the resource loader), released when the
    // thread ends. The C++ runtime holds the DLL for such state and lets go of it from inside
    // the thread's exit; if that were the last reference, the DLL would be unloaded there and
    // its detach would wait on the very lock the exiting thread holds. Pinned, it stays loaded
    // for the life of the process (DllCanUnloadNow still answers for its objects).
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(instance), &self);
    qx::host::setPlatform(&qx::win32::windowsPlatform());
  } else if (reason == DLL_PROCESS_DETACH) {
    qx::host::setPlatform(nullptr);
  }
  return TRUE;
}
