// The form's tool bar: buttons by key, each with Name (its key), Caption, Visible, Checked,
// Enabled. Tools(key) of a key the bar does not have fails as a collection does (35601).
#pragma once

#include <vector>

#include "automation/dispatch.h"

namespace qx::sim {

using automation::Args;
using automation::Variant;

class ToolButton final : public automation::Dispatch<ToolButton> {
 public:
  static constexpr std::string_view kTypeName = "ToolButton";
  static std::span<const automation::Member<ToolButton>> members();
  ToolButton(std::string key, std::string caption, bool visible)
      : key(std::move(key)), caption(std::move(caption)), visible(visible) {}

  std::string key, caption;
  bool visible, checked = false, enabled = true;

 private:
  Variant mName(Args a);
  Variant mCaption(Args a);
  Variant mVisible(Args a);
  void mPutVisible(Args a, const Variant& v);
  Variant mChecked(Args a);
  void mPutChecked(Args a, const Variant& v);
  Variant mEnabled(Args a);
  void mPutEnabled(Args a, const Variant& v);
};

class ToolBar final : public automation::Dispatch<ToolBar> {
 public:
  static constexpr std::string_view kTypeName = "MenuBar";
  static std::span<const automation::Member<ToolBar>> members();

  automation::Ref<ToolButton> add(std::string key, std::string caption, bool visible);
  // Null when the bar has no such key (exact comparison).
  automation::Ref<ToolButton> find(std::string_view key) const;
  const std::vector<automation::Ref<ToolButton>>& buttons() const noexcept { return buttons_; }

 private:
  Variant mTools(Args a);
  Variant mCount(Args a);
  std::vector<automation::Ref<ToolButton>> buttons_;
};

}  // namespace qx::sim
