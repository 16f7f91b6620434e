// The line browser and the item-line service, as the schedule plug-in calls them, over a
// small plant database.
#include "sim/components/lines/line_browser.h"

#include <gtest/gtest.h>

#include "automation/host_dictionary.h"
#include "sim/components/lines/item_line_fixture.h"
#include "sim/components/lines/item_line_info.h"

namespace qx::sim {
namespace {

using automation::byRef;
using automation::HostDictionary;
using automation::ObjectRef;
using automation::Variant;

class LineBrowserTest : public ItemLineFixture {
 protected:
  void TearDown() override {
    dialogs_.reset();
    ItemLineFixture::TearDown();
  }
  // A browser prepared as the plug-in prepares it; Show with the answers queued before.
  Variant pick(int dept, int item, std::vector<std::string> answers) {
    for (auto& a : answers) dialogs_->queue(dialog_kind::kLine, a);
    auto browser = automation::makeObject<LineBrowser>(database_, dialogs_);
    auto options = HostDictionary::create();
    options->set("BItemID", Variant(item));
    options->set("EItemID", Variant(item));
    options->set("LineFilter", Variant(dept ? departmentFilter(dept) : std::string()));
    options->set("ItemLineFilter", Variant(dept ? departmentFilter(dept) : std::string()));
    browser->put("ShowType", int16_t{0});
    browser->put("ShowMode", int16_t{1});
    browser->putRef("Filter", Variant(ObjectRef(options)));
    browser->call("Show");
    return browser->get("Result");
  }
  static Variant field(const Variant& result, const char* name) {
    return result.toObject()->callId(automation::kDispIdValue, automation::CallKind::Get, name);
  }

  std::shared_ptr<DialogScript> dialogs_ = std::make_shared<DialogScript>();
};

TEST_F(LineBrowserTest, TheUserPicksAnOfferedLineByNumberOrNameOrCancels) {
  struct Case {
    int dept, item;
    std::vector<std::string> answers;
    int32_t lineId;  // 0: no line chosen
    const char* recorded;
  } cases[] = {
      {1, 8, {"a-2"}, 102, "a-2"},
      {0, 8, {"Gamma"}, 103, "Gamma"},
      {1, 8, {"cancel"}, 0, "cancel"},
      {1, 8, {}, 0, "cancel (no answer queued)"},
      {1, 8, {"B-1"}, 0, "cancel (B-1 is not among the lines shown)"},
      {1, 7, {"Forbidden"}, 0, "cancel (Forbidden is not among the lines shown)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.recorded);
    Variant result = pick(c.dept, c.item, c.answers);
    if (c.lineId == 0) {
      EXPECT_TRUE(result.isNothing());
    } else {
      EXPECT_EQ(field(result, "FLineID"), Variant(c.lineId));
      EXPECT_EQ(field(result, "flinename"), Variant(c.lineId == 102 ? "Beta" : "Gamma"));
      EXPECT_EQ(field(result, "FWorkCenterID"), Variant(c.lineId == 102 ? 11 : 12));
      EXPECT_THROW(field(result, "FNoSuchField"), automation::Error);
    }
    ASSERT_FALSE(dialogs_->shown().empty());
    EXPECT_EQ(dialogs_->shown().back().answer, c.recorded);
  }
  EXPECT_EQ(dialogs_->shown()[0].content, "ShowType 0, ShowMode 1; lines: A-2 Beta;");
}

TEST_F(LineBrowserTest, ABadFilterIsAClearErrorOfShowAndNothingIsChosen) {
  dialogs_->queue(dialog_kind::kLine, "A-1");
  auto browser = automation::makeObject<LineBrowser>(database_, dialogs_);
  auto options = HostDictionary::create();
  options->set("LineFilter", Variant("FWorkCenterId in (select"));
  browser->putRef("Filter", Variant(ObjectRef(options)));
  try {
    browser->call("Show");
    FAIL() << "expected an error";
  } catch (const automation::Error& e) {
    EXPECT_NE(e.description().find("The line browser cannot search with its filter"),
              std::string::npos);
    EXPECT_EQ(e.source(), "QxEIItemLine.Browser");
  }
  EXPECT_TRUE(browser->get("Result").isNothing());
  EXPECT_EQ(dialogs_->pending(dialog_kind::kLine), 1u);  // the dialog never opened
  EXPECT_THROW(browser->put("ShowType", 40000), automation::Error);
}

TEST_F(LineBrowserTest, TheItemLineServiceAnswersRelationsOrNothingWithAReason) {
  struct Case {
    const char* filter;
    int32_t rows;  // -1: Nothing
  } cases[] = {
      {" t1.FItemID = 8 AND t1.FLineID = 103", 1},
      {" t1.FItemID = 7 AND t1.FLineID = 103", 0},
      {"", 5},
      {" t1.FItemID = ", -1},
      {"1 = 1); DELETE FROM t_eiItemLine; SELECT (1", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter);
    auto service = automation::makeObject<ItemLineInfo>(database_);
    auto options = HostDictionary::create();
    options->set("Filter", Variant(c.filter));
    Variant optionsArg{ObjectRef(options)}, message("");
    Variant rs = service->call("GetItemLine", Variant("props"), byRef(optionsArg), byRef(message));
    if (c.rows < 0) {
      EXPECT_TRUE(rs.isNothing());
      EXPECT_NE(message.toString().find("cannot be read with the filter"), std::string::npos)
          << message.toString();
    } else {
      EXPECT_EQ(rs.toObject()->get("RecordCount"), Variant(c.rows));
      EXPECT_EQ(message, Variant(""));
    }
  }
  EXPECT_EQ(count("SELECT count(*) FROM t_eiItemLine"), 5);
  // No options at all.
  auto service = automation::makeObject<ItemLineInfo>(database_);
  Variant none = Variant::nothing(), message;
  EXPECT_TRUE(service->call("GetItemLine", Variant(""), byRef(none), byRef(message)).isNothing());
  EXPECT_FALSE(message.toString().empty());
}

}  // namespace
}  // namespace qx::sim
