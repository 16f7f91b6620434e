#include "automation/host_dictionary.h"

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
  auto it = index_.find(std::string(key));
  if (it != index_.end()) {
    entries_[it->second].second = std::move(v);
    return;
  }
  index_.emplace(std::string(key), entries_.size());
  entries_.emplace_back(std::string(key), std::move(v));
}

const Variant* HostDictionary::find(std::string_view key) const {
  auto it = index_.find(std::string(key));
  return it == index_.end() ? nullptr : &entries_[it->second].second;
}

Variant HostDictionary::valueOr(std::string_view key, Variant fallback) const {
  const Variant* v = find(key);
  return v ? *v : std::move(fallback);
}

bool HostDictionary::remove(std::string_view key) {
  auto it = index_.find(std::string(key));
  if (it == index_.end()) return false;
  size_t pos = it->second;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(pos));
  index_.erase(it);
  for (auto& [k, i] : index_) {
    if (i > pos) --i;
  }
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
