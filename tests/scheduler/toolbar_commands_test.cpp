// The tool bar's commands on the sample work order 5001 with the substitute host's components:
// exact button names, the capacity area switched twice, a refresh while hidden, the options
// dialog confirmed and cancelled, the wizard's access check on every click.
#include <gtest/gtest.h>

#include "automation/host_dictionary.h"
#include "host/event_interfaces.h"
#include "schedule_fixture.h"
#include "services/sys_objects.h"
#include "sim/controls/tool_bar.h"
#include "support/fake_object.h"

namespace qx::scheduler {
namespace {

using automation::Arg;
using automation::Variant;

class ToolbarCommandsTest : public ScheduleFixture {
 protected:
  void SetUp() override {
    ScheduleFixture::SetUp();
    host_->registry().write(settingsKeyPath(0), "ShowAbility", Variant(true));
    ASSERT_FALSE(open());
  }
  sim::ScheduleBill::Outcome click(const std::string& key) { return bill_->clickTool(key); }
  // Raises OnBarClick with a button of its own whose Name is `name`.
  void clickNamed(const std::string& name) {
    auto button = automation::makeObject<sim::ToolButton>(name, name, true);
    Variant cancel(false);
    std::vector<Arg> args{Arg(Variant(ObjectRef(button))), Arg::byRef(cancel)};
    bill_->events()->raise("OnBarClick", automation::Args(args));
  }
  size_t messages() { return host_->platform().shownMessages().size(); }
};

TEST_F(ToolbarCommandsTest, NamesDifferingOnlyInLetterCaseDoNothing) {
  for (const char* name :
       {"ShowAbility", "WIZARD", "viewLoad", "abilityoption", "RefreshAbility", "DetailICMO"}) {
    SCOPED_TRACE(name);
    double height = form().grid->height;
    const ObjectRef options = plugin().abilityOptions();
    const ObjectRef result = plugin().abilityResult();
    clickNamed(name);
    EXPECT_TRUE(plugin().showAbility());
    EXPECT_TRUE(form().menuBar->find("showability")->checked);
    EXPECT_EQ(form().grid->height, height);
    EXPECT_EQ(plugin().abilityOptions(), options);
    EXPECT_EQ(plugin().abilityResult(), result);
    EXPECT_EQ(messages(), 0u);
    const sim::DialogScript& dialogs = host_->platform().dialogs();
    EXPECT_EQ(dialogs.shownCount("options") + dialogs.shownCount("decompose"), 0u);
    EXPECT_TRUE(host_->reports().shown().empty());
    EXPECT_FALSE(bill_->detailShown());
  }
}

TEST_F(ToolbarCommandsTest, ShowAbilityTwiceReturnsToTheFirstState) {
  ASSERT_TRUE(plugin().hasSplitter());
  EXPECT_FALSE(click("showability").failure);
  EXPECT_FALSE(plugin().showAbility());
  EXPECT_FALSE(plugin().hasSplitter());
  EXPECT_FALSE(form().ldgAbility->visible);
  EXPECT_EQ(form().grid->height,
            form().ldgAbility->top + form().ldgAbility->height - form().grid->top);

  // Hidden: a refresh keeps the line id and the loaded result.
  const ObjectRef result = plugin().abilityResult();
  int32_t line = plugin().abilityLineId();
  EXPECT_FALSE(click("refreshability").failure);
  EXPECT_EQ(plugin().abilityResult(), result);
  EXPECT_EQ(plugin().abilityLineId(), line);

  EXPECT_FALSE(click("showability").failure);
  EXPECT_TRUE(plugin().showAbility());
  EXPECT_TRUE(plugin().hasSplitter());
  EXPECT_TRUE(form().ldgAbility->visible);
  EXPECT_TRUE(form().menuBar->find("showability")->checked);
}

TEST_F(ToolbarCommandsTest, ConfirmedOptionsReloadTheLedgerCancelledOnesKeepIt) {
  const ObjectRef before = plugin().abilityResult();
  ASSERT_TRUE(before);
  host_->dialogs().queue("options", {"cancel"});
  EXPECT_FALSE(click("abilityOption").failure);
  EXPECT_EQ(plugin().abilityResult(), before);
  EXPECT_EQ(plugin().abilityOptions()->get("Value", "FSchedule").toInt32(), 0);

  host_->dialogs().queue("options", {"ok", "FSchedule=1"});
  EXPECT_FALSE(click("abilityOption").failure);
  EXPECT_NE(plugin().abilityResult(), before);
  EXPECT_EQ(plugin().abilityOptions()->get("Value", "FSchedule").toInt32(), 1);
  ASSERT_EQ(host_->platform().dialogs().shownCount("options"), 2u);

  // Saved with the bill's end.
  close();
  EXPECT_EQ(host_->registry().read(settingsKeyPath(0), "FSchedule").value_or(Variant()).toInt32(),
            1);
}

TEST_F(ToolbarCommandsTest, TheWizardChecksTheRightOnEveryClick) {
  host_->rights().revoke("demo", services::kWizardRightObject, services::kWizardRightSub,
                         services::kWizardRightMask);
  EXPECT_FALSE(click("wizard").failure);
  ASSERT_EQ(messages(), 1u);
  EXPECT_EQ(host_->platform().shownMessages()[0].prompt, "对不起,你没有相应权限.");
  EXPECT_EQ(host_->platform().shownMessages()[0].style, 64);
  EXPECT_EQ(host_->platform().dialogs().shownCount("decompose"), 0u);

  host_->rights().grant("demo", services::kWizardRightObject, services::kWizardRightSub,
                        services::kWizardRightMask);
  host_->dialogs().queue("decompose", {"cancel"});
  EXPECT_FALSE(click("wizard").failure);
  EXPECT_EQ(messages(), 1u);
  EXPECT_EQ(host_->platform().dialogs().shownCount("decompose"), 1u);
  EXPECT_EQ(form().grid->rows(), 4);  // cancelled: no rows
}

TEST_F(ToolbarCommandsTest, DetailKeepsTheLayoutAndAsksTheBillForTheDetail) {
  EXPECT_FALSE(click("detailicmo").failure);
  EXPECT_TRUE(bill_->detailShown());
  EXPECT_FALSE(click("showability").failure);
  EXPECT_FALSE(click("detailicmo").failure);
  EXPECT_TRUE(bill_->detailShown());  // hidden capacity: operation 10 is not called
}

TEST_F(ToolbarCommandsTest, PendingEventsRunBeforeTheCommand) {
  bool ran = false;
  host_->platform().post([&] {
    ran = true;
    EXPECT_TRUE(plugin().showAbility());  // not yet switched
  });
  EXPECT_FALSE(click("showability").failure);
  EXPECT_TRUE(ran);
}

// A capacity loader in front of the host's: it hands back through the by-reference options the
// same object, a new one or Nothing, and answers the options dialog with the row's "OK".
class LoaderHandBackTest : public ScheduleFixture {
 protected:
  enum class Back { Same, New, Nothing };
  void SetUp() override {
    ScheduleFixture::SetUp();
    host_->registry().write(settingsKeyPath(0), "ShowAbility", Variant(true));
    ObjectRef real = host_->platform().createObject(host::prog_id::kAbilityLoad);
    host_->components().registerComponent(host::prog_id::kAbilityLoad, [this, real] {
      auto loader = qx::testing::FakeObject::create("AbilityLoad");
      loader->method("GetAbilityByRepICMO", [this, real](automation::Args a) {
        ++loads_;
        Variant result = real->call("GetAbilityByRepICMO", a[0]);
        handBack(a[0].ref());
        return result;
      });
      loader->method("ShowAbilityOption", [this](automation::Args a) {
        handBack(a[0].ref());
        (answer_ = automation::HostDictionary::create())->set("OK", ok_);
        return Variant(answer_);
      });
      return ObjectRef(loader);
    });
    ASSERT_FALSE(open());
  }
  void TearDown() override {
    fresh_.reset();
    answer_.reset();
    ScheduleFixture::TearDown();
  }
  void handBack(Variant& arg) {
    if (back_ == Back::New) arg = Variant(fresh_ = automation::HostDictionary::create());
    if (back_ == Back::Nothing) arg = Variant::nothing();
  }

  Back back_ = Back::Same;
  Variant ok_;
  int loads_ = 0;
  automation::Ref<automation::HostDictionary> fresh_, answer_;
};

// The options dialog's argument is adopted or kept and only "OK" (not Null) reloads; the options
// the loader hands back never cost the loaded result; "refreshability" while shown reloads.
TEST_F(LoaderHandBackTest, WhatTheLoaderHandsBackBecomesTheOptions) {
  const std::tuple<const char*, Back, Variant, const char*, int> rows[] = {
      // tool, what the loader hands back, "OK", the options held afterwards, loads
      {"abilityOption", Back::Same, Variant(true), "answer", 1},
      {"abilityOption", Back::Same, Variant(false), "same", 0},
      {"abilityOption", Back::Same, Variant::null(), "same", 0},
      {"abilityOption", Back::New, Variant(false), "new", 0},
      {"abilityOption", Back::Nothing, Variant(false), "nothing", 0},
      {"refreshability", Back::Same, Variant(), "same", 1},
      {"refreshability", Back::New, Variant(), "new", 1},
      {"refreshability", Back::Nothing, Variant(), "nothing", 1},
  };
  for (const auto& [tool, back, ok, options, loads] : rows) {
    SCOPED_TRACE(std::string(tool) + " " + options + " " + describe(ok));
    back_ = Back::New;  // each row starts from options of its own
    ok_ = Variant(true);
    ASSERT_FALSE(bill_->clickTool("abilityOption").failure);
    const ObjectRef start = plugin().abilityOptions(), result = plugin().abilityResult();
    const int before = loads_;
    back_ = back;
    ok_ = ok;
    EXPECT_FALSE(bill_->clickTool(tool).failure);
    const ObjectRef held = plugin().abilityOptions();
    EXPECT_EQ(held == start                ? "same"
              : held == ObjectRef(answer_) ? "answer"
              : held == ObjectRef(fresh_)  ? "new"
              : held                       ? "other"
                                           : "nothing",
              std::string(options));
    EXPECT_EQ(loads_, before + loads);
    EXPECT_EQ(plugin().abilityResult() != result, loads == 1);
    (void)bill_->select(3, 1);  // another row refreshes from the kept result
    EXPECT_EQ(loads_, before + loads);
  }
}

TEST_F(ToolbarCommandsTest, ANullAccessAnswerIsNoRight) {
  host_->components().registerComponent(host::prog_id::kGLData, [] {
    auto gl = qx::testing::FakeObject::create("GLData");
    gl->method("AccessCheck", [](automation::Args) { return Variant::null(); });
    return ObjectRef(gl);
  });
  EXPECT_FALSE(click("wizard").failure);
  ASSERT_EQ(messages(), 1u);
  EXPECT_EQ(host_->platform().shownMessages()[0].prompt, "对不起,你没有相应权限.");
}

}  // namespace
}  // namespace qx::scheduler
