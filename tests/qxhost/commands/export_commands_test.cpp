// Exports of the capacity ledger and the report as CSV files, and what a failed export leaves.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "qxhost/workbench_fixture.h"

namespace qx::qxhost {
namespace {

class ExportTest : public WorkbenchFixture {
 protected:
  static std::string read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

TEST_F(ExportTest, LedgerAndReportAsCsv) {
  std::filesystem::path ledger = home_ / "ledger.csv", report = home_ / "report.csv",
                        window = home_ / "window.csv";
  int failed = -1;
  std::string out =
      run("register\nlogin language EN\nschedule showability on\n"
          "schedule open 5001\nschedule select 2 ColQty\n"
          "export --csv " +
              ledger.string() +
              " ledger\n"
              "schedule window 2026-12-14 2\nexport --csv " +
              window.string() +
              " ledger\n"
              "schedule click viewload\n"
              "export --csv " +
              report.string() + " report\n",
          &failed);
  EXPECT_EQ(failed, 0) << out;
  std::string csv = read(ledger);
  // A byte-order mark, the two header lines, then the line's six measure rows, one CSV line
  // each; numbers plain (no thousands separator, so nothing is quoted).
  EXPECT_EQ(csv.rfind("\xEF\xBB\xBFProduction line,,,,Capacity/Load,2026-12-01,", 0), 0u) << csv;
  EXPECT_EQ(csv.find('"'), std::string::npos) << csv;
  EXPECT_NE(csv.find("\r\nCode,Name,Work centre,Productivity,,,"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\r\nL-02,"), std::string::npos) << csv;
  EXPECT_NE(csv.find(",-10.67,"), std::string::npos) << csv;
  size_t lines = 0;
  for (size_t at = 0; (at = csv.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 8u) << csv;
  EXPECT_NE(out.find("wrote " + ledger.string() + ": 8 lines"), std::string::npos) << out;
  // The dates of schedule window, as the ledger shows them.
  EXPECT_EQ(read(window).rfind(
                "\xEF\xBB\xBFProduction line,,,,Capacity/Load,2026-12-14,2026-12-15\r\n", 0),
            0u)
      << read(window);
  std::string rows = read(report);
  EXPECT_EQ(rows.rfind("\xEF\xBB\xBF"
                       "Item,Department,",
                       0),
            0u)
      << rows.substr(0, 200);
  EXPECT_NE(rows.find(",L-02,"), std::string::npos);
}

// The capacity loader's recordset as it comes: its field names, one row per line and date,
// figures unrounded.
TEST_F(ExportTest, CapacityResultAsCsv) {
  std::filesystem::path file = home_ / "capacity.csv";
  int failed = -1;
  std::string out = run("export --csv " + file.string() + " ability 5001 FSchedule=1\n", &failed);
  EXPECT_EQ(failed, 0) << out;
  EXPECT_TRUE(has(out, "已写入 " + file.string() + ": 121 行")) << out;
  std::istringstream csv(read(file));
  std::string line;
  std::getline(csv, line);
  EXPECT_EQ(line,
            "\xEF\xBB\xBF"
            "FLineID,FDate,FLineNumber,FLineName,FWorkCenter,FProductivity,FQtyDecimal,"
            "FAbility,"
            "FLoad,FDiff,FDiffRate,FQty,FAuxQty\r");
  // Only released rows load: line 1002 carries 6012 alone on 2026-12-14, 12 hours on 8.
  bool found = false;
  while (std::getline(csv, line)) {
    if (line.rfind("1002,2026-12-14,L-02,", 0) != 0) continue;
    found = true;
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, ',');) cells.push_back(cell);
    ASSERT_EQ(cells.size(), 13u) << line;
    double ability = std::stod(cells[7]), load = std::stod(cells[8]), diff = std::stod(cells[9]);
    EXPECT_DOUBLE_EQ(ability, 8);
    EXPECT_NEAR(load, 12, 1e-9);
    EXPECT_DOUBLE_EQ(diff, ability - load);
  }
  EXPECT_TRUE(found);
}

TEST_F(ExportTest, BadExportsSayWhatIsWrongAndWriteNothing) {
  std::filesystem::path file = home_ / "x.csv";
  struct Case {
    std::string script, message;
  } cases[] = {
      {"export --csv " + file.string() + " ledger\n", "no schedule bill is open"},
      {"export\n", "export --csv FILE ledger|report|ability"},
      {"export --html " + file.string() + " ledger\n", "export --csv FILE ledger|report|ability"},
      {"schedule open 5001\nexport --csv " + file.string() + " grid\n",
       "export what: ledger, report or ability, not grid"},
      {"export --csv " + file.string() + " ability 4711\n", "work order 4711 is unknown"},
      {"export --csv " + file.string() + " ability 5001 FNoPlanICMO=yes\n",
       "expected FSchedule=0|1"},
      {"schedule open 5001\nexport --csv " + file.string() + " report\n",
       "no report has been shown yet"},
      {"schedule showability on\nschedule open 5001\nschedule select 2 ColQty\n"
       "export --csv " +
           (home_ / "no" / "such" / "x.csv").string() + " ledger\n",
       "cannot write"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    int failed = -1;
    std::string out = run("register\n" + c.script + "echo still here\n", &failed);
    EXPECT_EQ(failed, 1) << out;
    EXPECT_NE(out.find(c.message), std::string::npos) << out;
    EXPECT_NE(out.find("still here"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(std::filesystem::exists(home_ / "no"));
  }
}

}  // namespace
}  // namespace qx::qxhost
