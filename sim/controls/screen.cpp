#include "sim/controls/screen.h"

namespace qx::sim {

using automation::Args;
using automation::Variant;

std::span<const automation::Member<Screen>> Screen::members() {
  static const automation::Member<Screen> m[] = {
      {"MousePointer", 1, nullptr, &Screen::mMousePointer, &Screen::mPutMousePointer},
      {"TwipsPerPixelX", 2, nullptr, &Screen::mTwipsPerPixelX},
      {"TwipsPerPixelY", 3, nullptr, &Screen::mTwipsPerPixelY},
  };
  return m;
}

Variant Screen::mMousePointer(Args a) {
  automation::requireArgs(a, 0, "MousePointer");
  return Variant(platform_.mousePointer());
}

void Screen::mPutMousePointer(Args a, const Variant& v) {
  automation::requireArgs(a, 0, "MousePointer");
  platform_.setMousePointer(v.toInt32());
}

Variant Screen::mTwipsPerPixelX(Args a) {
  automation::requireArgs(a, 0, "TwipsPerPixelX");
  return Variant(platform_.twipsPerPixelX());
}

Variant Screen::mTwipsPerPixelY(Args a) {
  automation::requireArgs(a, 0, "TwipsPerPixelY");
  return Variant(platform_.twipsPerPixelY());
}

}  // namespace qx::sim
