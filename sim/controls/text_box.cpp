#include "sim/controls/text_box.h"

namespace qx::sim {

using automation::Args;
using automation::Variant;

std::span<const automation::Member<TextBox>> TextBox::members() {
  static const automation::Member<TextBox> m[] = {
      {"Text", 0, nullptr, &TextBox::mText, &TextBox::mPutText},
      {"Visible", 1, nullptr, &TextBox::mVisible, &TextBox::mPutVisible},
      {"Locked", 2, nullptr, &TextBox::mLocked, &TextBox::mPutLocked},
  };
  return m;
}

Variant TextBox::mText(Args) {
  return Variant(text);
}
void TextBox::mPutText(Args, const Variant& v) {
  text = v.toString();
}
Variant TextBox::mVisible(Args) {
  return Variant(visible);
}
void TextBox::mPutVisible(Args, const Variant& v) {
  visible = v.toBool();
}
Variant TextBox::mLocked(Args) {
  return Variant(locked);
}
void TextBox::mPutLocked(Args, const Variant& v) {
  locked = v.toBool();
}

}  // namespace qx::sim
