// The bill engine's event sources as the test host provides them: an object of the host
// interface (_MasterDataEvents or _BillEvents) with a connection point for its events.
#pragma once

#include <ocidl.h>
#include <ole2.h>
#include <windows.h>

#include "hostevents.h"
#include "win32/com/com_object.h"
#include "win32/testhost/connection_point.h"

namespace qx::testhost {

// Counts the live event-source objects of the test host, for the leak checks.
int liveEventSources() noexcept;

// Itf is the host interface the source implements.
template <class Itf>
class EventSource : public win32::ComObject<Itf, IConnectionPointContainer> {
 public:
  EventSource(const IID& interfaceId, const IID& eventsId);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO* info, UINT*) noexcept override;

  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) noexcept override;
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid,
                                                IConnectionPoint** out) noexcept override;

  CallOutcome raise(DISPID id, const std::vector<VARIANT>& args) { return point_->raise(id, args); }
  size_t sinkCount() const noexcept { return point_->sinkCount(); }
  ConnectionPoint& point() noexcept { return *point_.get(); }
  // The current reference count (the test's own reference included).
  ULONG refs() const noexcept { return this->refCount(); }

 protected:
  ~EventSource() override;
  // Operations of the host interface by dispatch id; the base has none.
  virtual HRESULT operation(DISPID, EXCEPINFO*) noexcept { return DISP_E_MEMBERNOTFOUND; }

 private:
  IID interfaceId_;
  ComPtr<ConnectionPoint> point_;
};

using MasterDataSource = EventSource<_MasterDataEvents>;

// The schedule bill's source: the test host has no schedule form, so its operations fail
// with an error the caller can read (they are called by dispatch id, not through the vtable).
class BillSource final : public EventSource<_BillEvents> {
 public:
  BillSource() : EventSource(IID__BillEvents, DIID___BillEvents) {}

  HRESULT STDMETHODCALLTYPE GetForm(IDispatch**, VARIANT*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetColumns(IDispatch**, VARIANT*) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetInterID(VARIANT*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetBillStatus(VARIANT*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RefreshBill(VARIANT*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RenumberRows(VARIANT*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetBillChanged(VARIANT*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RefreshTotals(VARIANT*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMenuBar(VARIANT*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ShowDetail(IDispatch**, LONG*, VARIANT*) noexcept override {
    return E_NOTIMPL;
  }

 protected:
  HRESULT operation(DISPID id, EXCEPINFO* info) noexcept override;
};

[[nodiscard]] ComPtr<MasterDataSource> makeMasterDataSource();
[[nodiscard]] ComPtr<BillSource> makeBillSource();

}  // namespace qx::testhost
