// The toolkit's picture box: a plain rectangle on a form with a colour, a border style and its
// own mouse pointer; it raises MouseDown ("PictureBoxEvents") with X and Y in its own
// coordinates.
#pragma once

#include "automation/events.h"
#include "sim/controls/toolkit_control.h"

namespace qx::sim {

class PictureBox final : public Control<PictureBox> {
 public:
  static constexpr std::string_view kTypeName = "PictureBox";
  static std::span<const automation::Member<PictureBox>> members();
  [[nodiscard]] static automation::Ref<PictureBox> create(std::string name) {
    return automation::makeObject<PictureBox>(std::move(name));
  }
  explicit PictureBox(std::string name);

  bool supports(std::string_view interfaceName) const override;
  uint32_t advise(std::string_view interfaceName, const automation::ObjectRef& sink) override;
  void unadvise(uint32_t cookie) override;
  size_t sinkCount() const noexcept { return events_.sinkCount(); }

  // The user presses a mouse button over the box (X, Y inside the box).
  void mouseDown(double x, double y, int16_t button = 1, int16_t shift = 0);

  int32_t backColor = 0;
  int32_t borderStyle = 1;
  int32_t mousePointer = 0;

 private:
  friend class Control<PictureBox>;
  Variant mBackColor(Args a);
  void mPutBackColor(Args a, const Variant& v);
  Variant mBorderStyle(Args a);
  void mPutBorderStyle(Args a, const Variant& v);
  Variant mMousePointer(Args a);
  void mPutMousePointer(Args a, const Variant& v);

  automation::ConnectionPoint events_;
};

}  // namespace qx::sim
