// The host's keyed record: text keys (letter case counts), automation values, kept in the
// order they were first written.
//
// Value(key) of an absent key yields Empty and adds nothing; GetValue(key, default) yields the
// default instead. Writing Value adds or replaces the entry.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "automation/dispatch.h"

namespace qx::automation {

class HostDictionary final : public Dispatch<HostDictionary> {
 public:
  static constexpr std::string_view kTypeName = "HostDictionary";
  static std::span<const Member<HostDictionary>> members();
  static Ref<HostDictionary> create() { return makeObject<HostDictionary>(); }

  bool supports(std::string_view name) const override;

  void set(std::string_view key, Variant v);
  void reserve(size_t entries) { entries_.reserve(entries); }
  const Variant* find(std::string_view key) const;
  Variant valueOr(std::string_view key, Variant fallback) const;
  bool remove(std::string_view key);
  int32_t count() const noexcept { return static_cast<int32_t>(entries_.size()); }
  // Entries in the order their keys were first written.
  const std::vector<std::pair<std::string, Variant>>& entries() const noexcept { return entries_; }

 private:
  Variant mValue(Args a);
  void mPutValue(Args a, const Variant& v);
  Variant mGetValue(Args a);
  Variant mCount(Args a);
  Variant mExists(Args a);
  Variant mRemove(Args a);
  Variant mKeys(Args a);

  static constexpr size_t kSearchedInPlace = 8;
  std::vector<std::pair<std::string, Variant>> entries_;
  mutable std::unordered_map<std::string, size_t> index_;  // by key, beyond a few entries
};

}  // namespace qx::automation
