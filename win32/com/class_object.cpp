#include "win32/com/class_object.h"

#include "automation/error.h"
#include "win32/com/com_error.h"

namespace qx::win32 {

HRESULT ClassObject::CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  try {
    ComPtr<IDispatch> object = create();
    return object ? object->QueryInterface(iid, out) : E_UNEXPECTED;
  } catch (...) {
    return statusOf(automation::toError(std::current_exception()));
  }
}

}  // namespace qx::win32
