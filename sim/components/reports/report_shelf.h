// What the host's report viewer has shown: each report as a table, told to an observer (the
// workbench prints it) and, when asked, written to a CSV or HTML file.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/components/account/login.h"

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
  // The login whose language the HTML file's captions follow (none: Chinese).
  void setLogin(std::shared_ptr<const Login> login) { login_ = std::move(login); }

 private:
  std::vector<ReportTable> shown_;
  std::function<void(const ReportTable&)> observer_;
  std::filesystem::path output_;
  std::shared_ptr<const Login> login_;
};

// The report as CSV (RFC 4180 quoting; a UTF-8 byte-order mark first, numbers without
// thousands separators, dates yyyy-mm-dd, as a spreadsheet reads them; the field names as the
// header), and as an HTML page with one table: the columns' captions in Chinese or English (the
// field name beside them), figures right-aligned, rows whose load exceeds their capacity marked.
std::string reportCsv(const ReportTable& r);
std::string reportHtml(const ReportTable& r, bool chinese = true);

}  // namespace qx::sim
