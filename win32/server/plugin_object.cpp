#include "win32/server/plugin_object.h"

#include "QxIndDepComponent.h"
#include "automation/arg.h"
#include "automation/text.h"
#include "win32/com/com_error.h"
#include "win32/com/com_module.h"
#include "win32/com/com_object.h"
#include "win32/com/object_bridge.h"
#include "win32/com/object_dispatch.h"
#include "win32/com/object_identity.h"
#include "win32/server/type_library.h"

namespace qx::win32 {

namespace {

using automation::Error;
using automation::Variant;

// Itf is the class's dual interface (_EIResource or _EIRepScheduler).
template <class Itf>
class PluginObject final : public ComObject<Itf, ISupportErrorInfo, IQxObject> {
 public:
  PluginObject(automation::ObjectRef plugin, const IID& iid) noexcept
      : plugin_(std::move(plugin)), iid_(iid) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, iid_)) {
      *out = static_cast<Itf*>(this);
    } else if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
      *out = static_cast<ISupportErrorInfo*>(this);
    } else if (IsEqualIID(iid, IID_IQxObject)) {
      *out = static_cast<IQxObject*>(this);
    } else {
      return E_NOINTERFACE;
    }
    this->AddRef();
    return S_OK;
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return typeInfoOf(iid_, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) noexcept override {
    return getIdsOfNames(*plugin_, riid, names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* info,
                                   UINT* argErr) noexcept override {
    return invokeObject(*plugin_, id, riid, flags, params, result, info, argErr);
  }

  // The dual interface's own member.
  HRESULT STDMETHODCALLTYPE Init(IDispatch* oEvent) noexcept override {
    return guardCall(iid_, [&] {
      Variant source = Variant::nothing();
      if (oEvent) {
        // A caller may hand over any interface pointer here: insist on automation.
        ComPtr<IDispatch> d;
        if (FAILED(oEvent->QueryInterface(IID_IDispatch, d.putVoid())) || !d) {
          throw Error::typeMismatch("Init expects an automation object", plugin_->typeName());
        }
        source = Variant(objectFromDispatch(d.get()));
      }
      plugin_->callId(kInitDispId, automation::CallKind::Method, std::move(source));
      return S_OK;
    });
  }

  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) noexcept override {
    return IsEqualIID(iid, iid_) ? S_OK : S_FALSE;
  }

  // IQxObject
  automation::Object* STDMETHODCALLTYPE target() noexcept override { return plugin_.get(); }
  const void* STDMETHODCALLTYPE owner() noexcept override { return moduleTag(); }

 private:
  ~PluginObject() override = default;

  ComObjectCount count_;
  automation::ObjectRef plugin_;
  IID iid_;
};

template <class Itf>
ComPtr<IDispatch> wrap(automation::ObjectRef plugin, const IID& iid) {
  auto* p = new PluginObject<Itf>(std::move(plugin), iid);
  return ComPtr<IDispatch>::adopt(static_cast<Itf*>(p));
}

}  // namespace

ComPtr<IDispatch> makePluginObject(const frame::ComponentClass& cls, automation::ObjectRef plugin) {
  if (!plugin) throw Error::objectNotSet(std::string(cls.name));
  if (automation::equalsIgnoreCase(cls.name, "EIResource")) {
    return wrap<_EIResource>(std::move(plugin), IID__EIResource);
  }
  if (automation::equalsIgnoreCase(cls.name, "EIRepScheduler")) {
    return wrap<_EIRepScheduler>(std::move(plugin), IID__EIRepScheduler);
  }
  throw Error::internal("no COM interface for class " + std::string(cls.name));
}

}  // namespace qx::win32
