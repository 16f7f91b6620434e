// The four exports of the in-process server. Nothing is thrown across them.
#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include <new>
#include <string>

#include "frame/server.h"
#include "win32/com/bstr.h"
#include "win32/com/com_error.h"
#include "win32/com/com_module.h"
#include "win32/server/caller_address.h"
#include "win32/server/class_factory.h"
#include "win32/server/registration.h"

using qx::win32::ComPtr;

extern "C" {

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (qx::win32::isNullAddress(&clsid) || qx::win32::isNullAddress(&iid)) return E_INVALIDARG;
  try {
    wchar_t text[40] = {};
    if (!StringFromGUID2(clsid, text, 40)) return CLASS_E_CLASSNOTAVAILABLE;
    qx::automation::ObjectRef factory;
    HRESULT hr = qx::frame::getClassObject(qx::win32::toUtf8(text), &factory);
    if (FAILED(hr)) return hr;
    auto typed = qx::automation::refCast<qx::frame::ClassFactory>(factory);
    if (!typed) return E_UNEXPECTED;
    ComPtr<IClassFactory> com = qx::win32::makeClassFactory(std::move(typed));
    return com->QueryInterface(iid, out);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return qx::win32::statusOf(qx::automation::toError(std::current_exception()));
  }
}

STDAPI DllCanUnloadNow() {
  // Plug-in objects and server locks (the class table), and every COM object handed out.
  if (qx::frame::canUnloadNow() != S_OK) return S_FALSE;
  return qx::win32::liveComObjects() == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
  return qx::win32::registerServer();
}

STDAPI DllUnregisterServer() {
  return qx::win32::unregisterServer();
}

}  // extern "C"
