// Objects across the boundary keep their identity.
#include "win32/com/object_bridge.h"
#include "automation/host_dictionary.h"
#include "win32/com/dispatch_object.h"
#include "win32/testhost/check.h"
#include "win32/tests/tests.h"

namespace qx::win32::tests {

using testhost::check;

void objectBridgeTests() {
  testhost::section("object_bridge");
  auto dict = automation::HostDictionary::create();
  automation::ObjectRef ours(dict);
  ComPtr<IDispatch> d = dispatchFromObject(ours);
  check(static_cast<bool>(d), "an object gets an IDispatch");
  check(objectFromDispatch(d.get()) == ours, "and comes back as itself");
  check(!dispatchFromObject(automation::ObjectRef()), "null stays null");
  check(!objectFromDispatch(nullptr), "a null IDispatch stays null");

  // An object over a foreign IDispatch hands that IDispatch back.
  automation::ObjectRef foreign(automation::makeObject<DispatchObject>(d));
  check(dispatchFromObject(foreign).get() == d.get(), "a wrapped IDispatch is handed back as is");
}

}  // namespace qx::win32::tests
