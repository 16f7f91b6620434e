// The plug-in classes as a host reaches them: created by programmatic identifier, Init called
// by name, the server's own exports looked up in the loaded DLL.
#pragma once

#include <ole2.h>
#include <windows.h>

#include "win32/testhost/com_call.h"

namespace qx::testhost {

inline constexpr const wchar_t* kResourceProgId = L"QxIndDepComponent.EIResource";
inline constexpr const wchar_t* kSchedulerProgId = L"QxIndDepComponent.EIRepScheduler";
inline constexpr DISPID kInitId = 0x60030000;

// CLSIDFromProgID and CoCreateInstance; null (and the status in *hr) on failure.
ComPtr<IDispatch> createByProgId(const wchar_t* progId, HRESULT* hr = nullptr);
CallOutcome initByName(IDispatch* plugin, VARIANT oEvent);
VARIANT nothing();

// The server's DllCanUnloadNow and DllGetClassObject, when the DLL is loaded.
HRESULT serverCanUnloadNow();
HRESULT serverGetClassObject(REFCLSID clsid, REFIID iid, void** out);
// As a C caller makes the call: the ids by pointer, which may be null.
HRESULT serverGetClassObjectByPointer(const CLSID* clsid, const IID* iid, void** out);
bool serverLoaded();

}  // namespace qx::testhost
