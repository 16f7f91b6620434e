// A planner's session in the workbench: decompose work order 5005 through the wizard and its
// dialog, check the bill, look at the remaining-capacity report (also as an HTML file), change
// the options, and meet the wizard's access check.
#include <gtest/gtest.h>

#include <fstream>

#include "qxhost/workbench_fixture.h"

namespace qx::qxhost {
namespace {

class PlanCommandsTest : public WorkbenchFixture {
 protected:
  void SetUp() override {
    WorkbenchFixture::SetUp();
    sim::HostOptions o = host_->options();
    o.today = "2026-12-08";
    host_.reset();
    host_ = std::make_unique<sim::SimHost>(o);
  }
};

TEST_F(PlanCommandsTest, APlannerDecomposesAWorkOrderAndLooksAtTheReport) {
  std::filesystem::path html = home_ / "report902.html";
  int failed = -1;
  std::string out =
      run("register\n"
          "login language EN\n"
          "schedule showability on\n"
          "schedule open 5005\n"
          "dialog decompose accept\n"
          "schedule click wizard\n"
          "schedule check\n"
          "schedule save\n"
          "schedule select 1 1\n"
          "report-output " +
              html.string() +
              "\n"
              "schedule click viewload\n"
              "dialog options ok FSchedule=1\n"
              "schedule click abilityOption\n"
              "rights demo revoke 1022 10 131072\n"
              "schedule click wizard\n"
              "later echo pending\n"
              "schedule click refreshability\n"
              "schedule close\n"
              "schedule settings\n",
          &failed);
  EXPECT_EQ(failed, 0) << out;
  EXPECT_TRUE(has(out, "plan decomposition of WO-2701-001: undecomposed 8000")) << out;
  EXPECT_TRUE(has(out, "\"WO-2701-001_1\"")) << out;
  EXPECT_TRUE(has(out, "txtNoQty \"8000\" -> \"0\"")) << out;
  EXPECT_FALSE(has(out, "left over")) << out;
  EXPECT_TRUE(has(out, "check: bCancel = False")) << out;
  // Saved, the decomposed row loads line L-06: 8000 over 7 working days at 80 an hour.
  EXPECT_TRUE(has(out, "saved: 0 rows updated, 1 added, 0 removed")) << out;
  EXPECT_TRUE(has(out, "| Load (h)                      |     14.29  |")) << out;
  EXPECT_TRUE(has(out, "report 902: Remaining capacity 2027-01-04 .. 2027-02-26")) << out;
  EXPECT_TRUE(has(out, "内胆冲压线")) << out;
  EXPECT_TRUE(has(out, "    answered: ok FSchedule=1")) << out;
  EXPECT_TRUE(has(out, "Sorry, you do not have the required permission.")) << out;
  EXPECT_TRUE(has(out, "  (pending event) echo pending")) << out;
  EXPECT_TRUE(has(out, "FSchedule = 1")) << out;
  EXPECT_TRUE(has(out,
                  "click refreshability: bCancel = False\n  events raised: OnBarClick\n  the "
                  "plug-in changed nothing"))
      << out;
  std::ifstream f(html);
  std::string page((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  // The report in the login's language: captions, the field name on hover, figures right.
  EXPECT_TRUE(
      has(page, "<th title=\"Schedulable qty (common unit)\">Schedulable qty (common unit)</th>"))
      << page.substr(std::min(page.find("<th"), page.size()), 900);
  EXPECT_TRUE(has(page, "<td class=\"r\">14.29</td>")) << page.substr(0, 300);
}

}  // namespace
}  // namespace qx::qxhost
