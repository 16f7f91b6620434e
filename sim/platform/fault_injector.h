// Makes a chosen member of a chosen object fail, so every failure rule of a handler can be
// tried. Objects are named by their type name (substitute components answer with their
// programmatic identifier, form controls with their control name). The member "(create)" is the
// creation of a component by identifier; "*" is any member.
//
// Counting: while counting is on, every call that passes through (a member call on any object
// whose type is not excluded, a creation by identifier) is numbered and written down in order,
// and `failCall(k)` makes exactly the k-th counted call fail, whatever it is.
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

  // One counted call: the object's type name (or the identifier created) and the member.
  struct Call {
    std::string identifier, member;
  };
  // Starts counting from 0 with an empty record; `failAt` > 0 fails the call of that number.
  void startCounting(int failAt = 0, std::optional<automation::Error> error = std::nullopt);
  void stopCounting() noexcept { counting_ = false; }
  bool counting() const noexcept { return counting_; }
  // Calls on objects of this type are not counted (letter case ignored): the callers' own
  // objects, whose calls are not calls into the host.
  void exclude(std::string identifier) { excluded_.push_back(std::move(identifier)); }
  const std::vector<Call>& calls() const noexcept { return calls_; }
  // Whether the call numbered by `startCounting` was reached (and so failed).
  bool fired() const noexcept { return fired_; }

  // Counts the call and throws the configured error when a fault fires.
  void check(std::string_view identifier, std::string_view member);

 private:
  struct Fault {
    std::string identifier, member;
    int nth;
    automation::Error error;
    int calls = 0;
  };
  static automation::Error injected(const std::string& identifier, const std::string& member);
  void count(std::string_view identifier, std::string_view member);

  std::vector<Fault> faults_;
  bool counting_ = false;
  bool fired_ = false;
  int failAt_ = 0;
  std::optional<automation::Error> failError_;
  std::vector<std::string> excluded_;
  std::vector<Call> calls_;
};

}  // namespace qx::sim
