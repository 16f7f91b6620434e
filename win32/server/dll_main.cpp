// Installs the Windows platform while the DLL is loaded.
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
