// A minimal automation object whose default member (Value) holds one variant.
#pragma once

#include "automation/dispatch.h"

namespace qx::automation::testing {

class ValueBox final : public Dispatch<ValueBox> {
 public:
  static constexpr std::string_view kTypeName = "ValueBox";
  static std::span<const Member<ValueBox>> members() {
    static const Member<ValueBox> m[] = {
        {"Value", 0, nullptr, &ValueBox::mValue, &ValueBox::mPutValue},
    };
    return m;
  }
  explicit ValueBox(Variant v) : value_(std::move(v)) {}
  static Ref<ValueBox> create(Variant v) { return makeObject<ValueBox>(std::move(v)); }

 private:
  Variant mValue(Args a) {
    requireArgs(a, 0, "Value");
    return value_;
  }
  void mPutValue(Args a, const Variant& v) {
    requireArgs(a, 0, "Value");
    value_ = v;
  }
  Variant value_;
};

// An object without a default member.
class NoDefault final : public Dispatch<NoDefault> {
 public:
  static constexpr std::string_view kTypeName = "NoDefault";
  static std::span<const Member<NoDefault>> members() {
    static const Member<NoDefault> m[] = {{"Ping", 1, &NoDefault::mPing}};
    return m;
  }

 private:
  Variant mPing(Args) { return Variant(true); }
};

}  // namespace qx::automation::testing
