// The connection point of a test event source: keeps the advised sinks and raises events on
// them. A misbehaving host can be played: one that keeps its sinks when told to unadvise.
#pragma once

#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include <vector>

#include "win32/com/com_object.h"
#include "win32/com/com_ptr.h"
#include "win32/testhost/com_call.h"

namespace qx::testhost {

class ConnectionPoint final
    : public win32::SingleInterfaceObject<IConnectionPoint, &IID_IConnectionPoint> {
 public:
  [[nodiscard]] static ComPtr<ConnectionPoint> create(const IID& eventsId,
                                                      IConnectionPointContainer* container);

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) noexcept override;
  HRESULT STDMETHODCALLTYPE
  GetConnectionPointContainer(IConnectionPointContainer** out) noexcept override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) noexcept override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) noexcept override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) noexcept override;

  // Raises an event on every sink (arguments in call order); the outcome of the last sink.
  CallOutcome raise(DISPID id, const std::vector<VARIANT>& args);
  size_t sinkCount() const noexcept { return sinks_.size(); }
  void keepSinksOnUnadvise(bool keep) noexcept { keepSinks_ = keep; }
  void dropSinks() noexcept { sinks_.clear(); }
  // The container goes away before its connection point may.
  void detachContainer() noexcept { container_ = nullptr; }

 private:
  ConnectionPoint(const IID& eventsId, IConnectionPointContainer* container) noexcept
      : eventsId_(eventsId), container_(container) {}
  ~ConnectionPoint() override = default;

  struct Sink {
    DWORD cookie;
    ComPtr<IDispatch> sink;
  };
  IID eventsId_;
  IConnectionPointContainer* container_;  // not owned: it owns us
  std::vector<Sink> sinks_;
  DWORD next_ = 1;
  bool keepSinks_ = false;
};

}  // namespace qx::testhost
