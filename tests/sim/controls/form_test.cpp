#include "sim/controls/form.h"

#include <gtest/gtest.h>

#include "host/platform.h"
#include "host/toolkit.h"
#include "sim/controls/ledger/ledger_grid.h"
#include "sim/controls/picture_box.h"
#include "support/live_objects.h"

namespace qx::sim {
namespace {

using automation::Args;
using automation::DispId;
using automation::Error;
using automation::FunctionSink;
using automation::ObjectRef;

class FormTest : public qx::testing::LiveObjectsTest {
 protected:
  RegistryFile registry;
  FaultInjector faults;
  ComponentRegistry components{registry, faults};
  SimPlatform platform{components, registry};
};

TEST_F(FormTest, ControlsAreMembersOfTheFormByName) {
  auto form = Form::create("frmRep", &platform);
  auto pic = PictureBox::create("picSplit");
  auto grid = LedgerGrid::create("ldgAbility");
  form->addControl("picSplit", ObjectRef(pic));
  form->addControl("ldgAbility", ObjectRef(grid));
  EXPECT_EQ(form->get("picSplit"), Variant(ObjectRef(pic)));
  EXPECT_EQ(form->get("PICSPLIT"), Variant(ObjectRef(pic)));
  EXPECT_EQ(form->get("Controls", "ldgAbility"), Variant(ObjectRef(grid)));
  EXPECT_EQ(form->nameOf(form->idOf("ldgAbility")), "ldgAbility");
  EXPECT_THROW(form->get("grdDetail"), Error);
  EXPECT_THROW(form->get("Controls", "grdDetail"), Error);
  EXPECT_EQ(form->controlNames(), (std::vector<std::string>{"picSplit", "ldgAbility"}));
  // Any object can be a control, e.g. a binding the form holds.
  auto replacement = PictureBox::create("picSplit");
  form->addControl("picSplit", ObjectRef(replacement));
  EXPECT_EQ(form->control("picsplit"), ObjectRef(replacement));
  EXPECT_EQ(form->typeName(), "frmRep");
}

TEST_F(FormTest, ZOrderIsKeptPerForm) {
  auto form = Form::create("frm");
  auto a = PictureBox::create("a");
  auto b = PictureBox::create("b");
  form->addControl("a", ObjectRef(a));
  form->addControl("b", ObjectRef(b));
  EXPECT_EQ(form->zOrder().backToFront(), (std::vector<std::string>{"a", "b"}));
  a->call("ZOrder", 0);
  EXPECT_EQ(form->zOrder().backToFront(), (std::vector<std::string>{"b", "a"}));
  a->call("ZOrder", 1);
  EXPECT_EQ(form->zOrder().backToFront(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(FormTest, TheResizeMessageRaisesResize) {
  auto form = Form::create("frmRep", &platform);
  int resized = 0;
  auto sink = automation::makeObject<FunctionSink>([&](DispId id, Args) {
    if (id == host::form_event::kResize) ++resized;
  });
  uint32_t cookie = form->advise("FormEvents", ObjectRef(sink));
  intptr_t hwnd = form->get("hWnd").toInt32();
  EXPECT_NE(hwnd, 0);
  platform.sendMessage(hwnd, host::kWmSize, 0, 0);
  EXPECT_EQ(resized, 1);
  platform.sendMessage(hwnd, 16, 0, 0);  // other messages do not
  EXPECT_EQ(resized, 1);
  form->resize(9000, 7000);
  EXPECT_EQ(resized, 2);
  EXPECT_EQ(form->get("ScaleWidth"), Variant(9000.0));
  EXPECT_EQ(form->get("ScaleHeight"), Variant(7000.0));
  form->unadvise(cookie);
  form.reset();
  EXPECT_EQ(platform.sendMessage(hwnd, host::kWmSize, 0, 0), 0);  // the window is gone
}

TEST_F(FormTest, MouseEventsCarryFormCoordinates) {
  auto form = Form::create("frm");
  std::vector<std::string> seen;
  auto sink = automation::makeObject<FunctionSink>([&](DispId id, Args a) {
    seen.push_back(std::to_string(id) + ":" + a[2].get().toString() + "," + a[3].get().toString());
  });
  uint32_t cookie = form->advise("FormEvents", ObjectRef(sink));
  form->mouseMove(10, 2500);
  form->mouseUp(11, 2600);
  EXPECT_EQ(seen, (std::vector<std::string>{"2:10,2500", "3:11,2600"}));
  form->unadvise(cookie);
}

TEST_F(FormTest, WithoutAPlatformThereIsNoWindow) {
  auto form = Form::create("frm");
  EXPECT_EQ(form->get("hWnd"), Variant(0));
  EXPECT_THROW(form->addControl("", ObjectRef(PictureBox::create("x"))), Error);
}

}  // namespace
}  // namespace qx::sim
