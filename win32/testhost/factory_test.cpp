// The class factory and the other exports of the server.
#include "QxIndDepComponent.h"
#include "win32/testhost/check.h"
#include "win32/testhost/plugin.h"
#include "win32/testhost/tests.h"

namespace qx::testhost {

void runFactoryTests() {
  section("class factory");
  // Make sure the server is loaded.
  ComPtr<IDispatch> res = createByProgId(kResourceProgId);
  if (!check(serverLoaded(), "the server is loaded")) return;

  ComPtr<IClassFactory> factory;
  checkStatus(serverGetClassObject(CLSID_EIResource, IID_IClassFactory, factory.putVoid()), S_OK,
              "DllGetClassObject for EIResource");
  ComPtr<IUnknown> other;
  checkStatus(serverGetClassObject(IID_IDispatch, IID_IClassFactory, other.putVoid()),
              CLASS_E_CLASSNOTAVAILABLE, "DllGetClassObject for another class id");
  check(!other, "no factory for another class id");
  checkStatus(serverGetClassObject(CLSID_EIRepScheduler, IID_IClassFactory, nullptr), E_POINTER,
              "DllGetClassObject without a slot");
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
