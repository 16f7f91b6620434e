// A plug-in field that holds an event source: storing a source subscribes the plug-in to its
// events, clearing or replacing it ends the subscription. Events are routed by id to the
// plug-in's handlers; an id without a handler returns with every argument untouched.
#pragma once

#include <span>
#include <string>

#include "automation/events.h"

namespace qx::frame {

using automation::Args;
using automation::DispId;
using automation::ObjectRef;

// The arguments an event handler reads; fails with 449 naming the event when some are missing.
void expectArgs(Args args, size_t n, std::string_view eventName);

template <class Self>
class EventField {
 public:
  using Handler = void (*)(Self&, Args);
  struct Route {
    DispId id;
    Handler handler;
  };

  EventField(Self& owner, std::string interfaceName, std::span<const Route> routes)
      : owner_(owner),
        interface_(std::move(interfaceName)),
        routes_(routes),
        sink_(automation::makeObject<automation::FunctionSink>(
            [this](DispId id, Args args) { route(id, args); })) {}
  EventField(const EventField&) = delete;
  EventField& operator=(const EventField&) = delete;
  ~EventField() {
    sink_->detach();
    connection_.reset();
  }

  // Subscribes to `source` (null: none), ending any earlier subscription first.
  void assign(const ObjectRef& source) { connection_.assign(source, interface_, ObjectRef(sink_)); }
  void reset() noexcept { connection_.reset(); }

  const ObjectRef& get() const noexcept { return connection_.source(); }
  explicit operator bool() const noexcept { return static_cast<bool>(connection_); }
  automation::Object* operator->() const noexcept { return connection_.source().get(); }
  const std::string& interfaceName() const noexcept { return interface_; }

 private:
  void route(DispId id, Args args) {
    for (const Route& r : routes_) {
      if (r.id == id) {
        r.handler(owner_, args);
        return;
      }
    }
  }

  Self& owner_;
  std::string interface_;
  std::span<const Route> routes_;
  automation::Ref<automation::FunctionSink> sink_;
  automation::EventConnection connection_;
};

// The event source given to Init, checked against the host interface the class expects:
// Empty and Nothing give null (unsubscribed); an object of another interface or a non-object
// is a type mismatch (13).
ObjectRef takeEventSource(const automation::Variant& oEvent, std::string_view interfaceName,
                          std::string_view className);

}  // namespace qx::frame
