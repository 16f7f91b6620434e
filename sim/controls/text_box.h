// A text box of a form: Text, Visible, Locked; named by its control name.
#pragma once

#include "automation/dispatch.h"

namespace qx::sim {

class TextBox final : public automation::Dispatch<TextBox> {
 public:
  static constexpr std::string_view kTypeName = "TextBox";
  static std::span<const automation::Member<TextBox>> members();
  TextBox(std::string name, std::string initial = {})
      : text(std::move(initial)), name_(std::move(name)) {}
  std::string typeName() const override { return name_; }

  std::string text;
  bool visible = true, locked = false;

 private:
  automation::Variant mText(automation::Args a);
  void mPutText(automation::Args a, const automation::Variant& v);
  automation::Variant mVisible(automation::Args a);
  void mPutVisible(automation::Args a, const automation::Variant& v);
  automation::Variant mLocked(automation::Args a);
  void mPutLocked(automation::Args a, const automation::Variant& v);
  std::string name_;
};

}  // namespace qx::sim
