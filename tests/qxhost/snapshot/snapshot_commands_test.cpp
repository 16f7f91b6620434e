// The schedule form's HTML snapshot: what the page says in each state of the form, what a failed
// snapshot leaves behind, and how the ledger's documents are read. How a browser draws the page
// is checked by snapshot_chromium.py.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "qxhost/workbench_fixture.h"
#include "tools/qxhost/snapshot/html_snapshot.h"

namespace qx::qxhost {
namespace {

class SnapshotTest : public WorkbenchFixture {
 protected:
  std::string page() const {
    std::ifstream in(home_ / "s.html", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(home_)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(SnapshotTest, ThePageSaysWhatTheFormShowsInTheLoginsLanguage) {
  struct Case {
    std::string script;
    std::vector<std::string> present, absent;
  } cases[] = {
      // Chinese by default; a bill without a row with a line has no chart and says why.
      {"schedule showability on\nschedule open 5005\n",
       {"<html lang=\"zh-CN\">", "排产单 WO-2701-001 的快照", "未选中带生产线的行",
        "<th rowspan=\"2\">2027-01-04</th>"},
       {"<svg"}},
      {"schedule showability on\nschedule open 5006\nschedule select 2 ColQty\n",
       {"生产线 L-01 ", "的能力与负荷", ">能力<", ">负荷<", ">超负荷<", "class=\"over\"",
        "<tr class=\"selected\"><td>1</td>", "<td>B2612-05</td>"},
       {"id=\"no-chart\""}},
      // The capacity area hidden: neither ledger nor chart.
      {"login language EN\nschedule showability off\nschedule open 5006\n"
       "schedule select 2 ColQty\n",
       {"<html lang=\"en\">", "The capacity area is not shown"},
       {"<svg", "<table class=\"ledger\">"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    int failed = -1;
    std::string out = run(
        "register\n" + c.script + "snapshot --html " + (home_ / "s.html").string() + "\n", &failed);
    ASSERT_EQ(failed, 0) << out;
    std::string html = page();
    for (const auto& text : c.present) EXPECT_NE(html.find(text), std::string::npos) << text;
    for (const auto& text : c.absent) EXPECT_EQ(html.find(text), std::string::npos) << text;
    for (const char* fetch : {"src=", "href=", "url(", "@import"}) {
      EXPECT_EQ(html.find(fetch), std::string::npos) << "nothing outside the page: " << fetch;
    }
  }
}

TEST_F(SnapshotTest, AFailedSnapshotLeavesNothingAndAnExistingFileAsItWas) {
  std::string good = "snapshot --html " + (home_ / "s.html").string() + "\n";
  int failed = -1;
  std::string out = run(
      "register\nschedule showability on\nschedule open 5006\nschedule select 2 ColQty\n" + good,
      &failed);
  ASSERT_EQ(failed, 0) << out;
  std::string before = page();
  std::vector<std::string> listing = files();
  // A folder in the file's place, a folder that does not exist, one that cannot be written.
  std::filesystem::create_directory(home_ / "taken.html");
  out = run("schedule open 5006\nsnapshot --html " + (home_ / "taken.html").string() +
                "\nsnapshot --html " + (home_ / "no" / "s.html").string() +
                "\nsnapshot --html /proc/s.html\nsnapshot --html " + (home_ / "s.html").string() +
                " again\n",
            &failed);
  EXPECT_EQ(failed, 4) << out;
  std::filesystem::remove(home_ / "taken.html");
  EXPECT_EQ(files(), listing);
  EXPECT_EQ(page(), before);
}

TEST_F(SnapshotTest, ExpectRefusedFailsWhenTheCommandIsCarriedOut) {
  int failed = -1;
  std::string out = run("expect-refused echo \"fine\"\nexpect-refused snapshot\n", &failed);
  EXPECT_EQ(failed, 1) << out;
  EXPECT_NE(out.find("\"echo \"fine\"\" was carried out, not refused"), std::string::npos) << out;
}

TEST(SnapshotLedger, DocumentsAndTheirFigures) {
  // Two lines, the second with a hidden column: a document starts where the first shown cell
  // is filled, its further rows are continued or blank there, figures may have separators.
  LedgerPicture p;
  p.hidden = {false, false, false, true, false};
  p.rightAligned.assign(5, false);
  p.shown.headerRows = 2;
  p.shown.headings = {{0, 1, "Line", false},
                      {2, 2, "Measure", true},
                      {3, 3, "2026-12-01", true},
                      {4, 4, "2026-12-02", true}};
  auto row = [](std::vector<std::string> cells, bool continued = false) {
    return sim::LedgerGrid::ShownRow{std::move(cells), 0, continued};
  };
  p.shown.rows = {row({"L-01", "One", "cap", "9", "8.00"}), row({"", "", "load", "9", "1,120.50"}),
                  row({"", "", "diff", "", "x"}),           row({"L-02", "Two", "cap", "", ""}),
                  row({"L-02", "", "load", "", "3"}, true), row({"L-03", "", "cap", "", "1"})};
  std::vector<LineLoad> lines = lineLoads(p);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].line, "L-01 One");
  EXPECT_EQ(lines[0].rowCount, 3u);
  ASSERT_EQ(lines[0].days.size(), 1u);  // the hidden date is not shown
  EXPECT_EQ(lines[0].days[0].date, "2026-12-02");
  EXPECT_EQ(lines[0].days[0].column, 4u);
  EXPECT_DOUBLE_EQ(lines[0].days[0].load, 1120.5);
  EXPECT_TRUE(lines[0].days[0].over());
  EXPECT_EQ(lines[1].firstRow, 3u);
  EXPECT_EQ(lines[1].rowCount, 2u);  // the lone row of L-03 is no document
  EXPECT_DOUBLE_EQ(lines[1].days[0].capacity, 0);
  EXPECT_DOUBLE_EQ(lines[1].days[0].load, 3);
}

}  // namespace
}  // namespace qx::qxhost
