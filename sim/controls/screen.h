// The toolkit's application-wide Screen object over the substitute platform: MousePointer and
// the twips-per-pixel factors (15 by default, as on a 96-dpi screen).
#pragma once

#include "automation/dispatch.h"
#include "sim/platform/sim_platform.h"

namespace qx::sim {

class Screen final : public automation::Dispatch<Screen> {
 public:
  static constexpr std::string_view kTypeName = "Screen";
  static std::span<const automation::Member<Screen>> members();
  [[nodiscard]] static automation::Ref<Screen> create(SimPlatform& platform) {
    return automation::makeObject<Screen>(platform);
  }
  explicit Screen(SimPlatform& platform) : platform_(platform) {}

 private:
  automation::Variant mMousePointer(automation::Args a);
  void mPutMousePointer(automation::Args a, const automation::Variant& v);
  automation::Variant mTwipsPerPixelX(automation::Args a);
  automation::Variant mTwipsPerPixelY(automation::Args a);

  SimPlatform& platform_;
};

}  // namespace qx::sim
