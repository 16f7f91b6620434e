#include "win32/com/object_connections.h"

#include <string>

#include "automation/steps.h"

#include "win32/com/com_error.h"
#include "win32/com/com_module.h"
#include "win32/com/com_object.h"
#include "win32/com/host_interfaces.h"
#include "win32/com/object_bridge.h"

namespace qx::win32 {

namespace {

bool supportsSafely(const automation::Object& object, std::string_view name) noexcept {
  try {
    return object.supports(name);
  } catch (...) {
    return false;
  }
}

class ObjectConnectionPoint final
    : public SingleInterfaceObject<IConnectionPoint, &IID_IConnectionPoint> {
 public:
  ObjectConnectionPoint(ComPtr<IConnectionPointContainer> container, automation::ObjectRef object,
                        const HostInterface& itf) noexcept
      : container_(std::move(container)), object_(std::move(object)), itf_(itf) {}

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) noexcept override {
    if (!iid) return E_POINTER;
    *iid = *itf_.eventsId;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE
  GetConnectionPointContainer(IConnectionPointContainer** out) noexcept override {
    if (!out) return E_POINTER;
    *out = container_.get();
    (*out)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) noexcept override {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    ComPtr<IDispatch> d;
    if (FAILED(sink->QueryInterface(*itf_.eventsId, d.putVoid())) || !d) {
      if (FAILED(sink->QueryInterface(IID_IDispatch, d.putVoid())) || !d) {
        return CONNECT_E_CANNOTCONNECT;
      }
    }
    try {
      *cookie = object_->advise(itf_.name, objectFromDispatch(d.get()));
      return S_OK;
    } catch (...) {
      return statusOf(automation::toError(std::current_exception()));
    }
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) noexcept override {
    try {
      object_->unadvise(cookie);
      return S_OK;
    } catch (...) {
      return CONNECT_E_NOCONNECTION;
    }
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) noexcept override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }

 private:
  ~ObjectConnectionPoint() override = default;
  ComObjectCount count_;
  ComPtr<IConnectionPointContainer> container_;
  automation::ObjectRef object_;
  const HostInterface& itf_;
};

class ObjectConnections final : public ComObject<IConnectionPointContainer> {
 public:
  ObjectConnections(IDispatch* owner, automation::ObjectRef object) noexcept
      : owner_(owner), object_(std::move(object)) {}

  // The owner answers every other interface: one identity.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IConnectionPointContainer)) {
      *out = static_cast<IConnectionPointContainer*>(this);
      AddRef();
      return S_OK;
    }
    return owner_->QueryInterface(iid, out);
  }

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) noexcept override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid,
                                                IConnectionPoint** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (const HostInterface& h : hostInterfaces()) {
      if (!IsEqualIID(iid, *h.eventsId) || !supportsSafely(*object_, h.name)) continue;
      try {
        *out = new ObjectConnectionPoint(ComPtr<IConnectionPointContainer>(this), object_, h);
        return S_OK;
      } catch (...) {
        return E_OUTOFMEMORY;
      }
    }
    return CONNECT_E_NOCONNECTION;
  }

 private:
  ~ObjectConnections() override = default;
  ComObjectCount count_;
  ComPtr<IDispatch> owner_;
  automation::ObjectRef object_;
};

}  // namespace

bool raisesEvents(const automation::Object& object) noexcept {
  for (const HostInterface& h : hostInterfaces()) {
    if (supportsSafely(object, h.name)) return true;
  }
  return false;
}

ComPtr<IConnectionPointContainer> makeObjectConnections(IDispatch* owner,
                                                        automation::ObjectRef object) {
  return ComPtr<IConnectionPointContainer>::adopt(new ObjectConnections(owner, std::move(object)));
}

}  // namespace qx::win32
