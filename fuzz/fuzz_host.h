// A small host for the targets that call host components: a platform that creates objects
// from factories by identifier, and objects whose members are plain functions.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "automation/arg.h"
#include "automation/error.h"
#include "automation/text.h"
#include "automation/variant.h"
#include "host/platform.h"

namespace qx::fuzz {

using automation::Args;
using automation::CallKind;
using automation::DispId;
using automation::ObjectRef;
using automation::Variant;

// An object with named members; a member receives the call's kind and arguments.
class FunctionObject final : public automation::Object {
 public:
  using Member = std::function<Variant(CallKind, Args)>;
  void add(std::string name, Member m) { members_.emplace_back(std::move(name), std::move(m)); }

  DispId idOf(std::string_view name) const override {
    for (size_t i = 0; i < members_.size(); ++i) {
      if (automation::equalsIgnoreCase(members_[i].first, name)) return static_cast<DispId>(i + 1);
    }
    throw automation::Error::memberNotFound(name, "FunctionObject");
  }

 protected:
  Variant dispatch(DispId id, CallKind kind, Args a) override {
    if (id < 1 || static_cast<size_t>(id) > members_.size()) {
      throw automation::Error::memberNotFound(std::to_string(id), "FunctionObject");
    }
    return members_[static_cast<size_t>(id) - 1].second(kind, a);
  }

 private:
  std::vector<std::pair<std::string, Member>> members_;
};

// Installed for its lifetime; identifiers without a factory fail with 429, as on a host where
// the component is not registered.
class FuzzPlatform final : public host::Platform {
 public:
  FuzzPlatform() : previous_(host::setPlatform(this)) {}
  FuzzPlatform(const FuzzPlatform&) = delete;
  FuzzPlatform& operator=(const FuzzPlatform&) = delete;
  ~FuzzPlatform() override { host::setPlatform(previous_); }

  std::map<std::string, std::function<ObjectRef()>> factories;  // by lower-case identifier
  std::function<ObjectRef()> headerLines;                       // the header-line service

  ObjectRef createObject(std::string_view progId) override {
    auto it = factories.find(automation::asciiLower(progId));
    if (it == factories.end()) throw automation::Error::cannotCreate(progId);
    return it->second();
  }
  ObjectRef createRegHelper() override { throw automation::Error::cannotCreate("RegHelper"); }
  int32_t mousePointer() override { return 0; }
  void setMousePointer(int32_t) override {}
  double twipsPerPixelX() override { return 15; }
  double twipsPerPixelY() override { return 15; }
  int32_t messageBox(const std::string&, int32_t, const std::string&) override { return 1; }
  void setCapture(intptr_t) override {}
  void releaseCapture() override {}
  intptr_t sendMessage(intptr_t, uint32_t, intptr_t, intptr_t) override { return 0; }
  void doEvents() override {}
  uint32_t processId() override { return 1; }
  ObjectRef headerLineService() override {
    return headerLines ? headerLines() : host::Platform::headerLineService();
  }

 private:
  host::Platform* previous_;
};

// The shared-property manager answering "PropsString" with `props`.
inline ObjectRef sharePropsWith(std::string props) {
  auto o = automation::makeObject<FunctionObject>();
  o->add("GetProperty", [props = std::move(props)](CallKind, Args a) {
    if (a.size() != 2) throw automation::Error::wrongArgumentCount("GetProperty");
    std::string name = a[1].get().toString();
    if (automation::equalsIgnoreCase(name, "PropsString")) return Variant(props);
    if (automation::equalsIgnoreCase(name, "UserName")) return Variant("fuzz");
    return Variant();
  });
  return ObjectRef(o);
}

}  // namespace qx::fuzz
