// Member tables for objects implemented in C++: one static table per class, looked up by
// name ignoring letter case, called by dispatch id.
#pragma once

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "automation/arg.h"
#include "automation/text.h"

namespace qx::automation {

// A case-insensitive name → id map built once.
class NameTable {
 public:
  void add(std::string_view name, DispId id);
  std::optional<DispId> find(std::string_view name) const;
  std::string nameOf(DispId id) const;

 private:
  std::unordered_map<std::string, DispId> byName_;
  std::unordered_map<DispId, std::string> byId_;
};

template <class Self>
struct Member {
  std::string_view name;
  DispId id;
  Variant (Self::*method)(Args) = nullptr;
  Variant (Self::*get)(Args) = nullptr;
  // Receives the index arguments and the assigned value.
  void (Self::*put)(Args, const Variant&) = nullptr;
};

// Base for C++ objects: Self provides `static std::span<const Member<Self>> members()` and
// `static constexpr std::string_view kTypeName`.
template <class Self>
class Dispatch : public Object {
 public:
  DispId idOf(std::string_view name) const override {
    if (auto id = table().names.find(name)) return *id;
    throw Error::memberNotFound(name, typeName());
  }
  std::string nameOf(DispId id) const override { return table().names.nameOf(id); }
  std::string typeName() const override { return std::string(Self::kTypeName); }

 protected:
  Variant dispatch(DispId id, CallKind kind, Args args) override {
    const auto& t = table();
    auto it = t.byId.find(id);
    if (it == t.byId.end()) throw Error::memberNotFound("#" + std::to_string(id), typeName());
    const Member<Self>& m = *it->second;
    Self& self = static_cast<Self&>(*this);
    switch (kind) {
      case CallKind::Method:
        if (m.method) return (self.*m.method)(args);
        if (m.get) return (self.*m.get)(args);
        break;
      case CallKind::Get:
        if (m.get) return (self.*m.get)(args);
        if (m.method) return (self.*m.method)(args);
        break;
      case CallKind::Put:
      case CallKind::PutRef:
        if (m.put) {
          if (args.empty()) throw Error::wrongArgumentCount(m.name, typeName());
          (self.*m.put)(args.first(args.size() - 1), args.back().get());
          return Variant();
        }
        break;
    }
    throw Error::memberNotFound(std::string(m.name) + " (" + callKindName(kind) + ")", typeName());
  }

 private:
  struct Table {
    NameTable names;
    std::unordered_map<DispId, const Member<Self>*> byId;
  };
  static const Table& table() {
    static const Table t = [] {
      Table r;
      for (const Member<Self>& m : Self::members()) {
        r.names.add(m.name, m.id);
        r.byId.emplace(m.id, &m);
      }
      return r;
    }();
    return t;
  }
};

}  // namespace qx::automation
