#include "automation/host_vector.h"

namespace qx::automation {

std::span<const Member<HostVector>> HostVector::members() {
  static const Member<HostVector> m[] = {
      {"Item", 0, nullptr, &HostVector::mItem, &HostVector::mPutItem},
      {"Add", 1, &HostVector::mAdd},
      {"Count", 2, nullptr, &HostVector::mCount},
      {"Clear", 3, &HostVector::mClear},
  };
  return m;
}

bool HostVector::supports(std::string_view name) const {
  return equalsIgnoreCase(name, kTypeName);
}

Variant HostVector::mAdd(Args a) {
  requireArgs(a, 1, "Add");
  add(a[0].get());
  return Variant();
}

Variant HostVector::mCount(Args a) {
  requireArgs(a, 0, "Count");
  return Variant(count());
}

size_t HostVector::index(Args a) const {
  requireArgs(a, 1, "Item");
  int32_t i = a[0].get().toInt32();
  if (i < 1 || i > count()) {
    throw Error::subscriptOutOfRange("item " + std::to_string(i) + " of " + std::to_string(count()),
                                     std::string(kTypeName));
  }
  return static_cast<size_t>(i - 1);
}

Variant HostVector::mItem(Args a) {
  return items_[index(a)];
}
void HostVector::mPutItem(Args a, const Variant& v) {
  items_[index(a)] = v;
}

Variant HostVector::mClear(Args) {
  items_.clear();
  return Variant();
}

}  // namespace qx::automation
