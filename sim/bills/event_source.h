// The bill engine's event source of the substitute host: implements one host interface
// ("MasterDataEvents" or "BillEvents"), keeps the subscribed sinks and raises events by id with
// arguments checked against the interface's declaration. BillEvents operations (called by the
// plug-in by position) are answered by an operation handler the bill engine installs; without
// one they return Empty and leave their arguments as they are.
#pragma once

#include <functional>

#include "automation/events.h"
#include "host/event_interfaces.h"

namespace qx::sim {

using automation::Args;
using automation::Variant;

class EventSource final : public automation::Object {
 public:
  using Operation = std::function<Variant(int position, Args args)>;

  explicit EventSource(std::string interfaceName);
  static automation::Ref<EventSource> create(std::string interfaceName) {
    return automation::makeObject<EventSource>(std::move(interfaceName));
  }

  const std::string& interfaceName() const noexcept { return interface_; }
  size_t sinkCount() const noexcept { return sinks_.sinkCount(); }

  // Raises an event; fails with 438 for an event the interface does not have, and with the
  // argument check's error (449, 450, 13) before any sink runs.
  void raise(automation::DispId id, Args args);
  void raise(std::string_view eventName, Args args);
  // Raises an event of the interface without the argument check, as a host that declares every
  // parameter a Variant would: the sinks meet whatever the host passes.
  void raiseUnchecked(automation::DispId id, Args args);

  void setOperations(Operation op) { operations_ = std::move(op); }
  // Operations called so far, by position, in order.
  const std::vector<int>& operationLog() const noexcept { return operationLog_; }

  automation::DispId idOf(std::string_view name) const override;
  std::string nameOf(automation::DispId id) const override;
  std::string typeName() const override { return interface_; }
  bool supports(std::string_view interfaceName) const override;
  uint32_t advise(std::string_view interfaceName, const automation::ObjectRef& sink) override;
  void unadvise(uint32_t cookie) override;

 protected:
  Variant dispatch(automation::DispId id, automation::CallKind kind, Args args) override;

 private:
  std::string interface_;
  automation::ConnectionPoint sinks_;
  Operation operations_;
  std::vector<int> operationLog_;
};

}  // namespace qx::sim
