// A class object (IClassFactory) that makes automation objects, without aggregation.
#pragma once

#include "win32/com/com_object.h"
#include "win32/com/com_ptr.h"

namespace qx::win32 {

class ClassObject : public SingleInterfaceObject<IClassFactory, &IID_IClassFactory> {
 public:
  // A failure to make the object comes back as its error's status code.
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid,
                                           void** out) noexcept override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) noexcept override { return S_OK; }

 protected:
  // A new object; may throw.
  virtual ComPtr<IDispatch> create() = 0;
};

}  // namespace qx::win32
