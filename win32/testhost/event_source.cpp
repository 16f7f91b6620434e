#include "win32/testhost/event_source.h"

#include <atomic>

namespace qx::testhost {

namespace {
std::atomic<int> g_live{0};
}  // namespace

int liveEventSources() noexcept {
  return g_live.load();
}

template <class Itf>
EventSource<Itf>::EventSource(const IID& interfaceId, const IID& eventsId)
    : interfaceId_(interfaceId),
      point_(ConnectionPoint::create(eventsId, static_cast<IConnectionPointContainer*>(this))) {
  ++g_live;
}

template <class Itf>
EventSource<Itf>::~EventSource() {
  point_->detachContainer();
  --g_live;
}

template <class Itf>
HRESULT EventSource<Itf>::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      IsEqualIID(iid, interfaceId_)) {
    *out = static_cast<Itf*>(this);
  } else if (IsEqualIID(iid, IID_IConnectionPointContainer)) {
    *out = static_cast<IConnectionPointContainer*>(this);
  } else {
    return E_NOINTERFACE;
  }
  this->AddRef();
  return S_OK;
}

template <class Itf>
HRESULT EventSource<Itf>::GetTypeInfoCount(UINT* count) noexcept {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

template <class Itf>
HRESULT EventSource<Itf>::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

template <class Itf>
HRESULT EventSource<Itf>::GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) noexcept {
  for (UINT i = 0; ids && i < count; ++i) ids[i] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;  // the plug-in binds the operations by position
}

template <class Itf>
HRESULT EventSource<Itf>::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                 EXCEPINFO* info, UINT*) noexcept {
  return operation(id, info);
}

template <class Itf>
HRESULT EventSource<Itf>::EnumConnectionPoints(IEnumConnectionPoints** out) noexcept {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

template <class Itf>
HRESULT EventSource<Itf>::FindConnectionPoint(REFIID iid, IConnectionPoint** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  IID events{};
  point_->GetConnectionInterface(&events);
  if (!IsEqualIID(iid, events)) return CONNECT_E_NOCONNECTION;
  *out = point_.get();
  point_->AddRef();
  return S_OK;
}

template class EventSource<_MasterDataEvents>;
template class EventSource<_BillEvents>;

HRESULT BillSource::operation(DISPID id, EXCEPINFO* info) noexcept {
  if (id < 0x60030000 || id > 0x60030009) return DISP_E_MEMBERNOTFOUND;
  if (info) {
    *info = EXCEPINFO{};
    info->scode = E_NOTIMPL;
    info->bstrSource = SysAllocString(L"BillEvents");
    info->bstrDescription = SysAllocString(L"the test host has no schedule form");
  }
  return DISP_E_EXCEPTION;
}

ComPtr<MasterDataSource> makeMasterDataSource() {
  return ComPtr<MasterDataSource>::adopt(
      new MasterDataSource(IID__MasterDataEvents, DIID___MasterDataEvents));
}

ComPtr<BillSource> makeBillSource() {
  return ComPtr<BillSource>::adopt(new BillSource());
}

}  // namespace qx::testhost
