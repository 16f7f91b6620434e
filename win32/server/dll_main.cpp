// Installs the Windows platform while the DLL is loaded. The DLL stays loaded only while it is
// in use: it keeps no state that a thread's end would have to release (the resource loader a
// thread's plug-ins share goes with the thread's last plug-in object), so it can be unloaded
// as soon as DllCanUnloadNow says so.
#include <windows.h>

#include "host/platform.h"
#include "win32/server/windows_platform.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    qx::host::setPlatform(&qx::win32::windowsPlatform());
  } else if (reason == DLL_PROCESS_DETACH) {
    qx::host::setPlatform(nullptr);
  }
  return TRUE;
}
