// A strict fake toolkit object for widget tests: it answers only the members it was told to
// allow (any other member, or another kind of call, fails the test), records every put and
// method call in a shared log ("bar.ZOrder(1)", "bar.BackColor = 5"), can be made to fail a
// member, and raises events of one interface to its subscribers.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "automation/events.h"
#include "automation/text.h"

namespace qx::widgets::testing {

using automation::Args;
using automation::CallKind;
using automation::DispId;
using automation::Error;
using automation::Variant;

using CallLog = std::vector<std::string>;

// The automation error number raised by `f`, or 0 when it returns normally.
template <class F>
int32_t errorOf(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

inline std::string logText(const Variant& v) {
  if (v.isObject()) return "<object>";
  if (v.isEmpty()) return "Empty";
  if (v.isNull()) return "Null";
  return v.toString();
}

class StrictFake final : public automation::Object {
 public:
  StrictFake(std::string name, CallLog& log, std::string eventInterface = {})
      : name_(std::move(name)), log_(log), events_(std::move(eventInterface)) {}
  static automation::Ref<StrictFake> create(std::string name, CallLog& log,
                                            std::string eventInterface = {}) {
    return automation::makeObject<StrictFake>(std::move(name), log, std::move(eventInterface));
  }

  // Allows a member for the given kinds of call; a get or a method call returns `value`.
  StrictFake& allow(const std::string& member, std::set<CallKind> kinds, Variant value = {}) {
    DispId id = static_cast<DispId>(members_.size() + 1);
    members_[id] = {member, std::move(kinds), std::move(value), false, {}};
    return *this;
  }
  void setValue(const std::string& member, Variant v) { memberNamed(member).value = std::move(v); }
  // Every call of the member fails (error 5) from now on.
  void fail(const std::string& member) { memberNamed(member).fails = true; }
  // The arguments of the member's last get or method call.
  const std::vector<Variant>& lastArgs(const std::string& member) {
    return memberNamed(member).lastArgs;
  }

  template <class... A>
  void raise(DispId id, A&&... args) {
    events_.fire(id, std::forward<A>(args)...);
  }
  size_t sinkCount() const noexcept { return events_.sinkCount(); }

  DispId idOf(std::string_view name) const override {
    for (const auto& [id, m] : members_) {
      if (automation::equalsIgnoreCase(m.name, name)) return id;
    }
    ADD_FAILURE() << "unexpected member " << name_ << "." << name;
    throw Error::memberNotFound(name, name_);
  }
  std::string nameOf(DispId id) const override {
    auto it = members_.find(id);
    return it == members_.end() ? std::string() : it->second.name;
  }
  std::string typeName() const override { return name_; }
  uint32_t advise(std::string_view iface, const automation::ObjectRef& sink) override {
    if (events_.interfaceName().empty() ||
        !automation::equalsIgnoreCase(iface, events_.interfaceName())) {
      throw Error::notImplemented("events of " + std::string(iface), name_);
    }
    return events_.advise(sink);
  }
  void unadvise(uint32_t cookie) override { events_.unadvise(cookie); }

 protected:
  Variant dispatch(DispId id, CallKind kind, Args args) override {
    auto it = members_.find(id);
    if (it == members_.end() || !it->second.kinds.count(kind)) {
      ADD_FAILURE() << "unexpected call " << name_ << "." << nameOf(id) << " ("
                    << automation::callKindName(kind) << ")";
      throw Error::memberNotFound(nameOf(id), name_);
    }
    Member& m = it->second;
    if (m.fails) throw Error(5, "injected failure of " + name_ + "." + m.name, name_);
    std::string entry = name_ + "." + m.name;
    if (kind == CallKind::Put || kind == CallKind::PutRef) {
      entry += " = " + logText(args.back().get());
      m.value = args.back().get();
      log_.push_back(entry);
      return Variant();
    }
    m.lastArgs.clear();
    for (const automation::Arg& a : args) m.lastArgs.push_back(a.get());
    if (kind == CallKind::Get) return m.value;  // reads are not logged
    entry += "(";
    for (size_t i = 0; i < args.size(); ++i) entry += (i ? ", " : "") + logText(args[i].get());
    log_.push_back(entry + ")");
    return m.value;
  }

 private:
  struct Member {
    std::string name;
    std::set<CallKind> kinds;
    Variant value;
    bool fails = false;
    std::vector<Variant> lastArgs;
  };
  Member& memberNamed(const std::string& name) {
    for (auto& [id, m] : members_) {
      if (automation::equalsIgnoreCase(m.name, name)) return m;
    }
    throw std::logic_error("no member " + name);
  }

  std::string name_;
  CallLog& log_;
  std::map<DispId, Member> members_;
  automation::ConnectionPoint events_;
};

}  // namespace qx::widgets::testing
