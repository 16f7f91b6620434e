#include "automation/host_dictionary.h"

#include <algorithm>

#include "automation/host_vector.h"

namespace qx::automation {

std::span<const Member<HostDictionary>> HostDictionary::members() {
  static const Member<HostDictionary> m[] = {
      {"Value", 0, nullptr, &HostDictionary::mValue, &HostDictionary::mPutValue},
      {"GetValue", 1, &HostDictionary::mGetValue},
      {"Count", 2, nullptr, &HostDictionary::mCount},
      {"Exists", 3, &HostDictionary::mExists},
      {"Remove", 4, &HostDictionary::mRemove},
      {"Keys", 5, &HostDictionary::mKeys},
  };
  return m;
}

bool HostDictionary::supports(std::string_view name) const {
  return equalsIgnoreCase(name, kTypeName);
}

void HostDictionary::set(std::string_view key, Variant v) {
  if (Variant* found = const_cast<Variant*>(find(key))) {
    *found = std::move(v);
    return;
  }
  entries_.emplace_back(std::string(key), std::move(v));
  if (!index_.empty()) index_.emplace(entries_.back().first, entries_.size() - 1);
}

const Variant* HostDictionary::find(std::string_view key) const {
  // Records of a few keys (column definitions, options) are searched in place; larger ones get
  // an index, made when first needed.
  if (entries_.size() <= kSearchedInPlace) {
    // Keys of a record share their length and first letters ("FColType", "FColName"): compared
    // here character by character, the first difference ends the test.
    for (const auto& [k, v] : entries_) {
      if (k.size() == key.size() && std::equal(k.begin(), k.end(), key.begin())) return &v;
    }
    return nullptr;
  }
  if (index_.size() != entries_.size()) {
    index_.clear();
    for (size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i].first, i);
  }
  auto it = index_.find(std::string(key));
  return it == index_.end() ? nullptr : &entries_[it->second].second;
}

Variant HostDictionary::valueOr(std::string_view key, Variant fallback) const {
  const Variant* v = find(key);
  return v ? *v : std::move(fallback);
}

bool HostDictionary::remove(std::string_view key) {
  const Variant* found = find(key);
  if (!found) return false;
  auto pos = std::find_if(entries_.begin(), entries_.end(),
                          [&](const auto& e) { return &e.second == found; });
  entries_.erase(pos);
  index_.clear();  // made again when next needed
  return true;
}

Variant HostDictionary::mValue(Args a) {
  requireArgs(a, 1, "Value");
  return valueOr(a[0].get().toString(), Variant());
}

void HostDictionary::mPutValue(Args a, const Variant& v) {
  requireArgs(a, 1, "Value");
  set(a[0].get().toString(), v);
}

Variant HostDictionary::mGetValue(Args a) {
  if (a.empty() || a.size() > 2) throw Error::wrongArgumentCount("GetValue", typeName());
  // Without a default, an absent key yields Empty.
  return valueOr(a[0].get().toString(), a.size() == 2 ? a[1].get() : Variant());
}

Variant HostDictionary::mCount(Args a) {
  requireArgs(a, 0, "Count");
  return Variant(count());
}

Variant HostDictionary::mExists(Args a) {
  requireArgs(a, 1, "Exists");
  return Variant(find(a[0].get().toString()) != nullptr);
}

Variant HostDictionary::mRemove(Args a) {
  requireArgs(a, 1, "Remove");
  return Variant(remove(a[0].get().toString()));
}

Variant HostDictionary::mKeys(Args) {
  auto keys = HostVector::create();
  for (const auto& e : entries_) keys->add(Variant(e.first));
  return Variant(keys);
}

}  // namespace qx::automation
