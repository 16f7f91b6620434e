#include "win32/com/event_sink.h"

namespace qx::win32 {

EventSink::EventSink(automation::ObjectRef sink, const IID& eventsId,
                     std::string_view interfaceName)
    : ObjectDispatch(sink),
      router_(automation::refCast<automation::FunctionSink>(sink)),
      eventsId_(eventsId),
      interface_(interfaceName) {}

ComPtr<IDispatch> EventSink::create(automation::ObjectRef sink, const IID& eventsId,
                                    std::string_view interfaceName) {
  if (!sink) return {};
  return ComPtr<IDispatch>::adopt(new EventSink(std::move(sink), eventsId, interfaceName));
}

HRESULT EventSink::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                          VARIANT* result, EXCEPINFO* info, UINT* argErr) noexcept {
  if (!router_ || router_->reads(id))
    return ObjectDispatch::Invoke(id, riid, lcid, flags, params, result, info, argErr);
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (result) VariantInit(result);
  return S_OK;
}

}  // namespace qx::win32
