// How an IDispatch handed out by this module is recognised when it comes back, so that an
// automation object crossing the boundary twice is the same object again.
#pragma once

#include <ole2.h>
#include <windows.h>

#include "automation/object.h"

namespace qx::win32 {

// {6F42A898-8E09-4FD0-AFC2-06B04B451890}
extern const IID IID_IQxObject;

struct IQxObject : public IUnknown {
  // The automation object behind the interface (no reference added).
  virtual automation::Object* STDMETHODCALLTYPE target() noexcept = 0;
  // The module that made it (moduleTag() of that module).
  virtual const void* STDMETHODCALLTYPE owner() noexcept = 0;
};

}  // namespace qx::win32
