#include "automation/dispatch.h"

#include <cstdint>

namespace qx::automation {

namespace {

inline char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names are short and few per table: a hash of the length and three letters spreads them well
// enough, and a lookup does not walk the whole name twice.
inline size_t nameHash(std::string_view name) {
  size_t n = name.size();
  if (n == 0) return 0;
  uint64_t h = n;
  h = h * 131 + static_cast<unsigned char>(lower(name[0]));
  h = h * 131 + static_cast<unsigned char>(lower(name[n / 2]));
  h = h * 131 + static_cast<unsigned char>(lower(name[n - 1]));
  return static_cast<size_t>((h * 0x9E3779B97F4A7C15ull) >> 29);
}

// Equal ignoring letter case; `lowered` is in lower case and of the same length as `name`.
inline bool sameName(const std::string& lowered, std::string_view name) {
  for (size_t i = 0; i < name.size(); ++i) {
    if (lowered[i] != lower(name[i])) return false;
  }
  return true;
}

}  // namespace

bool NameTable::add(std::string_view name, DispId id) {
  if (namesById_) byId_.emplace(id, std::string(name));
  if (find(name)) return false;
  if (2 * (used_ + 1) > slots_.size()) reserve(used_ + 1);
  place(Slot{nameHash(name), asciiLower(name), id, true});
  ++used_;
  return true;
}

void NameTable::reserve(size_t names) {
  size_t size = slots_.empty() ? 16 : slots_.size();
  while (2 * names > size) size *= 2;
  if (size == slots_.size()) return;
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(size, Slot());
  for (Slot& slot : old) {
    if (slot.used) place(std::move(slot));
  }
}

void NameTable::place(Slot slot) {
  size_t mask = slots_.size() - 1;
  size_t i = slot.hash & mask;
  while (slots_[i].used) i = (i + 1) & mask;
  slots_[i] = std::move(slot);
}

const NameTable::Slot* NameTable::slotOf(std::string_view name) const noexcept {
  if (slots_.empty()) return nullptr;
  size_t hash = nameHash(name);
  size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask; slots_[i].used; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.hash == hash && slot.lowered.size() == name.size() && sameName(slot.lowered, name)) {
      return &slot;
    }
  }
  return nullptr;
}

std::string NameTable::nameOf(DispId id) const {
  auto it = byId_.find(id);
  return it == byId_.end() ? std::string() : it->second;
}

}  // namespace qx::automation
