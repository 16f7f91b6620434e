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

// A case-insensitive name → id map built once. Looked up on every call by name, so it is a flat
// open-addressing table that finds a name without copying it.
class NameTable {
 public:
  // `namesById`: keep each id's name for nameOf (member tables); a table that knows its names
  // elsewhere (a recordset's fields) spares the copy.
  explicit NameTable(bool namesById = true) : namesById_(namesById) {}

  // The first id given for a name (in any letter case) stays; false when the name was there.
  bool add(std::string_view name, DispId id);
  // Makes room for `names` names without growing again.
  void reserve(size_t names);
  std::optional<DispId> find(std::string_view name) const noexcept {
    const Slot* slot = slotOf(name);
    return slot ? std::optional<DispId>(slot->id) : std::nullopt;
  }
  std::string nameOf(DispId id) const;

 private:
  struct Slot {
    size_t hash = 0;
    std::string lowered;
    DispId id = 0;
    bool used = false;
  };
  void place(Slot slot);
  const Slot* slotOf(std::string_view name) const noexcept;
  std::vector<Slot> slots_;  // a power of two in size, at most half used
  size_t used_ = 0;
  std::unordered_map<DispId, std::string> byId_;
  bool namesById_ = true;
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
    const Member<Self>* found = table().member(id);
    if (!found) throw Error::memberNotFound("#" + std::to_string(id), typeName());
    const Member<Self>& m = *found;
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
    std::vector<const Member<Self>*> small;  // ids 0 to kSmall - 1, by id
    std::unordered_map<DispId, const Member<Self>*> byId;
    static constexpr DispId kSmall = 256;
    const Member<Self>* member(DispId id) const {
      if (id >= 0 && id < kSmall)
        return static_cast<size_t>(id) < small.size() ? small[id] : nullptr;
      auto it = byId.find(id);
      return it == byId.end() ? nullptr : it->second;
    }
  };
  static const Table& table() {
    static const Table t = [] {
      Table r;
      for (const Member<Self>& m : Self::members()) {
        r.names.add(m.name, m.id);
        if (m.id >= 0 && m.id < Table::kSmall) {
          if (r.small.size() <= static_cast<size_t>(m.id)) r.small.resize(m.id + 1, nullptr);
          if (!r.small[m.id]) r.small[m.id] = &m;
        } else {
          r.byId.emplace(m.id, &m);
        }
      }
      return r;
    }();
    return t;
  }
};

}  // namespace qx::automation
