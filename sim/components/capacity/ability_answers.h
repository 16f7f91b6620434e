// The capacity loader's latest answer: the figures of every line of a work order exactly as the
// schedule bill received them, with the options they were computed with. The bill keeps its
// result until the data is shown again, so views of all the order's lines (the workbench's
// snapshot) read them here instead of asking the database again and drawing other figures than
// the ledger shows.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "sim/components/capacity/ability_calc.h"

namespace qx::sim {

struct AbilityAnswer {
  int32_t workOrder = 0;
  AbilityOptions options;  // options.today: the date the loader used
  std::shared_ptr<const AbilityLedger> ledger;
};

class AbilityAnswers {
 public:
  // Also puts back an earlier answer after a question asked aside, not for the bill.
  void record(AbilityAnswer answer) { latest_ = std::move(answer); }
  // The latest answer; one with no ledger when the loader has answered nothing yet.
  const AbilityAnswer& latest() const noexcept { return latest_; }

 private:
  AbilityAnswer latest_;
};

}  // namespace qx::sim
