// The IUnknown of this module's COM objects: a reference count with which an object deletes
// itself on its last Release, and the QueryInterface of an object with one interface.
#pragma once

#include <ole2.h>
#include <windows.h>

#include "win32/com/com_module.h"

namespace qx::win32 {

// Implements AddRef and Release for every interface in `Interfaces`; the derived class answers
// QueryInterface. Objects are made with a count of one and live on the heap.
template <class... Interfaces>
class ComObject : public Interfaces... {
 public:
  ComObject() = default;
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  ULONG STDMETHODCALLTYPE AddRef() noexcept override { return refs_.addRef(); }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    ULONG left = refs_.release();
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~ComObject() = default;
  ULONG refCount() const noexcept { return refs_.count(); }

 private:
  RefCount refs_;
};

// An object answering IUnknown and `Itf` (whose interface id is `*Id`), nothing else.
template <class Itf, const IID* Id>
class SingleInterfaceObject : public ComObject<Itf> {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, *Id)) return E_NOINTERFACE;
    *out = static_cast<Itf*>(this);
    this->AddRef();
    return S_OK;
  }
};

}  // namespace qx::win32
