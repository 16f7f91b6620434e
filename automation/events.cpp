#include "automation/events.h"

#include <algorithm>

namespace qx::automation {

uint32_t ConnectionPoint::advise(const ObjectRef& sink) {
  if (!sink) throw Error::objectRequired("event sink");
  uint32_t cookie = next_++;
  sinks_.push_back({cookie, sink});
  return cookie;
}

bool ConnectionPoint::unadvise(uint32_t cookie) noexcept {
  auto it = std::find_if(sinks_.begin(), sinks_.end(),
                         [&](const Entry& e) { return e.cookie == cookie; });
  if (it == sinks_.end()) return false;
  sinks_.erase(it);
  return true;
}

void ConnectionPoint::raise(DispId eventId, Args args) {
  // A handler may advise or unadvise (itself or others) while the event runs: walk a copy,
  // and skip the sinks unadvised meanwhile.
  std::vector<Entry> snapshot = sinks_;
  for (const Entry& e : snapshot) {
    bool advised = std::any_of(sinks_.begin(), sinks_.end(),
                               [&](const Entry& s) { return s.cookie == e.cookie; });
    if (advised) e.sink->invoke(eventId, CallKind::Method, args);
  }
}

void EventConnection::assign(const ObjectRef& sourceArg, std::string_view interfaceName,
                             const ObjectRef& sink) {
  ObjectRef source = sourceArg;  // may be our own source_, which reset() clears
  reset();
  if (!source) return;
  cookie_ = source->advise(interfaceName, sink);
  source_ = source;
}

void EventConnection::reset() noexcept {
  ObjectRef old = std::move(source_);
  source_.reset();
  if (old) {
    try {
      old->unadvise(cookie_);
    } catch (...) {
      // The source refused; the subscription ends with our reference anyway.
    }
  }
  cookie_ = 0;
}

}  // namespace qx::automation

namespace qx::automation {

DispId FunctionSink::idOf(std::string_view name) const {
  throw Error::memberNotFound(name, typeName());  // events arrive by id only
}

Variant FunctionSink::dispatch(DispId id, CallKind kind, Args args) {
  if (kind != CallKind::Method) throw Error::memberNotFound("#" + std::to_string(id), typeName());
  if (handler_) handler_(id, args);
  return Variant();
}

}  // namespace qx::automation
