// Reports as CSV files that a spreadsheet opens as they are shown.
#include "sim/components/reports/report_shelf.h"

#include <gtest/gtest.h>

namespace qx::sim {
namespace {

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
