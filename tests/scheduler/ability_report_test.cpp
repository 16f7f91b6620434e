// The remaining-capacity report's side of the bill: the filter's keys in order, the department
// number in the profile's form, dates in the report's notation, the success rule, the busy
// pointer restored after a failing computation, and a work-order id that is no number
// reaching neither the query nor the database.
#include <gtest/gtest.h>

#include "automation/host_dictionary.h"
#include "schedule_fixture.h"
#include "scheduler/bill_seq.h"
#include "sim/db/sqlite_query.h"
#include "support/fake_object.h"

namespace qx::scheduler {
namespace {

using automation::HostDictionary;
using automation::Variant;
using qx::testing::FakeObject;

class AbilityReportTest : public ScheduleFixture {
 protected:
  void SetUp() override {
    ScheduleFixture::SetUp();
    host_->components().registerComponent(host::prog_id::kRpt902, [this] {
      auto r = FakeObject::create("Rpt902");
      r->prop("ExtFirter", Variant()).prop("RptID", Variant()).prop("Filter", Variant());
      r->method("GetReportData", [this, raw = r.get()](automation::Args) {
        filter_ = raw->value("Filter");
        pointerDuring_ = host_->platform().mousePointer();
        if (fail_) throw automation::Error(5, "report failed", "Rpt902");
        return Variant();
      });
      r->method("Result", [this](automation::Args a) {
        return a[0].get().toString() == "OK" ? ok_ : Variant(errorText_);
      });
      return ObjectRef(r);
    });
    host_->components().registerComponent(host::prog_id::kReportView, [this] {
      auto v = FakeObject::create("View");
      v->method("Show", [this](automation::Args a) {
        viewed_.push_back(a[1].get());
        return Variant();
      });
      return ObjectRef(v);
    });
    ASSERT_FALSE(open());
  }
  void TearDown() override {
    filter_ = Variant();
    ScheduleFixture::TearDown();
  }
  std::optional<automation::Error> viewload() { return bill_->clickTool("viewload").failure; }
  Variant filterValue(const char* key) { return filter_.toObject()->get("Value", key).value(); }
  void setProfile(const char* value) {
    sim::SqliteDb db = host_->database().open();
    sim::SqliteQuery(db, "DELETE FROM t_SystemProfile WHERE FCategory = 'IC'").run();
    if (value) {
      sim::SqliteQuery q(db,
                         "INSERT INTO t_SystemProfile VALUES ('IC', 'UseShortNumber', ?1, NULL)");
      q.bind(1, std::string_view(value)).run();
    }
  }

  Variant filter_, ok_{true};
  std::string errorText_;
  bool fail_ = false;
  int32_t pointerDuring_ = -1;
  std::vector<Variant> viewed_;
};

TEST_F(AbilityReportTest, TheFilterHasItsThirteenKeysInOrder) {
  form().text("txtPlanBDate").text = "2026/12/01";
  plugin().abilityOptions()->put("Value", "CalcRemainAbility", Variant(int16_t{1}));
  ASSERT_FALSE(viewload());
  auto* d = dynamic_cast<HostDictionary*>(filter_.toObject().get());
  ASSERT_NE(d, nullptr);
  std::vector<std::string> keys;
  for (const auto& [k, v] : d->entries()) keys.push_back(k);
  EXPECT_EQ(keys, (std::vector<std::string>{"DtpBDate", "DtpEDate", "BLine", "ELine", "BItem",
                                            "EItem", "BWC", "EWC", "BDept", "EDept", "FSchedule",
                                            "FNoPlanICMO", "FRemain"}));
  EXPECT_EQ(filterValue("DtpBDate"), Variant("2026-12-01"));
  EXPECT_EQ(filterValue("DtpEDate"), Variant("2027-01-29"));
  EXPECT_EQ(filterValue("BItem"), Variant("1.01.001"));
  EXPECT_EQ(filterValue("FRemain").toInt32(), 1);
  EXPECT_EQ(filterValue("FSchedule").toInt32(), 0);
  ASSERT_EQ(viewed_.size(), 1u);
  EXPECT_EQ(viewed_[0], Variant(int16_t{902}));
}

TEST_F(AbilityReportTest, TheDepartmentNumberFollowsTheProfile) {
  struct Case {
    const char* profile;  // null: no entry
    bool component;
    const char* dept;
  } cases[] = {
      {"0", true, "01.01"}, {"1", true, "01"}, {nullptr, true, "01"}, {"1", false, "01.01"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.profile ? c.profile : "none") + (c.component ? "" : " no profile"));
    setProfile(c.profile);
    if (!c.component) host_->components().unregisterComponent(host::prog_id::kSystemProfile);
    ASSERT_FALSE(viewload());
    EXPECT_EQ(filterValue("BDept"), Variant(c.dept));
    EXPECT_EQ(filterValue("EDept"), Variant(c.dept));
  }
}

TEST_F(AbilityReportTest, OnlyTrueOrNullIsSuccess) {
  struct Case {
    Variant ok;
    const char* error;
    bool viewed;
    bool message;
  } cases[] = {
      {Variant(true), "", true, false},        {Variant::null(), "x", true, false},
      {Variant(int32_t{-1}), "", true, false}, {Variant(false), "bad filter", false, true},
      {Variant(int32_t{0}), "", false, false}, {Variant(int32_t{1}), "one", false, true},
      {Variant(), "", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(automation::describe(c.ok) + " " + c.error);
    viewed_.clear();
    host_->platform().clearShownMessages();
    ok_ = c.ok;
    errorText_ = c.error;
    ASSERT_FALSE(viewload());
    EXPECT_EQ(viewed_.size(), c.viewed ? 1u : 0u);
    ASSERT_EQ(host_->platform().shownMessages().size(), c.message ? 1u : 0u);
    if (c.message) {
      EXPECT_EQ(host_->platform().shownMessages()[0].prompt, c.error);
    }
  }
}

TEST_F(AbilityReportTest, TheBusyPointerIsRestoredWhenTheReportFails) {
  fail_ = true;
  std::optional<automation::Error> failure = viewload();
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->number(), 5);
  EXPECT_EQ(pointerDuring_, 11);
  EXPECT_EQ(host_->platform().mousePointer(), 0);
  EXPECT_TRUE(viewed_.empty());
}

TEST_F(AbilityReportTest, AWorkOrderTextIsNeverSql) {
  auto count = [&](const char* sql) {
    sim::SqliteDb db = host_->database().open();
    sim::SqliteQuery q(db, sql);
    return q.step() ? q.integer(0) : -1;
  };
  const int64_t orders = count("SELECT count(*) FROM icmo");
  for (const char* text : {"5001 or 1=1", "5001; drop table icmo", "5001; delete from icmo",
                           "0 union select FNumber from t_department"}) {
    SCOPED_TRACE(text);
    form().text("txtInterId").text = text;
    ASSERT_FALSE(viewload());
    EXPECT_EQ(count("SELECT count(*) FROM icmo"), orders);
    EXPECT_EQ(count("SELECT count(*) FROM t_department"), 2);
  }
  EXPECT_EQ(departmentQuery(5001, true),
            " select dtp.FNumber as  FDeptNumber  from  icmo v1 \r\n"
            " inner join t_department dtp on  v1.FWorkShop = dtp.FItemID \r\n"
            " where v1.FInterID = 5001");
  EXPECT_NE(departmentQuery(1, false).find("dtp.FShortNumber"), std::string::npos);
}

}  // namespace
}  // namespace qx::scheduler
