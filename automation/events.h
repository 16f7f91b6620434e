// Event subscription: sources keep their sinks; a field holding a source is a connection.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/arg.h"

namespace qx::automation {

// The sink list of one event source, for one interface.
class ConnectionPoint {
 public:
  explicit ConnectionPoint(std::string interfaceName) : interface_(std::move(interfaceName)) {}
  const std::string& interfaceName() const noexcept { return interface_; }

  uint32_t advise(const ObjectRef& sink);
  // Unknown cookies are ignored and reported as false.
  bool unadvise(uint32_t cookie) noexcept;
  size_t sinkCount() const noexcept { return sinks_.size(); }
  void clear() noexcept { sinks_.clear(); }

  // Calls every sink with the event id as a method; a sink's failure goes to the raiser.
  void raise(DispId eventId, Args args);
  template <class... A>
  void fire(DispId eventId, A&&... args) {
    if constexpr (sizeof...(A) == 0) {
      raise(eventId, Args());
    } else {
      Arg list[] = {detail::makeArg(std::forward<A>(args))...};
      raise(eventId, Args(list));
    }
  }

 private:
  struct Entry {
    uint32_t cookie;
    ObjectRef sink;
  };
  std::string interface_;
  std::vector<Entry> sinks_;
  uint32_t next_ = 1;
};

// A field that holds an event source: assigning advises the sink, reset or destruction
// unadvises. Unadvise failures are ignored (the source may already be gone on the host side).
class EventConnection {
 public:
  EventConnection() = default;
  EventConnection(const EventConnection&) = delete;
  EventConnection& operator=(const EventConnection&) = delete;
  ~EventConnection() { reset(); }

  // Ends any earlier subscription, then subscribes `sink` to `source` (null source: none).
  // A failing advise leaves the field empty and passes the failure on.
  void assign(const ObjectRef& source, std::string_view interfaceName, const ObjectRef& sink);
  void reset() noexcept;

  const ObjectRef& source() const noexcept { return source_; }
  explicit operator bool() const noexcept { return static_cast<bool>(source_); }
  Object* operator->() const noexcept { return source_.get(); }

 private:
  ObjectRef source_;
  uint32_t cookie_ = 0;
};

}  // namespace qx::automation

namespace qx::automation {

// A sink that hands every call to a function: the owner's router. The owner detaches it before
// it goes away, so a source that still holds the sink reaches nothing.
class FunctionSink final : public Object {
 public:
  using Handler = std::function<void(DispId, Args)>;
  // Tells the events the handler reads (it must not throw); without it, every event counts as
  // read.
  using Reads = std::function<bool(DispId)>;
  explicit FunctionSink(Handler h, Reads reads = nullptr)
      : handler_(std::move(h)), reads_(std::move(reads)) {}
  void detach() noexcept {
    handler_ = nullptr;
    reads_ = nullptr;
  }
  // Whether an event reaches a handler that reads its arguments. An event that does not is
  // answered without looking at its arguments, whatever the source sent.
  bool reads(DispId id) const noexcept { return handler_ && (!reads_ || reads_(id)); }

  DispId idOf(std::string_view name) const override;
  std::string typeName() const override { return "EventSink"; }

 protected:
  Variant dispatch(DispId id, CallKind kind, Args args) override;

 private:
  Handler handler_;
  Reads reads_;
};

}  // namespace qx::automation
