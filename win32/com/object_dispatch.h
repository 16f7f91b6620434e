// IDispatch over any automation object, so that our recordset, dictionaries, vectors and
// event sinks reach host code by name, and an object's events reach COM sinks. Failures never
// cross: they come back as status codes with an EXCEPINFO.
#pragma once

#include <ole2.h>
#include <windows.h>

#include <string_view>

#include "automation/object.h"
#include "win32/com/com_module.h"
#include "win32/com/com_object.h"
#include "win32/com/com_ptr.h"
#include "win32/com/object_identity.h"

namespace qx::win32 {

// The dispatch behaviour over an object, shared by every IDispatch of this module.
HRESULT getIdsOfNames(automation::Object& object, REFIID riid, LPOLESTR* names, UINT count,
                      DISPID* ids) noexcept;
// `eventInterface`, when given, names the host interface whose declared event parameters the
// arguments must match (an event sink's edge).
HRESULT invokeObject(automation::Object& object, DISPID id, REFIID riid, WORD flags,
                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* info, UINT* argErr,
                     std::string_view eventInterface = {}) noexcept;

class ObjectDispatch : public ComObject<IDispatch, IQxObject> {
 public:
  [[nodiscard]] static ComPtr<IDispatch> create(automation::ObjectRef object);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                                   UINT* argErr) noexcept override;
  // IQxObject
  automation::Object* STDMETHODCALLTYPE target() noexcept override { return object_.get(); }
  const void* STDMETHODCALLTYPE owner() noexcept override { return moduleTag(); }

 protected:
  explicit ObjectDispatch(automation::ObjectRef object) noexcept : object_(std::move(object)) {}
  ~ObjectDispatch() override = default;
  // A further interface id this object answers with its IDispatch.
  virtual bool answers(REFIID) const noexcept { return false; }
  virtual std::string_view eventInterface() const noexcept { return {}; }

 private:
  // The interface id of a host or control interface the object implements (the type check of
  // a plug-in's Init and of the event fields); its connection points serve the events.
  bool isHostInterfaceOfTarget(REFIID iid) const noexcept;

  ComObjectCount count_;
  automation::ObjectRef object_;
};

}  // namespace qx::win32
