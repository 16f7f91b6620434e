// The capacity area below the schedule grid: showing and hiding it, and the layout of grid,
// splitter bar and ledger on every resize and drop.
#include "automation/conversions.h"
#include "automation/steps.h"
#include "host/platform.h"
#include "host/toolkit.h"
#include "scheduler/ei_rep_scheduler.h"
#include "widgets/splitter.h"

namespace qx::scheduler {

namespace {
// Form units (twips); the host's controls keep their places in floating point, so the layout
// computes in floating point too and rounds nothing.
constexpr double kMinGridHeight = 800;  // the layout keeps this much of the grid
constexpr double kMinDragStart = 100;   // a drag may start only this far below the grid top
constexpr double kBorderPixels = 120;
}  // namespace

void EIRepScheduler::ShowAbilityArea() {
  m_oSplilter.assign(ObjectRef(widgets::cSplitter::create()));
  m_picSplit->put("Visible", true);
  m_oSplilter->call("Initialise", Variant(m_picSplit), Variant(m_frmRep.get()));
  // The margin is a whole number of form units: the product is rounded, halves to even.
  m_oSplilter->put("BorderSize",
                   automation::roundToInt32(host::platform().twipsPerPixelY() * kBorderPixels));
  m_oSplilter->put("Orientation", widgets::OrientationHorizontal);
  m_picSplit->put("BackColor", host::system_color::kButtonFace);
  m_picSplit->put("BorderStyle", 0);
  control("ldgAbility")->put("Visible", true);
}

void EIRepScheduler::HideAbilityArea() {
  m_oSplilter.reset();
  m_picSplit->put("Visible", false);
  control("ldgAbility")->put("Visible", false);
}

void EIRepScheduler::m_frmRep_Resize() {
  // Every step is attempted; a failing one is skipped, a failing test counts as passed.
  automation::Steps steps;
  if (steps.test([&] { return !tool("showability")->get("Checked").toBool(); })) return;
  auto gridTop = [&] { return m_grdDetail->get("Top").toDouble(); };
  auto barTop = [&] { return m_picSplit->get("Top").toDouble(); };
  if (steps.test([&] { return barTop() < gridTop() + kMinGridHeight; })) {
    steps.run([&] { m_picSplit->put("Top", gridTop() + kMinGridHeight); });
  }
  steps.run([&] {
    m_picSplit->call("Move", m_grdDetail->get("Left"), m_picSplit->get("Top"),
                     m_grdDetail->get("Width"));
  });
  steps.run([&] { m_grdDetail->put("Height", barTop() - gridTop()); });
  steps.run([&] { control("ldgAbility")->put("Visible", true); });
  steps.run([&] {
    double t = barTop() + m_picSplit->get("Height").toDouble();
    double bottom = control("fraOther")->get("Top").toDouble();
    control("ldgAbility")
        ->call("Move", m_grdDetail->get("Left"), t, m_grdDetail->get("Width"), bottom - t);
  });
}

void EIRepScheduler::m_oSplilter_DoSplit(Variant& bSplit) {
  // No failure handling: a failure goes back to the splitter, which ignores it.
  if (m_picSplit->get("Top").toDouble() < m_grdDetail->get("Top").toDouble() + kMinDragStart) {
    bSplit = Variant(false);
  }
}

void EIRepScheduler::m_oSplilter_SplitComplete() {
  if (m_picSplit->get("Top").toDouble() < m_grdDetail->get("Top").toDouble() + kMinGridHeight) {
    m_frmRep_Resize();
  }
}

}  // namespace qx::scheduler
