// A strict fake automation object: only the properties and methods a test declares exist, any
// other call fails the way a real object does (438); its destruction is written to a log.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "automation/arg.h"
#include "automation/events.h"
#include "automation/text.h"

namespace qx::testing {

using Log = std::shared_ptr<std::vector<std::string>>;

class FakeObject final : public automation::Object {
 public:
  using Method = std::function<automation::Variant(automation::Args)>;

  FakeObject(std::string name, Log log) : name_(std::move(name)), log_(std::move(log)) {}
  ~FakeObject() override {
    if (log_) log_->push_back("release " + name_);
  }
  static automation::Ref<FakeObject> create(std::string name, Log log = nullptr) {
    return automation::makeObject<FakeObject>(std::move(name), std::move(log));
  }

  // A readable and writable property.
  FakeObject& prop(const std::string& name, automation::Variant v) {
    props_[declare(name)] = std::move(v);
    return *this;
  }
  // A property whose every read is answered by a function (e.g. a new object each time).
  FakeObject& getter(const std::string& name, std::function<automation::Variant()> f) {
    getters_[declare(name)] = std::move(f);
    return *this;
  }
  FakeObject& method(const std::string& name, Method m, automation::DispId id = 0) {
    methods_[declare(name, id)] = std::move(m);
    return *this;
  }
  // The interfaces the object implements; events of them can be advised.
  FakeObject& implements(std::string iface) {
    interfaces_.push_back(std::move(iface));
    return *this;
  }
  automation::Variant value(const std::string& name) const {
    return props_.at(names_.find(name).value());
  }
  const std::vector<std::string>& calls() const noexcept { return calls_; }

  automation::DispId idOf(std::string_view name) const override {
    if (auto id = names_.find(name)) return *id;
    throw automation::Error::memberNotFound(name, name_);
  }
  std::string nameOf(automation::DispId id) const override { return names_.nameOf(id); }
  std::string typeName() const override { return name_; }
  bool supports(std::string_view iface) const override {
    for (const auto& i : interfaces_) {
      if (automation::equalsIgnoreCase(i, iface)) return true;
    }
    return false;
  }
  uint32_t advise(std::string_view iface, const automation::ObjectRef& sink) override {
    if (!supports(iface)) throw automation::Error::notImplemented("events", name_);
    return point_.advise(sink);
  }
  void unadvise(uint32_t cookie) override { point_.unadvise(cookie); }
  void raise(automation::DispId id) { point_.raise(id, {}); }

 protected:
  automation::Variant dispatch(automation::DispId id, automation::CallKind kind,
                               automation::Args args) override {
    calls_.push_back(names_.nameOf(id));
    if (auto m = methods_.find(id); m != methods_.end()) return m->second(args);
    if (auto g = getters_.find(id); g != getters_.end() && kind != automation::CallKind::Put) {
      return g->second();
    }
    if (auto p = props_.find(id); p != props_.end()) {
      if (kind == automation::CallKind::Put || kind == automation::CallKind::PutRef) {
        p->second = args.back().get();
        return automation::Variant();
      }
      return p->second;
    }
    throw automation::Error::memberNotFound(names_.nameOf(id), name_);
  }

 private:
  automation::DispId declare(const std::string& name, automation::DispId id = 0) {
    if (auto existing = names_.find(name)) return *existing;
    if (id == 0) id = next_++;
    names_.add(name, id);
    return id;
  }

  std::string name_;
  Log log_;
  automation::NameTable names_;
  automation::DispId next_ = 100;
  std::map<automation::DispId, automation::Variant> props_;
  std::map<automation::DispId, std::function<automation::Variant()>> getters_;
  std::map<automation::DispId, Method> methods_;
  std::vector<std::string> interfaces_;
  std::vector<std::string> calls_;
  automation::ConnectionPoint point_{"events"};
};

}  // namespace qx::testing
