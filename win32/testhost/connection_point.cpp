#include "win32/testhost/connection_point.h"

#include <algorithm>

namespace qx::testhost {

ComPtr<ConnectionPoint> ConnectionPoint::create(const IID& eventsId,
                                                IConnectionPointContainer* container) {
  return ComPtr<ConnectionPoint>::adopt(new ConnectionPoint(eventsId, container));
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) noexcept {
  if (!iid) return E_POINTER;
  *iid = eventsId_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) noexcept {
  if (!out) return E_POINTER;
  *out = container_;
  if (!container_) return E_UNEXPECTED;
  container_->AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) noexcept {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  // A sink must answer the event interface, as a real host's connection point demands.
  ComPtr<IDispatch> events;
  if (FAILED(sink->QueryInterface(eventsId_, events.putVoid())) || !events) {
    return CONNECT_E_CANNOTCONNECT;
  }
  *cookie = next_++;
  sinks_.push_back({*cookie, std::move(events)});
  return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) noexcept {
  auto it =
      std::find_if(sinks_.begin(), sinks_.end(), [&](const Sink& s) { return s.cookie == cookie; });
  if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
  if (!keepSinks_) sinks_.erase(it);
  return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** out) noexcept {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

CallOutcome ConnectionPoint::raise(DISPID id, const std::vector<VARIANT>& args) {
  CallOutcome last;
  std::vector<Sink> snapshot = sinks_;  // a handler may unadvise while the event runs
  for (const Sink& s : snapshot) last = invoke(s.sink.get(), id, DISPATCH_METHOD, args);
  return last;
}

}  // namespace qx::testhost
