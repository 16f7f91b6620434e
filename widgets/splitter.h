// cSplitter: turns a picture box on a form into a bar that the user drags to divide the form
// into two panes. The owner hands it the bar and the form (Initialise), may refuse a drag
// (DoSplit) and re-lays out its panes after a drop (SplitComplete). The bar follows the mouse
// while the form holds the mouse capture; after the drop the form is sent a resize message so
// that its own layout runs.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "automation/dispatch.h"
#include "automation/events.h"
#include "widgets/source_field.h"

namespace qx::widgets {

// The splitter's events, raised to its owner's sinks.
inline constexpr std::string_view kSplitterEvents = "cSplitterEvents";
namespace splitter_event {
inline constexpr DispId kDoSplit = 1;        // DoSplit(bSplit by reference, true on entry)
inline constexpr DispId kSplitComplete = 2;  // SplitComplete()
}  // namespace splitter_event

// Orientation values: 1 is a horizontal bar dragged up and down; any other value behaves as 2.
inline constexpr int32_t OrientationHorizontal = 1;
inline constexpr int32_t OrientationVertical = 2;

class cSplitter final : public automation::Dispatch<cSplitter> {
 public:
  static constexpr std::string_view kTypeName = "cSplitter";
  static std::span<const automation::Member<cSplitter>> members();
  [[nodiscard]] static automation::Ref<cSplitter> create() {
    return automation::makeObject<cSplitter>();
  }

  cSplitter();
  ~cSplitter() override;

  uint32_t advise(std::string_view interfaceName, const ObjectRef& sink) override;
  void unadvise(uint32_t cookie) override;
  bool supports(std::string_view interfaceName) const override;

  // Property Orientation: setting it also sets the bar's own pointer, when there is a bar.
  int32_t Orientation() const noexcept { return m_eOrientation; }
  void setOrientation(int32_t eOrientation);
  int32_t BorderSize() const noexcept { return m_lBorderSize; }
  void setBorderSize(int32_t lSize) noexcept { m_lBorderSize = lSize; }

  void Initialise(const ObjectRef& picSplitter, const ObjectRef& frmParent);
  void MouseDown(float Pos);
  void MouseMove(float Pos);
  // True when a drag was in progress and has ended; Pos receives the adjusted drop position.
  bool MouseUp(float& Pos);

  bool dragging() const noexcept { return m_bDragging; }
  int32_t grabOffset() const noexcept { return m_lGrabOffset; }

 private:
  // Toolkit events of the held bar and form.
  void m_picSplitter_MouseDown(Args a);
  void m_frmParent_MouseMove(Args a);
  void m_frmParent_MouseUp(Args a);
  float axisOf(Args a, std::string_view eventName) const;

  // The held bar and form; failing with 91 when none is held.
  automation::Object& bar() const;
  automation::Object& form() const;
  bool horizontal() const noexcept { return m_eOrientation == OrientationHorizontal; }

  automation::Variant mOrientation(Args a);
  void mPutOrientation(Args a, const automation::Variant& v);
  automation::Variant mBorderSize(Args a);
  void mPutBorderSize(Args a, const automation::Variant& v);
  automation::Variant mInitialise(Args a);
  automation::Variant mMouseDown(Args a);
  automation::Variant mMouseMove(Args a);
  automation::Variant mMouseUp(Args a);

  static const SourceField<cSplitter>::Route kBarRoutes[];
  static const SourceField<cSplitter>::Route kFormRoutes[];

  SourceField<cSplitter> m_picSplitter;
  SourceField<cSplitter> m_frmParent;
  int32_t m_eOrientation = OrientationVertical;
  int32_t m_lBorderSize = 0;
  bool m_bDragging = false;
  int32_t m_lGrabOffset = 0;
  automation::ConnectionPoint events_{std::string(kSplitterEvents)};
};

}  // namespace qx::widgets
