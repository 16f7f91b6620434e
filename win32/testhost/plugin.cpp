#include "win32/testhost/plugin.h"

namespace qx::testhost {

namespace {
constexpr const wchar_t* kServerDll = L"QxIndDepComponent.dll";

template <class F>
F serverExport(const char* name) {
  HMODULE m = GetModuleHandleW(kServerDll);
  if (!m) return nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}
}  // namespace

ComPtr<IDispatch> createByProgId(const wchar_t* progId, HRESULT* hr) {
  CLSID clsid{};
  HRESULT r = CLSIDFromProgID(progId, &clsid);
  ComPtr<IDispatch> d;
  if (SUCCEEDED(r))
    r = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.putVoid());
  if (hr) *hr = r;
  if (FAILED(r)) d.reset();
  return d;
}

CallOutcome initByName(IDispatch* plugin, VARIANT oEvent) {
  return callMethod(plugin, L"Init", {oEvent});
}

VARIANT nothing() {
  return argDispatch(nullptr);
}

HRESULT serverCanUnloadNow() {
  auto f = serverExport<HRESULT(STDAPICALLTYPE*)()>("DllCanUnloadNow");
  return f ? f() : E_UNEXPECTED;
}

HRESULT serverGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  auto f = serverExport<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
  return f ? f(clsid, iid, out) : E_UNEXPECTED;
}

HRESULT serverGetClassObjectByPointer(const CLSID* clsid, const IID* iid, void** out) {
  auto f =
      serverExport<HRESULT(STDAPICALLTYPE*)(const CLSID*, const IID*, void**)>("DllGetClassObject");
  return f ? f(clsid, iid, out) : E_UNEXPECTED;
}

bool serverLoaded() {
  return GetModuleHandleW(kServerDll) != nullptr;
}

}  // namespace qx::testhost
