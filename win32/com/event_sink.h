// The IDispatch that a plug-in advises on a host connection point: it answers the event
// interface's id and hands each event the plug-in reads to the sink object, which routes it to
// the handler, after checking its arguments against the host's declaration. An event the
// plug-in does not read returns S_OK at once: its arguments, whatever the host sent, are
// neither converted nor checked nor touched.
#pragma once

#include <string>

#include "automation/events.h"
#include "win32/com/object_dispatch.h"

namespace qx::win32 {

class EventSink final : public ObjectDispatch {
 public:
  [[nodiscard]] static ComPtr<IDispatch> create(automation::ObjectRef sink, const IID& eventsId,
                                                std::string_view interfaceName);

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                                   UINT* argErr) noexcept override;

 protected:
  bool answers(REFIID iid) const noexcept override { return IsEqualIID(iid, eventsId_); }
  std::string_view eventInterface() const noexcept override { return interface_; }

 private:
  EventSink(automation::ObjectRef sink, const IID& eventsId, std::string_view interfaceName);

  // Set when the sink tells which events it reads; otherwise every event goes through.
  automation::Ref<automation::FunctionSink> router_;
  IID eventsId_;
  std::string interface_;
};

}  // namespace qx::win32
