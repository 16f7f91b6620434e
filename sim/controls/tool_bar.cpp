#include "sim/controls/tool_bar.h"

namespace qx::sim {

using automation::Error;
using automation::Member;

std::span<const Member<ToolButton>> ToolButton::members() {
  using B = ToolButton;
  static const Member<ToolButton> m[] = {
      {"Name", 1, nullptr, &B::mName},
      {"Caption", 2, nullptr, &B::mCaption},
      {"Visible", 3, nullptr, &B::mVisible, &B::mPutVisible},
      {"Checked", 4, nullptr, &B::mChecked, &B::mPutChecked},
      {"Enabled", 5, nullptr, &B::mEnabled, &B::mPutEnabled},
  };
  return m;
}

Variant ToolButton::mName(Args) {
  return Variant(key);
}
Variant ToolButton::mCaption(Args) {
  return Variant(caption);
}
Variant ToolButton::mVisible(Args) {
  return Variant(visible);
}
void ToolButton::mPutVisible(Args, const Variant& v) {
  visible = v.toBool();
}
Variant ToolButton::mChecked(Args) {
  return Variant(checked);
}
void ToolButton::mPutChecked(Args, const Variant& v) {
  checked = v.toBool();
}
Variant ToolButton::mEnabled(Args) {
  return Variant(enabled);
}
void ToolButton::mPutEnabled(Args, const Variant& v) {
  enabled = v.toBool();
}

std::span<const Member<ToolBar>> ToolBar::members() {
  static const Member<ToolBar> m[] = {
      {"Tools", 1, nullptr, &ToolBar::mTools},
      {"Count", 2, nullptr, &ToolBar::mCount},
  };
  return m;
}

automation::Ref<ToolButton> ToolBar::add(std::string key, std::string caption, bool visible) {
  auto b = automation::makeObject<ToolButton>(std::move(key), std::move(caption), visible);
  buttons_.push_back(b);
  return b;
}

automation::Ref<ToolButton> ToolBar::find(std::string_view key) const {
  for (const auto& b : buttons_) {
    if (b->key == key) return b;
  }
  return nullptr;
}

Variant ToolBar::mTools(Args a) {
  automation::requireArgs(a, 1, "Tools");
  std::string key = a[0].get().toString();
  auto b = find(key);
  if (!b) throw Error(35601, "Element not found: tool \"" + key + "\"", "MenuBar");
  return Variant(b);
}

Variant ToolBar::mCount(Args) {
  return Variant(static_cast<int32_t>(buttons_.size()));
}

}  // namespace qx::sim
