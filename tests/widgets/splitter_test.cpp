#include "widgets/splitter.h"

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "host/toolkit.h"
#include "strict_fake.h"
#include "support/live_objects.h"

namespace qx::widgets {
namespace {

using automation::Arg;
using automation::CallKind;
using automation::Error;
using automation::FunctionSink;
using automation::ObjectRef;
using automation::Ref;
using automation::Variant;
using testing::CallLog;
using testing::FakePlatform;
using testing::StrictFake;
using Kinds = std::set<CallKind>;

constexpr intptr_t kHwnd = 4096;
const Kinds kPut = {CallKind::Put};
const Kinds kGet = {CallKind::Get};
const Kinds kMethod = {CallKind::Method};

class SplitterTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    bar = StrictFake::create("bar", log, std::string(host::kPictureBoxEvents));
    bar->allow("BackColor", kPut)
        .allow("BorderStyle", kPut)
        .allow("ZOrder", kMethod)
        .allow("MousePointer", kPut)
        .allow("Visible", kPut)
        .allow("Left", kGet, Variant(120.0))
        .allow("Height", kPut)
        .allow("Width", kPut)
        .allow("Move", kMethod);
    form = StrictFake::create("form", log, std::string(host::kFormEvents));
    form->allow("ScaleWidth", kGet, Variant(8000.0))
        .allow("ScaleHeight", kGet, Variant(6000.0))
        .allow("hWnd", kGet, Variant(static_cast<int32_t>(kHwnd)));
    splitter = cSplitter::create();
    owner = automation::makeObject<FunctionSink>([this](DispId id, Args a) {
      if (id == splitter_event::kDoSplit) {
        log.push_back("owner.DoSplit");
        if (refuse) a[0].set(Variant(false));
        if (ownerFails) throw Error(5, "the owner failed");
      } else {
        log.push_back("owner.SplitComplete");
        if (dropSplitterOnComplete) splitter.reset();
      }
    });
    cookie = splitter->advise(kSplitterEvents, ObjectRef(owner));
  }
  void TearDown() override {
    if (splitter) splitter->unadvise(cookie);
    splitter.reset();
    owner.reset();
    bar.reset();
    form.reset();
    LiveObjectsTest::TearDown();
  }

  // Initialised with the given orientation and margin; the log starts empty.
  void ready(int32_t orientation, int32_t border = 0) {
    splitter->Initialise(ObjectRef(bar), ObjectRef(form));
    splitter->setOrientation(orientation);
    splitter->setBorderSize(border);
    log.clear();
  }

  CallLog log;
  FakePlatform platform{log};
  Ref<StrictFake> bar, form;
  Ref<cSplitter> splitter;
  Ref<FunctionSink> owner;
  uint32_t cookie = 0;
  bool refuse = false, ownerFails = false, dropSplitterOnComplete = false;
};

TEST_F(SplitterTest, CreationDefaults) {
  EXPECT_EQ(splitter->Orientation(), OrientationVertical);
  EXPECT_EQ(splitter->BorderSize(), 0);
  EXPECT_FALSE(splitter->dragging());
  EXPECT_EQ(splitter->get("Orientation"), Variant(2));
  EXPECT_EQ(splitter->get("BorderSize"), Variant(0));
  EXPECT_TRUE(log.empty());
}

TEST_F(SplitterTest, InitialiseSubscribesAndSetsUpTheBarInOrder) {
  splitter->call("Initialise", bar, form);
  EXPECT_EQ(bar->sinkCount(), 1u);
  EXPECT_EQ(form->sinkCount(), 1u);
  EXPECT_EQ(log, (CallLog{"bar.BorderStyle = 0", "bar.ZOrder(1)", "bar.MousePointer = 9",
                          "bar.Visible = True"}));
}

TEST_F(SplitterTest, OrientationSetsTheBarPointerOnceThereIsABar) {
  splitter->put("Orientation", 1);  // no bar yet: stored only
  EXPECT_TRUE(log.empty());
  splitter->Initialise(ObjectRef(bar), ObjectRef(form));
  log.clear();
  struct Row {
    int32_t orientation;
    const char* pointer;
  };
  for (Row r : {Row{1, "bar.MousePointer = 7"}, Row{2, "bar.MousePointer = 9"},
                Row{0, "bar.MousePointer = 9"}, Row{5, "bar.MousePointer = 9"}}) {
    SCOPED_TRACE(r.orientation);
    log.clear();
    splitter->put("Orientation", r.orientation);
    EXPECT_EQ(log, CallLog{r.pointer});
    EXPECT_EQ(splitter->get("Orientation"), Variant(r.orientation));
  }
  splitter->put("BorderSize", 240);
  EXPECT_EQ(splitter->get("BorderSize"), Variant(240));
}

TEST_F(SplitterTest, InitialisePropagatesAFailingStepAndStopsThere) {
  bar->fail("ZOrder");
  EXPECT_EQ(testing::errorOf([&] { splitter->call("Initialise", bar, form); }), 5);
  EXPECT_EQ(log, CallLog{"bar.BorderStyle = 0"});
  bar->fail("MousePointer");
  EXPECT_THROW(splitter->put("Orientation", 1), Error);
  EXPECT_EQ(splitter->Orientation(), 1);  // stored before the bar refused
}

TEST_F(SplitterTest, HorizontalDragFollowsAndDrops) {
  ready(OrientationHorizontal, 1800);
  bar->raise(host::picture_box_event::kMouseDown, int16_t{1}, int16_t{0}, 55.0, 100.4);
  EXPECT_TRUE(splitter->dragging());
  EXPECT_EQ(splitter->grabOffset(), 100);
  EXPECT_EQ(log, (CallLog{"owner.DoSplit", "bar.BackColor = -2147483632", "bar.ZOrder(0)",
                          "bar.BorderStyle = 1", "bar.Height = 60", "SetCapture(4096)"}));
  log.clear();
  form->raise(host::form_event::kMouseMove, int16_t{1}, int16_t{0}, 10.0, 3000.0);
  EXPECT_EQ(log, (CallLog{"Screen.MousePointer = 7", "bar.Move(120, 3000)"}));
  log.clear();
  form->raise(host::form_event::kMouseUp, int16_t{1}, int16_t{0}, 10.0, 3200.0);
  EXPECT_FALSE(splitter->dragging());
  // 3200 - grab offset 100, and a horizontal bar lands 30 higher.
  EXPECT_EQ(log, (CallLog{"ReleaseCapture", "bar.BackColor = -2147483633", "bar.BorderStyle = 0",
                          "bar.Move(120, 3070)", "bar.ZOrder(1)", "Screen.MousePointer = 0",
                          "SendMessage(4096, 5, 0, 0)", "owner.SplitComplete"}));
}

TEST_F(SplitterTest, VerticalDragUsesXAndTheWidth) {
  ready(OrientationVertical, 300);
  platform.twipsX = 12;
  bar->raise(host::picture_box_event::kMouseDown, int16_t{1}, int16_t{0}, 2.5, 999.0);
  EXPECT_EQ(splitter->grabOffset(), 2);  // halves go to the even number
  EXPECT_EQ(log, (CallLog{"owner.DoSplit", "bar.BackColor = -2147483632", "bar.ZOrder(0)",
                          "bar.BorderStyle = 1", "bar.Width = 48", "SetCapture(4096)"}));
  log.clear();
  form->raise(host::form_event::kMouseMove, int16_t{2}, int16_t{1}, 4000.0, 10.0);
  EXPECT_EQ(log, (CallLog{"Screen.MousePointer = 9", "bar.Move(4000)"}));
  log.clear();
  form->raise(host::form_event::kMouseUp, int16_t{2}, int16_t{0}, 4000.0, 10.0);
  EXPECT_EQ(log, (CallLog{"ReleaseCapture", "bar.BackColor = -2147483633", "bar.BorderStyle = 0",
                          "bar.Move(3998)", "bar.ZOrder(1)", "Screen.MousePointer = 0",
                          "SendMessage(4096, 5, 0, 0)", "owner.SplitComplete"}));
}

TEST_F(SplitterTest, MovesOutsideTheLimitsShowNoDropAndLeaveTheBar) {
  struct Row {
    int32_t orientation;
    float pos;
    bool inside;
  };
  // ScaleHeight 6000, ScaleWidth 8000, margin 1800: both comparisons are strict.
  const Row rows[] = {
      {1, 1800, false}, {1, 1801, true}, {1, 4199, true},  {1, 4200, false}, {1, -5, false},
      {2, 1800, false}, {2, 6199, true}, {2, 6200, false}, {2, 9000, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.orientation) + " at " + std::to_string(r.pos));
    ready(r.orientation, 1800);
    splitter->MouseDown(0);
    log.clear();
    splitter->MouseMove(r.pos);
    if (r.inside) {
      ASSERT_EQ(log.size(), 2u);
      EXPECT_EQ(log[0], r.orientation == 1 ? "Screen.MousePointer = 7" : "Screen.MousePointer = 9");
    } else {
      EXPECT_EQ(log, CallLog{"Screen.MousePointer = 12"});
    }
    float drop = 3000;
    splitter->MouseUp(drop);
  }
}

TEST_F(SplitterTest, DropArithmeticForBothOrientations) {
  struct Row {
    const char* what;
    int32_t orientation;
    float pos;
    float adjusted;  // Pos after the drop
    const char* move;
  };
  // Margin 1800, grab offset 10; far margin 6000 - 1800 (horizontal), 8000 - 1800 (vertical).
  const Row rows[] = {
      {"inside", 1, 3000, 2990, "bar.Move(120, 2960)"},
      {"inside", 2, 3000, 2990, "bar.Move(2990)"},
      {"below the near margin", 1, 1000, 1790, "bar.Move(120, 1760)"},
      {"below the near margin", 2, 1000, 1790, "bar.Move(1790)"},
      {"at the near margin", 1, 1800, 1790, "bar.Move(120, 1760)"},
      {"beyond the far margin", 1, 5000, 4160, "bar.Move(120, 4130)"},
      {"beyond the far margin", 2, 7000, 6160, "bar.Move(6160)"},
      {"at the far margin", 1, 4200, 4190, "bar.Move(120, 4160)"},
      {"at the far margin", 2, 6200, 6190, "bar.Move(6190)"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.what) + ", orientation " + std::to_string(r.orientation));
    ready(r.orientation, 1800);
    splitter->MouseDown(10);
    log.clear();
    Variant pos(static_cast<double>(r.pos));
    EXPECT_EQ(splitter->call("MouseUp", automation::byRef(pos)), Variant(true));
    EXPECT_EQ(pos, Variant(static_cast<double>(r.adjusted)));
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[3], r.move);
  }
}

TEST_F(SplitterTest, RefusedDragChangesNothingAndTheLaterDropReturnsFalse) {
  ready(OrientationHorizontal, 100);
  refuse = true;
  bar->raise(host::picture_box_event::kMouseDown, int16_t{1}, int16_t{0}, 0.0, 40.0);
  EXPECT_FALSE(splitter->dragging());
  EXPECT_EQ(splitter->grabOffset(), 0);
  form->raise(host::form_event::kMouseMove, int16_t{1}, int16_t{0}, 0.0, 500.0);
  Variant pos(700.0);
  EXPECT_EQ(splitter->call("MouseUp", automation::byRef(pos)), Variant(false));
  EXPECT_EQ(pos, Variant(700.0));
  EXPECT_EQ(log, CallLog{"owner.DoSplit"});
}

TEST_F(SplitterTest, ASecondMouseUpReturnsFalseAndRaisesNothing) {
  ready(OrientationHorizontal, 100);
  splitter->MouseDown(5);
  float pos = 1000;
  EXPECT_TRUE(splitter->MouseUp(pos));
  log.clear();
  pos = 1000;
  EXPECT_FALSE(splitter->MouseUp(pos));
  EXPECT_EQ(pos, 1000);
  EXPECT_TRUE(log.empty());
}

TEST_F(SplitterTest, MouseDownBeforeInitialiseRaisesDoSplitAndSkipsTheRest) {
  splitter->MouseDown(12);
  EXPECT_TRUE(splitter->dragging());
  EXPECT_EQ(splitter->grabOffset(), 12);
  EXPECT_EQ(log, CallLog{"owner.DoSplit"});
  splitter->MouseMove(50);  // no form: the failing test counts as passed, the move fails
  EXPECT_EQ(log, (CallLog{"owner.DoSplit", "Screen.MousePointer = 9"}));
  log.clear();
  float pos = 50;
  EXPECT_TRUE(splitter->MouseUp(pos));
  EXPECT_EQ(log, (CallLog{"ReleaseCapture", "Screen.MousePointer = 0", "owner.SplitComplete"}));
}

TEST_F(SplitterTest, FailingStepsAreSkippedAndTheRestRun) {
  ready(OrientationHorizontal, 100);
  bar->fail("BackColor");
  platform.failCapture = true;
  ownerFails = true;  // a failing owner does not stop the drag either
  splitter->MouseDown(0);
  EXPECT_TRUE(splitter->dragging());
  EXPECT_EQ(log,
            (CallLog{"owner.DoSplit", "bar.ZOrder(0)", "bar.BorderStyle = 1", "bar.Height = 60"}));
  log.clear();
  form->fail("ScaleHeight");  // the limit test fails: it counts as passed
  splitter->MouseMove(9999);
  EXPECT_EQ(log, (CallLog{"Screen.MousePointer = 7", "bar.Move(120, 9999)"}));
  log.clear();
  form->fail("hWnd");
  float pos = 9999;
  EXPECT_TRUE(splitter->MouseUp(pos));
  EXPECT_EQ(pos, 9999);  // the clamp could not read the form: no change
  EXPECT_EQ(log, (CallLog{"ReleaseCapture", "bar.BorderStyle = 0", "bar.Move(120, 9969)",
                          "bar.ZOrder(1)", "Screen.MousePointer = 0", "owner.SplitComplete"}));
  EXPECT_FALSE(splitter->dragging());
}

TEST_F(SplitterTest, AfterTheDropTheBarKeepsTheDragThickness) {
  ready(OrientationHorizontal, 0);
  splitter->MouseDown(0);
  EXPECT_EQ(log.back(), "SetCapture(4096)");
  EXPECT_NE(std::find(log.begin(), log.end(), "bar.Height = 60"), log.end());
  log.clear();
  float pos = 500;
  splitter->MouseUp(pos);
  for (const std::string& entry : log) {
    SCOPED_TRACE(entry);
    EXPECT_NE(entry.rfind("bar.Height", 0), 0u);
    EXPECT_NE(entry.rfind("bar.Width", 0), 0u);
  }
}

TEST_F(SplitterTest, TheResizeMessageRunsBeforeSplitComplete) {
  ready(OrientationHorizontal, 0);
  platform.onMessage = [&] { log.push_back("form laid out"); };
  splitter->MouseDown(0);
  log.clear();
  float pos = 500;
  splitter->MouseUp(pos);
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 3], "SendMessage(4096, 5, 0, 0)");
  EXPECT_EQ(log[log.size() - 2], "form laid out");
  EXPECT_EQ(log.back(), "owner.SplitComplete");
}

TEST_F(SplitterTest, TheOwnerMayReleaseTheSplitterWhenTheDropCompletes) {
  ready(OrientationHorizontal, 0);
  dropSplitterOnComplete = true;
  splitter->MouseDown(0);
  form->raise(host::form_event::kMouseUp, int16_t{1}, int16_t{0}, 0.0, 700.0);
  EXPECT_FALSE(splitter);
  EXPECT_EQ(bar->sinkCount(), 0u);  // the released splitter unsubscribed
  EXPECT_EQ(form->sinkCount(), 0u);
}

TEST_F(SplitterTest, DestructionEndsBothSubscriptions) {
  ready(OrientationHorizontal, 0);
  splitter->MouseDown(0);
  splitter->unadvise(cookie);
  splitter.reset();
  EXPECT_EQ(bar->sinkCount(), 0u);
  EXPECT_EQ(form->sinkCount(), 0u);
  form->raise(host::form_event::kMouseUp, int16_t{1}, int16_t{0}, 0.0, 700.0);  // reaches no one
  EXPECT_EQ(log, (CallLog{"owner.DoSplit", "bar.BackColor = -2147483632", "bar.ZOrder(0)",
                          "bar.BorderStyle = 1", "bar.Height = 60", "SetCapture(4096)"}));
}

TEST_F(SplitterTest, EventsOfOtherInterfacesAreRefused) {
  auto sink = automation::makeObject<FunctionSink>(nullptr);
  EXPECT_EQ(testing::errorOf([&] { splitter->advise("FormEvents", ObjectRef(sink)); }), 445);
  EXPECT_TRUE(splitter->supports("cSplitter"));
}

TEST_F(SplitterTest, ToolkitEventsWithoutCoordinatesFailToTheRaiser) {
  ready(OrientationHorizontal, 0);
  EXPECT_THROW(bar->raise(host::picture_box_event::kMouseDown, int16_t{1}), Error);
  EXPECT_FALSE(splitter->dragging());
}

}  // namespace
}  // namespace qx::widgets
