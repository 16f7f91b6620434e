// Binding to the schedule form, failing set-up steps, and the settings round trip.
#include <gtest/gtest.h>

#include "automation/host_dictionary.h"
#include "scheduler/schedule_fixture.h"
#include "sim/bills/event_source.h"

namespace qx::scheduler {
namespace {

using automation::Variant;

class SchedulerInitTest : public ScheduleFixture {};

TEST_F(SchedulerInitTest, InitBindsTheFormShowsTheButtonsAndReadsDefaults) {
  ASSERT_FALSE(open());
  EXPECT_TRUE(plugin().subscribed());
  EXPECT_EQ(bill_->events()->operationLog(), (std::vector<int>{1, 2}));
  for (const char* key : {"wizard", "showability", "abilityOption", "refreshability", "viewload"}) {
    SCOPED_TRACE(key);
    EXPECT_TRUE(form().menuBar->find(key)->visible);
  }
  // No stored settings: three options 0 (16-bit), the capacity area hidden.
  auto options = automation::refCast<automation::HostDictionary>(plugin().abilityOptions());
  ASSERT_TRUE(options);
  for (const char* key : {"FSchedule", "CalcRemainAbility", "FNoPlanICMO"}) {
    EXPECT_EQ(options->valueOr(key, Variant(99)), Variant(int16_t{0})) << key;
  }
  EXPECT_FALSE(plugin().showAbility());
  EXPECT_FALSE(plugin().hasSplitter());
  EXPECT_FALSE(form().picSplit->visible);
  EXPECT_FALSE(form().ldgAbility->visible);
  auto columns = automation::refCast<automation::HostDictionary>(plugin().columns().objectOrNull());
  ASSERT_TRUE(columns);
  EXPECT_EQ(columns->valueOr("ColLineId", Variant()),
            Variant(sim::scheduleColumnIndex("ColLineId")));
}

TEST_F(SchedulerInitTest, SavedShowAbilityShowsTheAreaWithAHorizontalSplitter) {
  host_->registry().write(settingsKeyPath(0), "ShowAbility", Variant(true));
  ASSERT_FALSE(open());
  EXPECT_TRUE(plugin().showAbility());
  EXPECT_TRUE(form().menuBar->find("showability")->checked);
  EXPECT_TRUE(plugin().hasSplitter());
  EXPECT_TRUE(form().picSplit->visible);
  EXPECT_TRUE(form().ldgAbility->visible);
  EXPECT_EQ(form().picSplit->backColor, static_cast<int32_t>(0x8000000Fu));
  EXPECT_EQ(form().picSplit->borderStyle, 0);
  EXPECT_EQ(form().picSplit->mousePointer, 7);  // the orientation set after Initialise
}

struct EditionRow {
  const char* code;
  const char* path;
};

TEST_F(SchedulerInitTest, SettingsRoundTripUnderTheEditionsKey) {
  const EditionRow rows[] = {
      {"ZRA", "HKEY_CURRENT_USER\\SOFTWARE\\VELTRAN\\ZRA\\EIRepSchedule"},
      {"zrb", "HKEY_CURRENT_USER\\SOFTWARE\\VELTRAN\\EIRepSchedule\\ZRB\\EIRepSchedule"},
      {"ZRC", "HKEY_CURRENT_USER\\SOFTWARE\\VELTRAN\\EIRepSchedule"},
      {"XYZ", "HKEY_CURRENT_USER\\SOFTWARE\\VELTRAN\\ZRA\\EIRepSchedule"},
  };
  for (const EditionRow& r : rows) {
    SCOPED_TRACE(r.code);
    host_->registry().deleteKey("HKEY_CURRENT_USER\\SOFTWARE");
    host_->login().setEntry("QxVersion", r.code);
    host_->registry().write(r.path, "FSchedule", Variant(int16_t{1}));
    host_->registry().write(r.path, "CalcRemainAbility", Variant(int16_t{2}));
    host_->registry().write(r.path, "ShowAbility", Variant(true));
    ASSERT_FALSE(open());
    auto options = automation::refCast<automation::HostDictionary>(plugin().abilityOptions());
    EXPECT_EQ(options->valueOr("FSchedule", Variant()), Variant(int16_t{1}));
    EXPECT_EQ(options->valueOr("CalcRemainAbility", Variant()), Variant(int16_t{2}));
    EXPECT_TRUE(plugin().showAbility());
    close();  // saved once, at the end, under the same key
    EXPECT_EQ(host_->registry().read(r.path, "FSchedule"), Variant(int16_t{1}));
    EXPECT_EQ(host_->registry().read(r.path, "CalcRemainAbility"), Variant(int16_t{2}));
    EXPECT_EQ(host_->registry().read(r.path, "FNoPlanICMO"), Variant(int16_t{0}));
    EXPECT_EQ(host_->registry().read(r.path, "ShowAbility"), Variant(true));
    EXPECT_EQ(host_->registry().keysUnder("HKEY_CURRENT_USER\\SOFTWARE").size(), 1u);
  }
}

// Each set-up step that fails ends Init with its error; what was bound before stays bound.
TEST_F(SchedulerInitTest, AFailingStepEndsInitAndKeepsWhatWasBound) {
  struct Row {
    const char* identifier;
    const char* member;
    bool formBound;
  };
  const Row rows[] = {
      {"BillEvents", "GetForm", false},   {"frmRepScheduler", "grdDetail", true},
      {"BillEvents", "GetColumns", true}, {"frmRepScheduler", "MenuBar", true},
      {"MenuBar", "Tools", true},         {"RegHelper", "ReadValue", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.identifier) + "." + r.member);
    host_->faults().clear();
    host_->faults().add(r.identifier, r.member, 1, automation::Error(777, "refused"));
    bill_ = std::make_unique<sim::ScheduleBill>(
        *host_, automation::ObjectRef(widgets::LedgerData::create()));
    bill_->load(5001);
    auto plugin = EIRepScheduler::create();
    try {
      plugin->Init(Variant(automation::ObjectRef(bill_->events())));
      FAIL() << "Init should fail";
    } catch (const automation::Error& e) {
      EXPECT_EQ(e.number(), 777);
    }
    host_->faults().clear();
    EXPECT_TRUE(plugin->subscribed());
    EXPECT_EQ(form().form->sinkCount(), r.formBound ? 2u : 1u);  // the host's own sink is one
    plugin.reset();
    bill_.reset();
  }
}

TEST_F(SchedulerInitTest, TheFormAndColumnSlotsGoAsObjectVariables) {
  // The event source declares both slots as object references: a typed host refuses an Empty
  // variant there (a type mismatch through COM), so Init passes Nothing.
  ASSERT_FALSE(open());
  auto source = sim::EventSource::create("BillEvents");
  std::vector<std::string> slots;
  source->setOperations([&](int position, automation::Args a) {
    if (!a.empty()) {
      const Variant& slot = a[0].get();
      bool nothing = slot.type() == automation::VarType::Object && slot.isNothing();
      slots.push_back(nothing ? "Nothing" : "type " + std::to_string(int(slot.type())));
    }
    if (position == host::bill_op::kGetForm) {
      a[0].set(Variant(automation::ObjectRef(form().form)));
    } else if (position == host::bill_op::kGetColumns) {
      a[0].set(Variant(automation::ObjectRef(automation::HostDictionary::create())));
    }
    return Variant();
  });
  auto plugin = EIRepScheduler::create();
  plugin->Init(Variant(automation::ObjectRef(source)));
  EXPECT_EQ(slots, (std::vector<std::string>{"Nothing", "Nothing"}));
}

TEST_F(SchedulerInitTest, AFormWithoutTheLedgerBindingNamesTheMissingMember) {
  auto failure = open(false);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->number(), 438);
  EXPECT_NE(failure->description().find("m_ldgData"), std::string::npos);
}

}  // namespace
}  // namespace qx::scheduler
