// Makes a chosen member of a chosen object fail, so every failure rule of a handler can be
// tried. Objects are named by their type name (substitute components answer with their
// programmatic identifier, form controls with their control name). The member "(create)" is the
// creation of a component by identifier; "*" is any member.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "automation/error.h"
#include "automation/object.h"

namespace qx::sim {

class FaultInjector {
 public:
  FaultInjector();
  ~FaultInjector();
  FaultInjector(const FaultInjector&) = delete;
  FaultInjector& operator=(const FaultInjector&) = delete;

  static constexpr std::string_view kCreate = "(create)";

  // Fails the nth matching call (from 1); nth 0 fails every matching call.
  void add(std::string identifier, std::string member, int nth = 1,
           std::optional<automation::Error> error = std::nullopt);
  void clear() noexcept { faults_.clear(); }
  bool empty() const noexcept { return faults_.empty(); }

  // Counts the call and throws the configured error when a fault fires.
  void check(std::string_view identifier, std::string_view member);

 private:
  struct Fault {
    std::string identifier, member;
    int nth;
    automation::Error error;
    int calls = 0;
  };
  std::vector<Fault> faults_;
};

}  // namespace qx::sim
