// The IDispatch that a plug-in advises on a host connection point: it answers the event
// interface's id, checks each event's arguments against the host's declaration and hands the
// event to the sink object, which routes it to the handler.
#pragma once

#include <string>

#include "win32/com/object_dispatch.h"

namespace qx::win32 {

class EventSink final : public ObjectDispatch {
 public:
  [[nodiscard]] static ComPtr<IDispatch> create(automation::ObjectRef sink, const IID& eventsId,
                                                std::string_view interfaceName);

 protected:
  bool answers(REFIID iid) const noexcept override { return IsEqualIID(iid, eventsId_); }
  std::string_view eventInterface() const noexcept override { return interface_; }

 private:
  EventSink(automation::ObjectRef sink, const IID& eventsId, std::string_view interfaceName)
      : ObjectDispatch(std::move(sink)), eventsId_(eventsId), interface_(interfaceName) {}

  IID eventsId_;
  std::string interface_;
};

}  // namespace qx::win32
