// The capacity ledger under the schedule grid: the capacity result loaded once per bill
// display, the line's six measure rows, the header with one column per date, and the ledger
// control's rows as the binding builds them. The loader is a fake that hands out a prepared
// result and counts its calls.
#include <gtest/gtest.h>

#include <functional>

#include "automation/conversions.h"
#include "automation/host_dictionary.h"
#include "automation/host_vector.h"
#include "automation/recordset.h"
#include "automation/text.h"
#include "schedule_fixture.h"
#include "sim/components/string_table.h"

namespace qx::scheduler {
namespace {

using automation::Args;
using automation::FieldDef;
using automation::HostDictionary;
using automation::HostVector;
using automation::Recordset;
using automation::Ref;
using automation::Variant;
namespace ft = automation::field_type;

// The capacity loader: GetAbilityByRepICMO answers `result` and records the options.
class FakeAbilityLoad final : public automation::Dispatch<FakeAbilityLoad> {
 public:
  static constexpr std::string_view kTypeName = "FakeAbilityLoad";
  static std::span<const automation::Member<FakeAbilityLoad>> members() {
    static const automation::Member<FakeAbilityLoad> m[] = {
        {"GetAbilityByRepICMO", 1, &FakeAbilityLoad::mGet}};
    return m;
  }
  struct Shared {
    std::function<ObjectRef()> result;
    int calls = 0;
    Variant repIcmo;
  };
  explicit FakeAbilityLoad(std::shared_ptr<Shared> s) : s_(std::move(s)) {}

 private:
  Variant mGet(Args a) {
    ++s_->calls;
    s_->repIcmo = a[0].get().toObject()->get("Value", "RepICMO");
    return Variant(s_->result());
  }
  std::shared_ptr<Shared> s_;
};

// A capacity result: `days` dated rows per line, figures that tell line, measure and day apart.
Ref<Recordset> capacityResult(const std::vector<std::pair<int32_t, int>>& lines) {
  auto rs = Recordset::create();
  for (const char* f :
       {"FLineID", "FDate", "FLineNumber", "FLineName", "FWorkCenter", "FProductivity",
        "FQtyDecimal", "FAbility", "FLoad", "FDiff", "FDiffRate", "FQty", "FAuxQty"}) {
    rs->appendField(FieldDef{f, ft::kVariant});
  }
  rs->open();
  for (auto [line, days] : lines) {
    for (int d = 1; d <= days; ++d) {
      double base = line % 100 * 100 + d;
      rs->appendRow({Variant(line), Variant(automation::makeDate(2027, 1, d)),
                     Variant("L-" + std::to_string(line % 100)),
                     Variant("线" + std::to_string(line)), Variant("WC"), Variant(60.0),
                     Variant(int32_t{3}), Variant(base + 0.1), Variant(base + 0.2),
                     Variant(-(base + 0.3)), Variant(base + 0.4), Variant(base + 0.5),
                     Variant(base + 0.6)});
    }
  }
  return rs;
}

class AbilityLedgerTest : public ScheduleFixture {
 protected:
  void SetUp() override {
    ScheduleFixture::SetUp();
    loader_->result = [] { return ObjectRef(capacityResult({{1001, 12}, {1002, 3}})); };
    host_->components().registerComponent(host::prog_id::kAbilityLoad, [this] {
      return ObjectRef(automation::makeObject<FakeAbilityLoad>(loader_));
    });
    host_->registry().write(settingsKeyPath(0), "ShowAbility", Variant(true));
  }
  void TearDown() override {
    loader_->result = nullptr;
    ScheduleFixture::TearDown();
  }
  // The ledger control's text of a row (1, 2: header lines; 3 on: the measure rows).
  std::string ledgerRow(int32_t r) { return form().ldgAbility->texts().at(r - 1); }
  std::vector<std::string> headerNames() {
    std::vector<std::string> names;
    automation::forEachItem(plugin().abilityHeader(), [&](const Variant& c) {
      names.push_back(c.toObject()->get("Value", "FColName").toString());
    });
    return names;
  }
  Recordset& table() { return dynamic_cast<Recordset&>(*plugin().lineAbility()); }
  void select(int32_t row) {
    auto o = bill_->select(row, 1);
    ASSERT_FALSE(o.failure) << o.failure->description();
  }

  std::shared_ptr<FakeAbilityLoad::Shared> loader_ = std::make_shared<FakeAbilityLoad::Shared>();
};

TEST_F(AbilityLedgerTest, TheSelectedLinesTwelveDatesAndSixMeasureRows) {
  ASSERT_FALSE(open());  // rows of work order 5001: line 1001, then 1002
  EXPECT_EQ(loader_->calls, 1);
  EXPECT_EQ(loader_->repIcmo.type(), automation::VarType::Double);
  EXPECT_EQ(loader_->repIcmo.toDouble(), 5001);
  EXPECT_EQ(plugin().abilityLineId(), 1001);

  std::vector<std::string> names = headerNames();
  ASSERT_EQ(names.size(), 5u + 12u);
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 5),
            (std::vector<std::string>{"FLineNumber", "FLineName", "FWorkCenter", "FProductivity",
                                      "FTextAbility"}));
  EXPECT_EQ(names[5 + 8], "F9");
  EXPECT_EQ(names[5 + 9], "F10");
  // A date column: the date's text and "$" on top, type "2" as text, 16-bit shown, 32-bit merge.
  ObjectRef tenth = dynamic_cast<HostVector&>(*plugin().abilityHeader()).items()[14].toObject();
  EXPECT_EQ(tenth->get("Value", "FColCaption").toString(), "2027-01-10$");
  EXPECT_EQ(tenth->get("Value", "FColType").type(), automation::VarType::String);
  EXPECT_EQ(tenth->get("Value", "FColType").toString(), "2");
  EXPECT_EQ(tenth->get("Value", "FVisible").type(), automation::VarType::Integer);
  EXPECT_EQ(tenth->get("Value", "FMergerType").type(), automation::VarType::Long);

  // Six rows; rows 2 to 6 carry no productivity; hours with 2 decimals, quantities with 3.
  Recordset& t = table();
  ASSERT_EQ(t.recordCount(), 6);
  EXPECT_EQ(t.fieldCount(), 8u + 12u);
  const double measure[] = {0.1, 0.2, -0.3, 0.4, 0.5, 0.6};
  t.moveFirst();
  for (int i = 0; i < 6; ++i, t.moveNext()) {
    SCOPED_TRACE("measure row " + std::to_string(i + 1));
    EXPECT_EQ(t.value(*t.findColumn("FInterID")).toInt32(), 1);
    EXPECT_EQ(t.value(*t.findColumn("FSumSort")).toInt32(), 101);
    EXPECT_EQ(t.value(*t.findColumn("FQtyDecimal")).toDouble(), i < 4 ? 2 : 3);
    EXPECT_EQ(t.value(*t.findColumn("FProductivity")).isNull(), i > 0);
    double sign = measure[i] < 0 ? -1 : 1;
    EXPECT_EQ(t.value(*t.findColumn("F2")).toDouble(), sign * (102 + std::abs(measure[i])));
  }

  // The ledger control shows one document: the first row full, the others without the line.
  EXPECT_EQ(ledgerRow(3).substr(0, ledgerRow(3).find("|", ledgerRow(3).find("|") + 1)),
            "L-1|线1001");
  EXPECT_EQ(ledgerRow(4).rfind("||||负荷(小时)|", 0), 0u) << ledgerRow(4);
  EXPECT_EQ(form().ldgAbility->rows(), 8);
}

TEST_F(AbilityLedgerTest, LineSwitchesRefilterTheOneResultAndTheSameLineRebuildsNothing) {
  ASSERT_FALSE(open());
  ObjectRef first = plugin().lineAbility();
  select(3);  // line 1002
  EXPECT_EQ(plugin().abilityLineId(), 1002);
  EXPECT_EQ(headerNames().size(), 5u + 3u);
  EXPECT_EQ(table().fieldCount(), 8u + 3u);
  ObjectRef second = plugin().lineAbility();
  EXPECT_NE(second.get(), first.get());
  select(2);  // line 1001 again
  ObjectRef third = plugin().lineAbility();
  select(2);  // the same line: the rows stay, the header and the binding are refreshed
  EXPECT_EQ(headerNames().size(), 5u + 12u);
  EXPECT_EQ(third.get(), plugin().lineAbility().get());
  // The same dates hand the column list on again, unless another holder changed it.
  ObjectRef header = plugin().abilityHeader();
  select(2);
  EXPECT_EQ(header.get(), plugin().abilityHeader().get());
  dynamic_cast<HostVector&>(*header).add(Variant());
  select(2);
  EXPECT_NE(header.get(), plugin().abilityHeader().get());
  EXPECT_EQ(headerNames().size(), 5u + 12u);
  EXPECT_EQ(loader_->calls, 1);
  // A new display of the data loads again.
  bill_->events()->raise("OnShowDataEnd", {});
  EXPECT_EQ(loader_->calls, 2);
}

TEST_F(AbilityLedgerTest, RowsWithoutALineOrWithoutRowsShowTheFiveColumnsOnly) {
  ASSERT_FALSE(open());
  const struct {
    const char* what;
    Variant cell;
  } rows[] = {{"no line", Variant(int32_t{0})},
              {"a text", Variant("abc")},
              {"a line without rows", Variant(int32_t{1999})},
              {"empty", Variant("")}};
  int32_t col = plugin().columns().toObject()->get("Value", "ColLineId").toInt32();
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    form().grid->cell(3, col).value = r.cell;
    select(2);  // line 1001: its twelve dates
    EXPECT_EQ(headerNames().size(), 5u + 12u);
    select(3);
    EXPECT_EQ(headerNames().size(), 5u);
    EXPECT_EQ(form().ldgAbility->rows(), 2);  // the two header lines only
  }
}

TEST_F(AbilityLedgerTest, NoWorkOrderOnTheBillCallsNoLoader) {
  for (const char* id : {"", "0", " 0.0 abc"}) {
    SCOPED_TRACE(std::string("txtInterId \"") + id + "\"");
    loader_->calls = 0;
    bill_ = std::make_unique<sim::ScheduleBill>(*host_, ObjectRef(widgets::LedgerData::create()));
    bill_->load(5001);
    form().text("txtInterId").text = id;
    ASSERT_FALSE(bill_->attachPlugin(host::prog_id::kEIRepScheduler));
    EXPECT_EQ(loader_->calls, 0);
    EXPECT_FALSE(plugin().abilityResult());
    EXPECT_EQ(form().ldgAbility->rows(), 2);
    close();
  }
}

TEST_F(AbilityLedgerTest, EveryTranslationOfTheMeasureCaptionsFitsItsField) {
  for (const char* language : {"CHS", "EN"}) {
    auto file =
        sim::StringTable::fileFor(host_->options().dataDir / "strings", "QxEIGroup", language);
    sim::StringTable table = sim::StringTable::load(file);
    ASSERT_GT(table.size(), 0u) << language;
    for (const char* caption : {"能力(小时)", "负荷(小时)", "差异(小时)", "差异率(％)",
                                "可安排生产数(基本单位)", "可安排生产数(常用单位)"}) {
      SCOPED_TRACE(std::string(language) + " " + caption);
      const std::string* t = table.find(caption);
      ASSERT_TRUE(t);
      EXPECT_LE(automation::utf8Length(*t), 40u);
    }
  }
}

}  // namespace
}  // namespace qx::scheduler
