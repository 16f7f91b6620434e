// The host's ordered collection: Add appends, Count gives the size, Item(i) reads (from 1).
#pragma once

#include <vector>

#include "automation/dispatch.h"

namespace qx::automation {

class HostVector final : public Dispatch<HostVector> {
 public:
  static constexpr std::string_view kTypeName = "HostVector";
  static std::span<const Member<HostVector>> members();
  static Ref<HostVector> create() { return makeObject<HostVector>(); }

  bool supports(std::string_view name) const override;

  void add(Variant item) { items_.push_back(std::move(item)); }
  int32_t count() const noexcept { return static_cast<int32_t>(items_.size()); }
  const std::vector<Variant>& items() const noexcept { return items_; }

 private:
  Variant mAdd(Args a);
  Variant mCount(Args a);
  Variant mItem(Args a);
  void mPutItem(Args a, const Variant& v);
  Variant mClear(Args a);
  size_t index(Args a) const;

  std::vector<Variant> items_;
};

// Walks any vector-like object (Count and Item from 1), local or remote, in order.
template <class F>
void forEachItem(const ObjectRef& vector, F&& f) {
  if (auto* local = dynamic_cast<HostVector*>(vector.get())) {
    // By position, holding only the current item: a callback may change the vector, and
    // items it adds are not walked (as with Count read once).
    const size_t count = local->items().size();
    for (size_t i = 0; i < count && i < local->items().size(); ++i) {
      const Variant item = local->items()[i];
      f(item);
    }
    return;
  }
  int32_t n = vector->get("Count").toInt32();
  for (int32_t i = 1; i <= n; ++i) f(vector->get("Item", i));
}

}  // namespace qx::automation
