// What every control of the substitute form toolkit has: a name (which is also its type name,
// so faults can be injected by control name), a place on its form in twips, visibility, and a
// place in its form's z-order. The members common to all controls are listed once here.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/dispatch.h"

namespace qx::sim {

using automation::Args;
using automation::Variant;

// The stacking order of one form's controls, back to front, by control name.
class ZOrderList {
 public:
  void add(const std::string& name);
  void remove(const std::string& name);
  void toFront(const std::string& name);
  void toBack(const std::string& name);
  const std::vector<std::string>& backToFront() const noexcept { return order_; }

 private:
  std::vector<std::string> order_;
};

// Position values of ZOrder.
inline constexpr int32_t kZOrderFront = 0, kZOrderBack = 1;

class ControlState {
 public:
  explicit ControlState(std::string name) : name_(std::move(name)) {}
  virtual ~ControlState();
  ControlState(const ControlState&) = delete;
  ControlState& operator=(const ControlState&) = delete;

  const std::string& controlName() const noexcept { return name_; }
  double left = 0, top = 0, width = 0, height = 0;
  bool visible = true;

  // A form puts its controls in its z-order list, on top.
  void joinZOrder(std::shared_ptr<ZOrderList> list);
  void zOrder(int32_t position);
  // Calls of ZOrder so far (also without a form).
  const std::vector<int32_t>& zOrderCalls() const noexcept { return zOrderCalls_; }

  // Move(Left, [Top], [Width], [Height]): missing or Empty arguments keep their value.
  void move(Args a);

 private:
  std::string name_;
  std::shared_ptr<ZOrderList> zOrder_;
  std::vector<int32_t> zOrderCalls_;
};

// Base of the toolkit's control objects; Self lists its own members and these.
template <class Self>
class Control : public automation::Dispatch<Self>, public ControlState {
 public:
  explicit Control(std::string name) : ControlState(std::move(name)) {}
  std::string typeName() const override { return controlName(); }

 protected:
  using M = automation::Member<Self>;
  // The common members followed by the control's own.
  static std::vector<M> withCommonMembers(std::initializer_list<M> own) {
    std::vector<M> all = {
        {"Name", 100, nullptr, &Self::mName},
        {"Left", 101, nullptr, &Self::mLeft, &Self::mPutLeft},
        {"Top", 102, nullptr, &Self::mTop, &Self::mPutTop},
        {"Width", 103, nullptr, &Self::mWidth, &Self::mPutWidth},
        {"Height", 104, nullptr, &Self::mHeight, &Self::mPutHeight},
        {"Visible", 105, nullptr, &Self::mVisible, &Self::mPutVisible},
        {"Move", 106, &Self::mMove},
        {"ZOrder", 107, &Self::mZOrder},
    };
    all.insert(all.end(), own.begin(), own.end());
    return all;
  }

  Variant mName(Args) { return Variant(controlName()); }
  Variant mLeft(Args) { return Variant(left); }
  void mPutLeft(Args, const Variant& v) { left = v.toDouble(); }
  Variant mTop(Args) { return Variant(top); }
  void mPutTop(Args, const Variant& v) { top = v.toDouble(); }
  Variant mWidth(Args) { return Variant(width); }
  void mPutWidth(Args, const Variant& v) { width = v.toDouble(); }
  Variant mHeight(Args) { return Variant(height); }
  void mPutHeight(Args, const Variant& v) { height = v.toDouble(); }
  Variant mVisible(Args) { return Variant(visible); }
  void mPutVisible(Args, const Variant& v) { visible = v.toBool(); }
  Variant mMove(Args a) {
    move(a);
    return Variant();
  }
  Variant mZOrder(Args a) {
    zOrder(automation::argOr(a, 0, Variant(kZOrderFront)).toInt32());
    return Variant();
  }
};

}  // namespace qx::sim
