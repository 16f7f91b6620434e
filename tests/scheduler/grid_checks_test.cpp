// The line/item checks and F7 as the host components see them: the exact SQL and filter texts,
// the nested selection event during a refusal, the save check that cannot be carried out, and
// the browser's filter by department. The substitute host's components answer; a recorder in
// front of each writes down what the plug-in asked.
#include <gtest/gtest.h>

#include "automation/host_dictionary.h"
#include "schedule_fixture.h"
#include "sim/components/lines/item_line_info.h"
#include "sim/components/lines/line_browser.h"
#include "sim/db/sqlite_connection.h"

namespace qx::scheduler {
namespace {

using automation::Args;
using automation::CallKind;
using automation::DispId;
using automation::HostDictionary;
using automation::Variant;

// Passes every call on to `inner` and writes "Member|argument|..." into the log first.
class Recorder final : public automation::Object {
 public:
  Recorder(ObjectRef inner, std::shared_ptr<std::vector<std::string>> log)
      : inner_(std::move(inner)), log_(std::move(log)) {}
  DispId idOf(std::string_view name) const override { return inner_->idOf(name); }
  std::string nameOf(DispId id) const override { return inner_->nameOf(id); }
  std::string typeName() const override { return inner_->typeName(); }

 protected:
  Variant dispatch(DispId id, CallKind kind, Args args) override {
    std::string line = inner_->nameOf(id);
    for (const automation::Arg& a : args) line += "|" + describe(a.get());
    log_->push_back(line);
    return inner_->invoke(id, kind, args);
  }

 private:
  static std::string describe(const Variant& v) {
    if (const ObjectRef* o = v.objectIf()) {
      auto* d = dynamic_cast<HostDictionary*>(o->get());
      if (!d) return "(object)";
      std::string s;
      for (const auto& [k, value] : d->entries()) s += k + "=" + value.toString() + ";";
      return s;
    }
    return v.isNull() ? "(null)" : v.toString();
  }
  ObjectRef inner_;
  std::shared_ptr<std::vector<std::string>> log_;
};

class GridChecksTest : public ScheduleFixture {
 protected:
  void SetUp() override {
    ScheduleFixture::SetUp();
    auto db = host_->databaseShared();
    auto dialogs = host_->platform().dialogsShared();
    record(host::prog_id::kConnection,
           [db] { return ObjectRef(automation::makeObject<sim::SqliteConnection>(db)); });
    record(host::prog_id::kItemLineInfo,
           [db] { return ObjectRef(automation::makeObject<sim::ItemLineInfo>(db)); });
    record(host::prog_id::kLineBrowser, [db, dialogs] {
      return ObjectRef(automation::makeObject<sim::LineBrowser>(db, dialogs));
    });
  }
  void record(std::string_view progId, std::function<ObjectRef()> make) {
    host_->components().registerComponent(
        progId, [this, make] { return ObjectRef(automation::makeObject<Recorder>(make(), log_)); });
  }
  std::vector<std::string> calls(std::string_view member) const {
    std::vector<std::string> found;
    for (const std::string& l : *log_) {
      if (l.rfind(std::string(member) + "|", 0) == 0) found.push_back(l);
    }
    return found;
  }
  int32_t col(const char* key) { return sim::scheduleColumnIndex(key); }

  std::shared_ptr<std::vector<std::string>> log_ = std::make_shared<std::vector<std::string>>();
};

TEST_F(GridChecksTest, LeavingAMismatchedRowRunsTheExactTextsAndIgnoresTheNestedSelection) {
  ASSERT_FALSE(open());
  // Work order 5001 makes item 3001; line 1003 (work centre 202, department 101) may not.
  form().grid->cell(3, col("ColLineId")).value = Variant(1003);
  form().grid->cell(3, col("ColLine")).value = Variant("电饭煲装配线");
  ASSERT_FALSE(bill_->select(3, 1).failure);
  // Row 2 would fail too: the selection event that the refusal's SetSelect raises (leaving row
  // 2 for row 3) must check nothing.
  form().grid->cell(2, col("ColLineId")).value = Variant(1003);
  form().grid->cell(2, col("ColStatusId")).value = Variant(0);
  log_->clear();
  auto o = bill_->select(2, 1);
  EXPECT_TRUE(o.cancel);
  EXPECT_EQ(calls("Execute"),
            std::vector<std::string>{
                "Execute|select count(*) from t_resource where finterid = 1003 and FWorkCenterID "
                "in ( select FItemID from t_workcenter where FDeptID = 101)   "});
  ASSERT_EQ(calls("GetItemLine").size(), 1u);
  EXPECT_NE(calls("GetItemLine")[0].find("|Filter= t1.FItemID = 3001 AND t1.FLineID = 1003;|"),
            std::string::npos)
      << calls("GetItemLine")[0];
  // The refusal put the selection back (its nested event checked nothing) and cleared the line.
  EXPECT_EQ(form().grid->selRow(), 3);
  EXPECT_EQ(form().grid->cell(3, col("ColLineId")).value.toInt32(), 0);
  EXPECT_EQ(form().grid->cell(3, col("ColLine")).value.toString(), "");
  const auto& shown = host_->platform().shownMessages();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().prompt, "生产线[电饭煲装配线]和物料[1.01.001]不匹配,请检查!");
  EXPECT_EQ(shown.back().style, 64);
}

TEST_F(GridChecksTest, LeavingARowThatCannotBeCheckedIsRefusedWithTheReasonAndKeepsItsLine) {
  ASSERT_FALSE(open());
  form().grid->cell(3, col("ColLineId")).value = Variant(1003);
  form().grid->cell(3, col("ColLine")).value = Variant("电饭煲装配线");
  ASSERT_FALSE(bill_->select(3, 1).failure);
  host_->faults().add(std::string(host::prog_id::kItemLineInfo), "GetItemLine", 0);
  auto o = bill_->select(2, 1);
  host_->faults().clear();
  EXPECT_FALSE(o.failure);
  EXPECT_TRUE(o.cancel);
  EXPECT_EQ(form().grid->selRow(), 3);
  EXPECT_EQ(form().grid->cell(3, col("ColLineId")).value.toInt32(), 1003);
  EXPECT_EQ(form().grid->cell(3, col("ColLine")).value.toString(), "电饭煲装配线");
  const auto& shown = host_->platform().shownMessages();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.back().prompt.rfind("数据检查出错,原因：", 0), 0u) << shown.back().prompt;
  EXPECT_NE(shown.back().prompt.find("GetItemLine"), std::string::npos) << shown.back().prompt;
}

TEST_F(GridChecksTest, TheSaveCheckShowsTheFirstFailingRowOnlyAndRefusesWhenItCannotCheck) {
  ASSERT_FALSE(open());
  for (int32_t r : {2, 3}) {
    form().grid->cell(r, col("ColLineId")).value = Variant(1003 + r);  // 1005, 1006: dept 102
    form().grid->cell(r, col("ColStatusId")).value = Variant(0);
  }
  form().text("txtdeptid").text = "102";
  auto failing = bill_->checkData();
  EXPECT_TRUE(failing.cancel);
  EXPECT_EQ(calls("GetItemLine").size(), 1u);  // later rows are not examined
  size_t messages = host_->platform().shownMessages().size();

  // A check that cannot be carried out refuses the save with the reason.
  host_->faults().add(std::string(host::prog_id::kItemLineInfo),
                      std::string(sim::FaultInjector::kCreate), 0);
  auto broken = bill_->checkData();
  host_->faults().clear();
  EXPECT_FALSE(broken.failure);
  EXPECT_TRUE(broken.cancel);
  const auto& shown = host_->platform().shownMessages();
  ASSERT_EQ(shown.size(), messages + 1);
  EXPECT_EQ(shown.back().prompt.rfind("数据检查出错,原因：", 0), 0u) << shown.back().prompt;

  // Rows that take no part pass without a query.
  for (int32_t r = 2; r <= form().grid->rows(); ++r) {
    form().grid->cell(r, col("ColCancel")).value = Variant("Y");
  }
  log_->clear();
  EXPECT_FALSE(bill_->checkData().cancel);
  EXPECT_TRUE(calls("Execute").empty());
}

TEST_F(GridChecksTest, TheBrowserIsFilteredOnTheBillsDepartment) {
  ASSERT_FALSE(open());
  const struct {
    const char* dept;
    std::string filter;
  } rows[] = {
      {"101", "  FWorkCenterId in (select t1.FItemId from t_workCenter t1  where t1.FDeptId=101)"},
      {"0", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.dept);
    form().text("txtdeptid").text = r.dept;
    log_->clear();
    ASSERT_FALSE(bill_->select(2, col("ColLine")).failure);
    host_->platform().dialogs().queue("line", "cancel");
    auto o = bill_->keyDown(118);
    EXPECT_FALSE(o.cancel);  // closed without a choice: nothing written
    ASSERT_EQ(calls("Filter").size(), 1u);
    EXPECT_EQ(calls("Filter")[0], "Filter|BItemID=3001;EItemID=3001;LineFilter=" + r.filter +
                                      ";ItemLineFilter=" + r.filter + ";");
  }
}

TEST_F(GridChecksTest, F7WritesALineOnlyInAnEditableLineCellBelowTheHeader) {
  ASSERT_FALSE(open());
  const std::tuple<int32_t, const char*, bool, int16_t, bool> rows[] = {
      // row, column, locked, key, handled
      {3, "ColLine", false, 118, true},  {3, "ColQty", false, 118, false},
      {3, "ColLine", true, 118, false},  {1, "ColLine", false, 118, false},
      {3, "ColLine", false, 117, false},
  };
  for (const auto& [row, column, locked, key, handled] : rows) {
    SCOPED_TRACE(std::string(column) + " row " + std::to_string(row) + " key " +
                 std::to_string(key) + (locked ? " locked" : ""));
    form().grid->cell(row, col(column)).locked = locked;
    (void)bill_->select(row, col(column));
    host_->platform().dialogs().clearAnswers();
    host_->platform().dialogs().queue("line", "L-01");
    size_t browsed = host_->platform().dialogs().shownCount("line");
    EXPECT_EQ(bill_->keyDown(key).cancel, handled);
    EXPECT_EQ(host_->platform().dialogs().shownCount("line"), browsed + (handled ? 1 : 0));
    EXPECT_EQ(form().grid->cellText(row, col("ColLineId")) == "1001", handled);
    form().grid->cell(row, col(column)).locked = false;
    form().grid->cell(row, col("ColLineId")).value = Variant(1002);
  }
}

// Only qualifying rows are checked; a row that cannot be read refuses the save only when what
// could be read lets it qualify.
TEST_F(GridChecksTest, OnlyQualifyingRowsAreChecked) {
  ASSERT_FALSE(open());
  form().text("txtdeptid").text = "102";  // line 1005 does not fit the item there
  for (int32_t r = 3; r <= form().grid->rows(); ++r) {
    form().grid->cell(r, col("ColCancel")).value = Variant("Y");
  }
  const std::tuple<Variant, Variant, const char*, const char*, bool, bool> rows[] = {
      // line, status, cancelled, suspended, refused, checked
      {Variant(1005), Variant(0), "", "", true, true},
      {Variant(0), Variant(0), "", "", false, false},
      {Variant(1005), Variant(1), "", "", false, false},
      {Variant(1005), Variant(0), "Y", "", false, false},
      {Variant(1005), Variant(0), "", "Y", false, false},
      {Variant(1005), Variant(0), "y", "", true, true},
      {Variant(1005), Variant("abc"), "Y", "", false, false},
      {Variant(0), Variant("abc"), "", "", false, false},
      {Variant(1005), Variant("abc"), "", "", true, false},
  };
  for (const auto& [line, status, cancelled, suspended, refused, checked] : rows) {
    SCOPED_TRACE(describe(line) + " " + describe(status) + " " + cancelled + suspended);
    form().grid->cell(2, col("ColLineId")).value = line;
    form().grid->cell(2, col("ColStatusId")).value = status;
    form().grid->cell(2, col("ColCancel")).value = Variant(cancelled);
    form().grid->cell(2, col("ColSuspend")).value = Variant(suspended);
    log_->clear();
    // OnCheckData itself: the bill engine's own checks come before it on a save.
    Variant cancel(false);
    std::vector<automation::Arg> args{automation::Arg::byRef(cancel)};
    EXPECT_NO_THROW(bill_->events()->raise("OnCheckData", automation::Args(args)));
    EXPECT_EQ(cancel.toBool(), refused);
    EXPECT_EQ(calls("Execute").size(), checked ? 1u : 0u);
  }
}

}  // namespace
}  // namespace qx::scheduler
