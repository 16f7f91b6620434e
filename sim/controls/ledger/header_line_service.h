// The ledger grid control's header-line service: HeaderLine(control, line number, text) gives
// the header line the control shows. The substitute returns the line unchanged.
#pragma once

#include "automation/dispatch.h"

namespace qx::sim {

class HeaderLineService final : public automation::Dispatch<HeaderLineService> {
 public:
  static constexpr std::string_view kTypeName = "HeaderLineService";
  static std::span<const automation::Member<HeaderLineService>> members();
  [[nodiscard]] static automation::Ref<HeaderLineService> create() {
    return automation::makeObject<HeaderLineService>();
  }

 private:
  automation::Variant mHeaderLine(automation::Args a);
};

}  // namespace qx::sim
