// A form of the substitute toolkit: a window with a client area (ScaleWidth, ScaleHeight, in
// twips) and named controls, each reachable as a member of the form by its name
// (form.picSplit) or through Controls(name). It raises "FormEvents": Resize when it receives
// the resize message (or is resized), MouseMove and MouseUp in form coordinates.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "automation/events.h"
#include "sim/controls/toolkit_control.h"
#include "sim/platform/sim_platform.h"

namespace qx::sim {

class Form final : public automation::Dispatch<Form> {
 public:
  static constexpr std::string_view kTypeName = "Form";
  static std::span<const automation::Member<Form>> members();
  // With a platform, the form has a window there that receives sent messages; the form must
  // not outlive that platform.
  [[nodiscard]] static automation::Ref<Form> create(std::string name,
                                                    SimPlatform* platform = nullptr) {
    return automation::makeObject<Form>(std::move(name), platform);
  }
  Form(std::string name, SimPlatform* platform);
  ~Form() override;

  std::string typeName() const override { return name_; }
  automation::DispId idOf(std::string_view name) const override;
  std::string nameOf(automation::DispId id) const override;
  bool supports(std::string_view interfaceName) const override;
  uint32_t advise(std::string_view interfaceName, const automation::ObjectRef& sink) override;
  void unadvise(uint32_t cookie) override;
  size_t sinkCount() const noexcept { return events_.sinkCount(); }

  // Adds a control under a name (a toolkit control joins the form's z-order on top); a name
  // already in use is replaced.
  void addControl(const std::string& name, automation::ObjectRef control);
  // The control of that name (letter case ignored), or null.
  automation::ObjectRef control(std::string_view name) const;
  std::vector<std::string> controlNames() const;
  const ZOrderList& zOrder() const noexcept { return *zOrder_; }

  intptr_t hwnd() const noexcept { return hwnd_; }
  double scaleWidth = 0, scaleHeight = 0;
  std::string caption;

  // The user resizes the form: new client size, then Resize.
  void resize(double width, double height);
  void raiseResize();
  void mouseMove(double x, double y, int16_t button = 1, int16_t shift = 0);
  void mouseUp(double x, double y, int16_t button = 1, int16_t shift = 0);
  int resizeCount() const noexcept { return resizeCount_; }

 protected:
  automation::Variant dispatch(automation::DispId id, automation::CallKind kind,
                               automation::Args args) override;

 private:
  Variant mName(Args a);
  Variant mCaption(Args a);
  void mPutCaption(Args a, const Variant& v);
  Variant mScaleWidth(Args a);
  void mPutScaleWidth(Args a, const Variant& v);
  Variant mScaleHeight(Args a);
  void mPutScaleHeight(Args a, const Variant& v);
  Variant mHWnd(Args a);
  Variant mControls(Args a);

  struct Entry {
    std::string name;
    automation::ObjectRef control;
  };
  const Entry* find(std::string_view name) const;

  std::string name_;
  SimPlatform* platform_;
  intptr_t hwnd_ = 0;
  std::vector<Entry> controls_;  // a control's member id is its index plus kFirstControlId
  std::shared_ptr<ZOrderList> zOrder_ = std::make_shared<ZOrderList>();
  automation::ConnectionPoint events_;
  int resizeCount_ = 0;
};

}  // namespace qx::sim
