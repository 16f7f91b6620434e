// What the host's report viewer has shown: each report as a table, told to an observer (the
// workbench prints it) and, when asked, written to a CSV or HTML file.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace qx::sim {

struct ReportTable {
  int32_t id = 0;
  std::string title;
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
};

class ReportShelf {
 public:
  // Records the report, tells the observer, writes the output file if one is set.
  void show(ReportTable report);
  const std::vector<ReportTable>& shown() const noexcept { return shown_; }
  void onShown(std::function<void(const ReportTable&)> observer) {
    observer_ = std::move(observer);
  }
  // ".html"/".htm": an HTML table; anything else CSV; empty: no file.
  void setOutput(std::filesystem::path file) { output_ = std::move(file); }
  const std::filesystem::path& output() const noexcept { return output_; }

 private:
  std::vector<ReportTable> shown_;
  std::function<void(const ReportTable&)> observer_;
  std::filesystem::path output_;
};

// The report as CSV (RFC 4180 quoting) and as an HTML page with one table.
std::string reportCsv(const ReportTable& r);
std::string reportHtml(const ReportTable& r);

}  // namespace qx::sim
