// The schedule bills the host has open, by work order: the host's own components ask them for
// what only the open bill knows (the undecomposed quantity counting rows not saved yet).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace qx::sim {

class OpenBills {
 public:
  using Undecomposed = std::function<double()>;
  // A bill (by its address) shows the work order; the latest bill opened on an order answers.
  void opened(const void* bill, int32_t workOrder, Undecomposed undecomposed) {
    closed(bill);
    bills_.push_back({bill, workOrder, std::move(undecomposed)});
  }
  void closed(const void* bill) noexcept {
    std::erase_if(bills_, [bill](const Entry& e) { return e.bill == bill; });
  }
  // The undecomposed quantity of the bill open on the work order; nothing when none is open.
  std::optional<double> undecomposed(int32_t workOrder) const {
    for (auto it = bills_.rbegin(); it != bills_.rend(); ++it) {
      if (it->workOrder == workOrder) return it->undecomposed();
    }
    return std::nullopt;
  }

 private:
  struct Entry {
    const void* bill;
    int32_t workOrder;
    Undecomposed undecomposed;
  };
  std::vector<Entry> bills_;
};

}  // namespace qx::sim
