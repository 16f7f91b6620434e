#include "win32/com/event_sink.h"

namespace qx::win32 {

ComPtr<IDispatch> EventSink::create(automation::ObjectRef sink, const IID& eventsId,
                                    std::string_view interfaceName) {
  if (!sink) return {};
  return ComPtr<IDispatch>::adopt(new EventSink(std::move(sink), eventsId, interfaceName));
}

}  // namespace qx::win32
