// A widget field that holds a toolkit object and so subscribes the widget to its events:
// storing an object advises, clearing or replacing it unadvises. Events are routed by id to the
// widget's member handlers; an id without a handler returns with every argument untouched.
// (The plug-in frame has the same idea for plug-in classes; widgets sit below the frame.)
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "automation/events.h"
#include "automation/variant.h"

namespace qx::widgets {

using automation::Args;
using automation::DispId;
using automation::ObjectRef;

// The object a field is given: Nothing and Empty clear the field; a non-object is an error
// (424), as assigning it to an object field would be.
inline ObjectRef objectForField(const automation::Variant& v) {
  if (v.isNothing()) return ObjectRef();
  return v.toObject();
}

template <class Self>
class SourceField {
 public:
  using Handler = void (Self::*)(Args);
  struct Route {
    DispId id;
    Handler handler;
  };

  SourceField(Self& owner, std::string_view interfaceName, std::span<const Route> routes)
      : owner_(owner),
        interface_(interfaceName),
        routes_(routes),
        sink_(automation::makeObject<automation::FunctionSink>(
            [this](DispId id, Args args) { route(id, args); })) {}
  SourceField(const SourceField&) = delete;
  SourceField& operator=(const SourceField&) = delete;
  ~SourceField() {
    sink_->detach();
    connection_.reset();
  }

  // Subscribes to `source` (null: none), ending any earlier subscription first; a source that
  // refuses the subscription leaves the field empty and the failure goes to the caller.
  void assign(const ObjectRef& source) { connection_.assign(source, interface_, ObjectRef(sink_)); }
  void reset() noexcept { connection_.reset(); }

  const ObjectRef& get() const noexcept { return connection_.source(); }
  explicit operator bool() const noexcept { return static_cast<bool>(connection_); }

 private:
  void route(DispId id, Args args) {
    for (const Route& r : routes_) {
      if (r.id != id) continue;
      // A handler may make the owner's last holder let go (the owner drops the widget inside
      // an event it raised); keep the widget alive until the handler returns.
      automation::Ref<Self> keep;
      if (owner_.refCount() > 0) keep = automation::Ref<Self>(&owner_);
      (owner_.*r.handler)(args);
      return;
    }
  }

  Self& owner_;
  std::string interface_;
  std::span<const Route> routes_;
  automation::Ref<automation::FunctionSink> sink_;
  automation::EventConnection connection_;
};

}  // namespace qx::widgets
