// The widgets against the substitute toolkit: the splitter on a real form (mouse capture, the
// resize message reaching the form's Resize), and the binding feeding the ledger grid control.
#include <gtest/gtest.h>

#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/recordset.h"
#include "host/toolkit.h"
#include "ledger_fixture.h"
#include "sim/controls/form.h"
#include "sim/controls/ledger/ledger_grid.h"
#include "sim/controls/picture_box.h"
#include "sim/platform/sim_platform.h"
#include "support/live_objects.h"
#include "widgets/ledger_data.h"
#include "widgets/splitter.h"

namespace qx::widgets {
namespace {

using automation::Args;
using automation::FunctionSink;
using automation::ObjectRef;
using automation::Variant;

class WidgetsOnSubstitutesTest : public qx::testing::LiveObjectsTest {
 protected:
  sim::RegistryFile registry;
  sim::FaultInjector faults;
  sim::ComponentRegistry components{registry, faults};
  sim::SimPlatform platform{components, registry};
  host::ScopedPlatform installed{platform};
};

TEST_F(WidgetsOnSubstitutesTest, TheSplitterDropLaysTheFormOutBeforeSplitComplete) {
  auto form = sim::Form::create("frmRep", &platform);
  form->scaleHeight = 6000;
  form->scaleWidth = 9000;
  auto bar = sim::PictureBox::create("picSplit");
  bar->top = 2400;
  bar->width = 9000;
  bar->height = 60;
  form->addControl("picSplit", ObjectRef(bar));
  form->addControl("ldgAbility", ObjectRef(sim::LedgerGrid::create("ldgAbility")));
  std::vector<std::string> events;
  auto layout = automation::makeObject<FunctionSink>([&](DispId id, Args) {
    if (id == host::form_event::kResize)
      events.push_back("Resize, bar at " + std::to_string(int(bar->top)));
  });
  uint32_t layoutCookie = form->advise("FormEvents", ObjectRef(layout));
  auto split = cSplitter::create();
  auto owner = automation::makeObject<FunctionSink>([&](DispId id, Args) {
    events.push_back(id == splitter_event::kDoSplit ? "DoSplit" : "SplitComplete");
  });
  uint32_t ownerCookie = split->advise(kSplitterEvents, ObjectRef(owner));
  split->Initialise(ObjectRef(bar), ObjectRef(form));
  split->setOrientation(OrientationHorizontal);
  split->setBorderSize(1800);
  EXPECT_EQ(form->zOrder().backToFront().front(), "picSplit");  // sent to the back

  bar->mouseDown(0, 15);
  EXPECT_EQ(form->zOrder().backToFront().back(), "picSplit");  // in front while dragged
  EXPECT_EQ(platform.capture(), form->hwnd());
  EXPECT_EQ(bar->height, 60);  // four pixels of 15 twips
  EXPECT_EQ(bar->borderStyle, 1);
  form->mouseMove(0, 3000);
  EXPECT_EQ(bar->top, 3000);
  form->mouseUp(0, 3500);
  EXPECT_EQ(platform.capture(), 0);
  EXPECT_EQ(form->zOrder().backToFront().front(), "picSplit");
  EXPECT_EQ(bar->top, 3500 - 15 - 30);
  EXPECT_EQ(bar->backColor, host::system_color::kButtonFace);
  EXPECT_EQ(platform.mousePointer(), host::mouse_pointer::kDefault);
  EXPECT_EQ(events, (std::vector<std::string>{"DoSplit", "Resize, bar at 3455", "SplitComplete"}));

  split->unadvise(ownerCookie);
  form->unadvise(layoutCookie);
}

TEST_F(WidgetsOnSubstitutesTest, TheControlPaintsWhatTheBindingAnswers) {
  using testing::columnDef;
  auto grid = sim::LedgerGrid::create("ldgAbility");
  auto binding = LedgerData::create();  // no general-ledger object here: amounts use 2
  EXPECT_EQ(binding->amountDecimal(), 2);
  binding->put("ldg", grid);
  EXPECT_EQ(grid->rows(), 2);
  EXPECT_EQ(grid->fixedRows(), 2);
  EXPECT_EQ(grid->option(32), std::optional<bool>(false));

  binding->put("Header",
               testing::headerOf(
                   {columnDef(Variant("Doc"), Variant(), Variant(1), Variant("FBillNo"),
                              Variant(int16_t{1}), Variant(int32_t{1})),
                    columnDef(Variant("Qty"), Variant("Plan"), Variant(2), Variant("FQty"),
                              Variant(int16_t{0})),
                    columnDef(Variant("Qty"), Variant("Done"), Variant(2), Variant("FDone"))}));
  binding->put("rs", testing::table({"FInterID", "FItemID", "FSumSort", "FQtyDecimal", "FBillNo",
                                     "FQty", "FDone"},
                                    {{Variant(1), Variant(1), Variant(0), Variant(1),
                                      Variant("WO-1"), Variant(10.25), Variant(4)},
                                     {Variant(1), Variant(2), Variant(0), Variant(1),
                                      Variant("WO-1"), Variant(5), Variant(0)},
                                     {Variant(0), Variant(0), Variant(101), Variant(1),
                                      Variant("Total"), Variant(15.25), Variant(4)}}));
  binding->call("Refresh");
  EXPECT_EQ(grid->repaintCount(), 1);
  EXPECT_EQ(grid->texts(),
            (std::vector<std::string>{"Doc$|Qty|Qty|", "|Plan|Done|", "WO-1|10.3|4.0|", "|5.0||",
                                      "Total|15.3|4.0|"}));
  EXPECT_TRUE(grid->column(2).hidden());
  EXPECT_EQ(grid->column(2).alignment, std::optional<int32_t>(1));
  EXPECT_EQ(grid->continued(3), std::optional<bool>(true));
  EXPECT_EQ(grid->continued(2), std::optional<bool>(false));
  EXPECT_EQ(grid->colours()[4], host::rgb(255, 255, 232));
  // The last row reset the document: painting again gives the same texts.
  binding->call("Refresh");
  EXPECT_EQ(grid->texts()[2], "WO-1|10.3|4.0|");
  EXPECT_EQ(grid->renderText(),
            "| Doc   | Qty  |\n"
            "|       | Done |\n"
            "|-------|------|\n"
            "| WO-1  |  4.0 |  white\n"
            "|       |      |  white\n"
            "| Total |  4.0 |  light yellow\n");
  binding->call("FreeMem");
  EXPECT_EQ(grid->sinkCount(), 0u);
}

}  // namespace
}  // namespace qx::widgets
