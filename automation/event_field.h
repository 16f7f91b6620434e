// A field that holds an event source and so subscribes its owner to the source's events:
// storing a source advises, clearing or replacing it unadvises. Events are routed by id to the
// owner's handlers; an id without a handler returns with every argument untouched.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "automation/events.h"
#include "automation/object_field.h"

namespace qx::automation {

template <class Self>
class EventField {
 public:
  using Handler = void (*)(Self&, Args);
  struct Route {
    DispId id;
    Handler handler;
  };

  EventField(Self& owner, std::string_view interfaceName, std::span<const Route> routes)
      : owner_(owner),
        interface_(interfaceName),
        routes_(routes),
        sink_(makeObject<FunctionSink>([this](DispId id, Args args) { route(id, args); },
                                       [this](DispId id) { return handles(id); })) {}
  EventField(const EventField&) = delete;
  EventField& operator=(const EventField&) = delete;
  ~EventField() {
    sink_->detach();
    connection_.reset();
  }

  // Subscribes to `source` (null: none), ending any earlier subscription first; a source that
  // refuses the subscription leaves the field empty and the failure goes to the caller.
  void assign(const ObjectRef& source) { connection_.assign(source, interface_, ObjectRef(sink_)); }
  void reset() noexcept { connection_.reset(); }

  const ObjectRef& get() const noexcept { return connection_.source(); }
  explicit operator bool() const noexcept { return static_cast<bool>(connection_); }
  // Member calls on the source go through the check (91 when the field holds nothing).
  Object* operator->() const { return &objectSet(connection_.source()); }
  const std::string& interfaceName() const noexcept { return interface_; }

  // Whether the owner has a handler for the event.
  bool handles(DispId id) const noexcept {
    for (const Route& r : routes_) {
      if (r.id == id) return true;
    }
    return false;
  }

 private:
  void route(DispId id, Args args) {
    for (const Route& r : routes_) {
      if (r.id != id) continue;
      // A handler may make the owner's last holder let go (an owner dropping a widget inside
      // an event the widget raised): keep an automation owner alive until it returns.
      if constexpr (std::is_base_of_v<Object, Self>) {
        Ref<Self> keep;
        if (owner_.refCount() > 0) keep = Ref<Self>(&owner_);
        r.handler(owner_, args);
      } else {
        r.handler(owner_, args);
      }
      return;
    }
  }

  Self& owner_;
  std::string interface_;
  std::span<const Route> routes_;
  Ref<FunctionSink> sink_;
  EventConnection connection_;
};

}  // namespace qx::automation
