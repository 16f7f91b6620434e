// The class factory and the other exports of the server.
#include <cstdint>

#include "QxIndDepComponent.h"
#include "win32/testhost/check.h"
#include "win32/testhost/plugin.h"
#include "win32/testhost/tests.h"

namespace qx::testhost {

namespace {

// Each failure of DllGetClassObject is reported as what it is, and leaves the slot empty.
void checkClassObjectFailures() {
  struct Row {
    const char* what;
    const CLSID* clsid;
    const IID* iid;
    bool slot;
    HRESULT expected;
  };
  const Row rows[] = {
      {"another class id", &IID_IDispatch, &IID_IClassFactory, true, CLASS_E_CLASSNOTAVAILABLE},
      {"the null class id", &GUID_NULL, &IID_IClassFactory, true, CLASS_E_CLASSNOTAVAILABLE},
      {"an interface a factory lacks", &CLSID_EIResource, &IID_IDispatch, true, E_NOINTERFACE},
      {"no class id", nullptr, &IID_IClassFactory, true, E_INVALIDARG},
      {"no interface id", &CLSID_EIRepScheduler, nullptr, true, E_INVALIDARG},
      {"no slot", &CLSID_EIRepScheduler, &IID_IClassFactory, false, E_POINTER},
  };
  for (const Row& row : rows) {
    IUnknown* sentinel = reinterpret_cast<IUnknown*>(static_cast<uintptr_t>(0x1234));
    IUnknown* got = sentinel;
    HRESULT hr = serverGetClassObjectByPointer(row.clsid, row.iid,
                                               row.slot ? reinterpret_cast<void**>(&got) : nullptr);
    checkStatus(hr, row.expected, std::string("DllGetClassObject with ") + row.what);
    if (row.slot) check(got == nullptr, std::string(row.what) + ": the slot is emptied");
    if (got && got != sentinel) got->Release();
  }
}

}  // namespace

void runFactoryTests() {
  section("class factory");
  // Make sure the server is loaded.
  ComPtr<IDispatch> res = createByProgId(kResourceProgId);
  if (!check(serverLoaded(), "the server is loaded")) return;

  ComPtr<IClassFactory> factory;
  checkStatus(serverGetClassObject(CLSID_EIResource, IID_IClassFactory, factory.putVoid()), S_OK,
              "DllGetClassObject for EIResource");
  checkClassObjectFailures();
  if (!factory) return;

  ComPtr<IUnknown> outer = ComPtr<IUnknown>(static_cast<IUnknown*>(res.get()));
  ComPtr<IUnknown> aggregated;
  checkStatus(factory->CreateInstance(outer.get(), IID_IUnknown, aggregated.putVoid()),
              CLASS_E_NOAGGREGATION, "CreateInstance with an outer object");
  checkStatus(factory->CreateInstance(nullptr, IID_IDispatch, nullptr), E_POINTER,
              "CreateInstance without a slot");
  ComPtr<IUnknown> wrong;
  checkStatus(factory->CreateInstance(nullptr, IID_IClassFactory, wrong.putVoid()), E_NOINTERFACE,
              "CreateInstance for an interface the class lacks");
  ComPtr<_EIResource> made;
  checkStatus(factory->CreateInstance(nullptr, IID__EIResource, made.putVoid()), S_OK,
              "CreateInstance for _EIResource");
  made.reset();
  res.reset();
  outer.reset();

  checkStatus(factory->LockServer(TRUE), S_OK, "LockServer(TRUE)");
  factory.reset();
  checkStatus(serverCanUnloadNow(), S_FALSE, "a locked server may not be unloaded");
  ComPtr<IClassFactory> again;
  serverGetClassObject(CLSID_EIResource, IID_IClassFactory, again.putVoid());
  if (again) checkStatus(again->LockServer(FALSE), S_OK, "LockServer(FALSE)");
}

}  // namespace qx::testhost
