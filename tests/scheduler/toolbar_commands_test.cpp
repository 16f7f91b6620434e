// The tool bar's commands on the sample work order 5001 with the substitute host's components:
// exact button names, the capacity area switched twice, a refresh while hidden, the options
// dialog confirmed and cancelled, the wizard's access check on every click.
#include <gtest/gtest.h>

#include "automation/host_dictionary.h"
#include "host/event_interfaces.h"
#include "schedule_fixture.h"
#include "services/sys_objects.h"
#include "sim/controls/tool_bar.h"

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

}  // namespace
}  // namespace qx::scheduler
