#include "sim/controls/picture_box.h"

#include "automation/text.h"
#include "host/toolkit.h"

namespace qx::sim {

using automation::Error;

std::span<const automation::Member<PictureBox>> PictureBox::members() {
  using P = PictureBox;
  static const std::vector<M> m = withCommonMembers({
      {"BackColor", 201, nullptr, &P::mBackColor, &P::mPutBackColor},
      {"BorderStyle", 202, nullptr, &P::mBorderStyle, &P::mPutBorderStyle},
      {"MousePointer", 203, nullptr, &P::mMousePointer, &P::mPutMousePointer},
  });
  return m;
}

PictureBox::PictureBox(std::string name)
    : Control(std::move(name)),
      backColor(host::system_color::kButtonFace),
      events_(std::string(host::kPictureBoxEvents)) {}

bool PictureBox::supports(std::string_view interfaceName) const {
  return automation::equalsIgnoreCase(interfaceName, kTypeName) ||
         automation::equalsIgnoreCase(interfaceName, host::kPictureBoxEvents);
}

uint32_t PictureBox::advise(std::string_view interfaceName, const automation::ObjectRef& sink) {
  if (!automation::equalsIgnoreCase(interfaceName, host::kPictureBoxEvents)) {
    throw Error::notImplemented("events of " + std::string(interfaceName), typeName());
  }
  return events_.advise(sink);
}

void PictureBox::unadvise(uint32_t cookie) {
  events_.unadvise(cookie);
}

void PictureBox::mouseDown(double x, double y, int16_t button, int16_t shift) {
  events_.fire(host::picture_box_event::kMouseDown, button, shift, x, y);
}

Variant PictureBox::mBackColor(Args) {
  return Variant(backColor);
}
void PictureBox::mPutBackColor(Args, const Variant& v) {
  backColor = v.toInt32();
}

Variant PictureBox::mBorderStyle(Args) {
  return Variant(borderStyle);
}
void PictureBox::mPutBorderStyle(Args, const Variant& v) {
  int32_t style = v.toInt32();
  if (style != 0 && style != 1) {
    throw Error(380, "Invalid property value: BorderStyle " + std::to_string(style), typeName());
  }
  borderStyle = style;
}

Variant PictureBox::mMousePointer(Args) {
  return Variant(mousePointer);
}
void PictureBox::mPutMousePointer(Args, const Variant& v) {
  mousePointer = v.toInt32();
}

}  // namespace qx::sim
