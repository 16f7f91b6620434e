// A minimal event source for frame tests: implements one interface, raises any id unchecked.
#pragma once

#include "automation/events.h"
#include "automation/text.h"

namespace qx::testing {

class TestSource final : public automation::Object {
 public:
  explicit TestSource(std::string iface) : iface_(std::move(iface)), point_(iface_) {}
  static automation::Ref<TestSource> create(std::string iface) {
    return automation::makeObject<TestSource>(std::move(iface));
  }

  template <class... A>
  void raise(automation::DispId id, A&&... args) {
    point_.fire(id, std::forward<A>(args)...);
  }
  size_t sinks() const { return point_.sinkCount(); }
  int unadviseCalls = 0;

  automation::DispId idOf(std::string_view name) const override {
    throw automation::Error::memberNotFound(name, iface_);
  }
  bool supports(std::string_view name) const override {
    return automation::equalsIgnoreCase(name, iface_);
  }
  uint32_t advise(std::string_view name, const automation::ObjectRef& sink) override {
    if (!supports(name)) throw automation::Error::notImplemented("events of " + std::string(name));
    return point_.advise(sink);
  }
  void unadvise(uint32_t cookie) override {
    ++unadviseCalls;
    point_.unadvise(cookie);
  }

 protected:
  automation::Variant dispatch(automation::DispId id, automation::CallKind,
                               automation::Args) override {
    throw automation::Error::memberNotFound("#" + std::to_string(id), iface_);
  }

 private:
  std::string iface_;
  automation::ConnectionPoint point_;
};

}  // namespace qx::testing
