#include "widgets/splitter.h"

#include "automation/conversions.h"
#include "automation/steps.h"
#include "automation/text.h"
#include "host/platform.h"
#include "host/toolkit.h"

namespace qx::widgets {

using automation::Error;
using automation::Object;
using automation::Steps;
using automation::Variant;
namespace pointer = host::mouse_pointer;

namespace {

// At rest the bar has the button-face colour; while dragged, the button-shadow colour.
constexpr int32_t kRestColour = host::system_color::kButtonFace;
constexpr int32_t kDragColour = host::system_color::kButtonShadow;
constexpr int32_t kBorderNone = 0, kBorderFixedSingle = 1;
constexpr int32_t kZOrderFront = 0, kZOrderBack = 1;
// While dragged the bar is this many screen pixels thick.
constexpr int32_t kDragPixels = 4;
// A drop beyond the far margin lands this far inside it; a horizontal bar lands this much
// higher than the computed place.
constexpr double kDropInset = 30;

float toSingle(const Variant& v) {
  return static_cast<float>(v.toDouble());
}

}  // namespace

const SourceField<cSplitter>::Route cSplitter::kBarRoutes[] = {
    {host::picture_box_event::kMouseDown,
     [](cSplitter& s, Args a) { s.m_picSplitter_MouseDown(a); }},
};
const SourceField<cSplitter>::Route cSplitter::kFormRoutes[] = {
    {host::form_event::kMouseMove, [](cSplitter& s, Args a) { s.m_frmParent_MouseMove(a); }},
    {host::form_event::kMouseUp, [](cSplitter& s, Args a) { s.m_frmParent_MouseUp(a); }},
};

std::span<const automation::Member<cSplitter>> cSplitter::members() {
  using S = cSplitter;
  static const automation::Member<cSplitter> m[] = {
      {"Orientation", 1, nullptr, &S::mOrientation, &S::mPutOrientation},
      {"BorderSize", 2, nullptr, &S::mBorderSize, &S::mPutBorderSize},
      {"Initialise", 3, &S::mInitialise},
      {"MouseDown", 4, &S::mMouseDown},
      {"MouseMove", 5, &S::mMouseMove},
      {"MouseUp", 6, &S::mMouseUp},
  };
  return m;
}

cSplitter::cSplitter()
    : m_picSplitter(*this, host::kPictureBoxEvents, kBarRoutes),
      m_frmParent(*this, host::kFormEvents, kFormRoutes) {}

cSplitter::~cSplitter() {
  // Destruction never fails: each step is attempted and a failure ignored.
  Steps steps;
  m_bDragging = false;
  steps.run([&] { m_picSplitter.reset(); });
  steps.run([&] { m_frmParent.reset(); });
}

uint32_t cSplitter::advise(std::string_view interfaceName, const ObjectRef& sink) {
  if (!automation::equalsIgnoreCase(interfaceName, kSplitterEvents)) {
    throw Error::notImplemented("events of " + std::string(interfaceName), typeName());
  }
  return events_.advise(sink);
}

void cSplitter::unadvise(uint32_t cookie) {
  events_.unadvise(cookie);
}

bool cSplitter::supports(std::string_view interfaceName) const {
  return automation::equalsIgnoreCase(interfaceName, kTypeName);
}

Object& cSplitter::bar() const {
  if (!m_picSplitter) throw Error::objectNotSet(typeName());
  return *m_picSplitter.get();
}

Object& cSplitter::form() const {
  if (!m_frmParent) throw Error::objectNotSet(typeName());
  return *m_frmParent.get();
}

// Property and Initialise failures go to the caller.
void cSplitter::setOrientation(int32_t eOrientation) {
  m_eOrientation = eOrientation;
  if (m_picSplitter) {
    bar().put("MousePointer",
              eOrientation == OrientationHorizontal ? pointer::kSizeNS : pointer::kSizeWE);
  }
}

void cSplitter::Initialise(const ObjectRef& picSplitter, const ObjectRef& frmParent) {
  m_picSplitter.assign(picSplitter);
  m_frmParent.assign(frmParent);
  Object& b = bar();
  b.put("BorderStyle", kBorderNone);
  b.call("ZOrder", kZOrderBack);
  // West-east whatever the orientation; setting Orientation afterwards makes it match.
  b.put("MousePointer", pointer::kSizeWE);
  b.put("Visible", true);
}

// The mouse handling below runs every step under continue-on-failure: a failing step is
// skipped silently and the next one runs; a test that fails counts as passed.

void cSplitter::MouseDown(float Pos) {
  Steps steps;
  Variant bSplit(true);
  steps.run([&] { events_.fire(splitter_event::kDoSplit, automation::byRef(bSplit)); });
  if (steps.test([&] { return !bSplit.toBool(); })) return;
  m_bDragging = true;
  steps.run([&] { m_lGrabOffset = automation::roundToInt32(Pos); });
  steps.run([&] { bar().put("BackColor", kDragColour); });
  steps.run([&] { bar().call("ZOrder", kZOrderFront); });
  steps.run([&] { bar().put("BorderStyle", kBorderFixedSingle); });
  // The horizontal factor serves both orientations.
  steps.run([&] {
    bar().put(horizontal() ? "Height" : "Width", host::platform().twipsPerPixelX() * kDragPixels);
  });
  steps.run([&] { host::platform().setCapture(form().get("hWnd").toInt32()); });
}

void cSplitter::MouseMove(float Pos) {
  if (!m_bDragging) return;
  Steps steps;
  const char* scale = horizontal() ? "ScaleHeight" : "ScaleWidth";
  bool inside = steps.test(
      [&] { return Pos < form().get(scale).toDouble() - m_lBorderSize && Pos > m_lBorderSize; });
  if (!inside) {
    steps.run([&] { host::platform().setMousePointer(pointer::kNoDrop); });
    return;
  }
  // The bar's edge follows the cursor itself; the grab offset applies only at the drop.
  if (horizontal()) {
    steps.run([&] { host::platform().setMousePointer(pointer::kSizeNS); });
    steps.run([&] {
      Object& b = bar();
      b.call("Move", b.get("Left"), static_cast<double>(Pos));
    });
  } else {
    steps.run([&] { host::platform().setMousePointer(pointer::kSizeWE); });
    steps.run([&] { bar().call("Move", static_cast<double>(Pos)); });
  }
}

bool cSplitter::MouseUp(float& Pos) {
  if (!m_bDragging) return false;
  Steps steps;
  const char* scale = horizontal() ? "ScaleHeight" : "ScaleWidth";
  steps.run([&] { host::platform().releaseCapture(); });
  steps.run([&] { bar().put("BackColor", kRestColour); });
  steps.run([&] { bar().put("BorderStyle", kBorderNone); });
  // The near end clamps to the margin itself, the far end to 30 units inside it.
  if (Pos < m_lBorderSize) Pos = static_cast<float>(m_lBorderSize);
  if (steps.test([&] { return Pos > form().get(scale).toDouble() - m_lBorderSize; })) {
    steps.run([&] {
      Pos = static_cast<float>(form().get(scale).toDouble() - m_lBorderSize - kDropInset);
    });
  }
  Pos = static_cast<float>(static_cast<double>(Pos) - m_lGrabOffset);
  if (horizontal()) {
    steps.run([&] {
      Object& b = bar();
      b.call("Move", b.get("Left"), static_cast<double>(Pos) - kDropInset);
    });
  } else {
    steps.run([&] { bar().call("Move", static_cast<double>(Pos)); });
  }
  steps.run([&] { bar().call("ZOrder", kZOrderBack); });
  m_bDragging = false;
  steps.run([&] { host::platform().setMousePointer(pointer::kDefault); });
  // The form lays itself out (the owner's resize handling) before the owner hears of the drop.
  steps.run([&] {
    host::platform().sendMessage(form().get("hWnd").toInt32(), host::kWmSize, host::kSizeRestored,
                                 0);
  });
  steps.run([&] { events_.fire(splitter_event::kSplitComplete); });
  return true;
}

// Toolkit events: the position on the drag axis; button and shift state are not looked at.
float cSplitter::axisOf(Args a, std::string_view eventName) const {
  if (a.size() < 4) {
    throw Error::argumentNotOptional(std::string(eventName) + " takes Button, Shift, X, Y",
                                     typeName());
  }
  return toSingle(a[horizontal() ? 3 : 2].get());
}

void cSplitter::m_picSplitter_MouseDown(Args a) {
  MouseDown(axisOf(a, "MouseDown"));
}

void cSplitter::m_frmParent_MouseMove(Args a) {
  MouseMove(axisOf(a, "MouseMove"));
}

void cSplitter::m_frmParent_MouseUp(Args a) {
  float pos = axisOf(a, "MouseUp");
  MouseUp(pos);  // the result is of no interest here
}

// Members by name.

Variant cSplitter::mOrientation(Args a) {
  automation::requireArgs(a, 0, "Orientation");
  return Variant(m_eOrientation);
}

void cSplitter::mPutOrientation(Args a, const Variant& v) {
  automation::requireArgs(a, 0, "Orientation");
  setOrientation(v.toInt32());
}

Variant cSplitter::mBorderSize(Args a) {
  automation::requireArgs(a, 0, "BorderSize");
  return Variant(m_lBorderSize);
}

void cSplitter::mPutBorderSize(Args a, const Variant& v) {
  automation::requireArgs(a, 0, "BorderSize");
  setBorderSize(v.toInt32());
}

Variant cSplitter::mInitialise(Args a) {
  automation::requireArgs(a, 2, "Initialise");
  Initialise(objectForField(a[0].get()), objectForField(a[1].get()));
  return Variant();
}

Variant cSplitter::mMouseDown(Args a) {
  automation::requireArgs(a, 1, "MouseDown");
  MouseDown(toSingle(a[0].get()));
  return Variant();
}

Variant cSplitter::mMouseMove(Args a) {
  automation::requireArgs(a, 1, "MouseMove");
  MouseMove(toSingle(a[0].get()));
  return Variant();
}

Variant cSplitter::mMouseUp(Args a) {
  automation::requireArgs(a, 1, "MouseUp");
  float pos = toSingle(a[0].get());
  bool ended = MouseUp(pos);
  a[0].set(Variant(static_cast<double>(pos)));
  return Variant(ended);
}

}  // namespace qx::widgets
