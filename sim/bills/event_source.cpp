#include "sim/bills/event_source.h"

#include "automation/text.h"

namespace qx::sim {

using automation::Error;
namespace op = host::bill_op;

EventSource::EventSource(std::string interfaceName)
    : interface_(std::move(interfaceName)), sinks_(interface_) {
  if (host::eventsOf(interface_).empty()) {
    throw Error::invalidProcedureCall("unknown event interface " + interface_, "EventSource");
  }
}

bool EventSource::supports(std::string_view name) const {
  return automation::equalsIgnoreCase(name, interface_);
}

uint32_t EventSource::advise(std::string_view name, const automation::ObjectRef& sink) {
  if (!supports(name)) {
    throw Error(static_cast<int32_t>(0x80040200u), "No connection point for " + std::string(name),
                interface_);
  }
  return sinks_.advise(sink);
}

void EventSource::unadvise(uint32_t cookie) {
  if (!sinks_.unadvise(cookie)) {
    throw Error(static_cast<int32_t>(0x80040200u), "Unknown subscription", interface_);
  }
}

void EventSource::raise(automation::DispId id, Args args) {
  const host::EventDecl* decl = host::findEvent(interface_, id);
  if (!decl) throw Error::memberNotFound("event #" + std::to_string(id), interface_);
  host::checkEventArgs(*decl, args);
  sinks_.raise(id, args);
}

void EventSource::raise(std::string_view eventName, Args args) {
  const host::EventDecl* decl = host::findEvent(interface_, eventName);
  if (!decl) throw Error::memberNotFound("event " + std::string(eventName), interface_);
  raise(decl->id, args);
}

void EventSource::raiseUnchecked(automation::DispId id, Args args) {
  if (!host::findEvent(interface_, id)) {
    throw Error::memberNotFound("event #" + std::to_string(id), interface_);
  }
  sinks_.raise(id, args);
}

automation::DispId EventSource::idOf(std::string_view name) const {
  if (automation::equalsIgnoreCase(interface_, host::kBillEvents)) {
    for (int p = 1; p <= 10; ++p) {
      if (automation::equalsIgnoreCase(op::nameOf(p), name)) return op::idOf(p);
    }
  }
  throw Error::memberNotFound(name, interface_);
}

std::string EventSource::nameOf(automation::DispId id) const {
  int p = id - op::kBillOperationBase + 1;
  return std::string(op::nameOf(p));
}

Variant EventSource::dispatch(automation::DispId id, automation::CallKind, Args args) {
  int p = id - op::kBillOperationBase + 1;
  if (!automation::equalsIgnoreCase(interface_, host::kBillEvents) || op::nameOf(p).empty()) {
    throw Error::memberNotFound("#" + std::to_string(id), interface_);
  }
  operationLog_.push_back(p);
  // A source that no bill stands behind has no form or columns to hand out: every operation
  // leaves its arguments as they were, as an engine without a loaded bill would.
  if (!operations_) return Variant();
  return operations_(p, args);
}

}  // namespace qx::sim
