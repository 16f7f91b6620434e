// The report viewer's files: CSV that a spreadsheet opens as shown; HTML with captions in the
// login's language, figures right-aligned, overloaded rows marked, the report's texts escaped.
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

TEST(ReportCsv, ByteOrderMarkPlainNumbersIsoDatesQuotedText) {
  struct Row {
    const char* cell;
    const char* field;
  } rows[] = {
      {"1,280", "1280"},
      {"-12,345.50", "-12345.50"},
      {"1,234,567", "1234567"},
      {"1280.5", "1280.5"},
      {"2026/12/01", "2026-12-01"},
      {"2026-12-01", "2026-12-01"},
      {"1,28", "\"1,28\""},  // no number: a text with a comma
      {"12,3456", "\"12,3456\""},
      {"1,280.5x", "\"1,280.5x\""},
      {",280", "\",280\""},
      {"1234,567", "\"1234,567\""},
      {"L-01, L-02", "\"L-01, L-02\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"2026/1/01", "2026/1/01"},
      {"", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.cell);
    ReportTable t;
    t.columns = {"a", "b"};
    t.rows = {{r.cell, "x"}};
    EXPECT_EQ(reportCsv(t), std::string("\xEF\xBB\xBF") + "a,b\r\n" + r.field + ",x\r\n");
  }
}

}  // namespace
}  // namespace qx::sim
