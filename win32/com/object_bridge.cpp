#include "win32/com/object_bridge.h"

#include "win32/com/com_module.h"
#include "win32/com/dispatch_object.h"
#include "win32/com/object_dispatch.h"
#include "win32/com/object_identity.h"

namespace qx::win32 {

automation::ObjectRef objectFromDispatch(IDispatch* d) {
  if (!d) return {};
  ComPtr<IQxObject> own;
  if (SUCCEEDED(d->QueryInterface(IID_IQxObject, own.putVoid())) && own &&
      own->owner() == moduleTag()) {
    return automation::ObjectRef(own->target());
  }
  return automation::ObjectRef(automation::makeObject<DispatchObject>(ComPtr<IDispatch>(d)));
}

ComPtr<IDispatch> dispatchFromObject(const automation::ObjectRef& o) {
  if (!o) return {};
  if (auto* remote = dynamic_cast<DispatchObject*>(o.get())) return remote->comDispatch();
  return ObjectDispatch::create(o);
}

}  // namespace qx::win32
