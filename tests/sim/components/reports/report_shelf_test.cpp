// The report viewer's HTML file: captions in the login's language, figures right-aligned, rows
// whose load exceeds their capacity marked, the report's texts escaped.
#include "sim/components/reports/report_shelf.h"

#include <gtest/gtest.h>

namespace qx::sim {
namespace {

size_t count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(ReportHtml, CaptionsFiguresAndOverloadedRows) {
  ReportTable r;
  r.title = "remaining capacity <2027>";
  r.columns = {"FLineNumber", "FDate", "FAbility", "FLoad", "FNote"};
  r.rows = {{"L-01", "2027-01-04", "8.00", "8.00", "a&b"},
            {"L-01", "2027-01-05", "8.00", "8.01", ""},
            {"L-02", "2027-01-05", "0.00", "1,120.50", "-"}};
  std::string zh = reportHtml(r, true), en = reportHtml(r, false);
  EXPECT_NE(zh.find("<th title=\"FAbility\">能力(小时)</th>"), std::string::npos) << zh;
  EXPECT_NE(en.find("<th title=\"FLoad\">Load (h)</th>"), std::string::npos) << en;
  EXPECT_NE(en.find("<th title=\"FNote\">FNote</th>"), std::string::npos) << en;
  EXPECT_EQ(count(en, "<tr class=\"over\""), 2u) << en;
  EXPECT_NE(en.find("3 rows, overloaded: 2"), std::string::npos) << en;
  EXPECT_EQ(count(en, "<td class=\"r\">"), 6u) << en;  // dates, codes and texts stay left
  EXPECT_NE(en.find("<td>a&amp;b</td>"), std::string::npos) << en;
  EXPECT_NE(en.find("remaining capacity &lt;2027&gt;"), std::string::npos) << en;
}

}  // namespace
}  // namespace qx::sim
