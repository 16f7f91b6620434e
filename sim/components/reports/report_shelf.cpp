#include "sim/components/reports/report_shelf.h"

#include <fstream>

#include "automation/error.h"
#include "automation/text.h"

namespace qx::sim {

namespace {

std::string csvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string q = "\"";
  for (char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

std::string html(const std::string& s) {
  std::string r;
  for (char c : s) {
    switch (c) {
      case '<':
        r += "&lt;";
        break;
      case '>':
        r += "&gt;";
        break;
      case '&':
        r += "&amp;";
        break;
      case '"':
        r += "&quot;";
        break;
      default:
        r += c;
    }
  }
  return r;
}

}  // namespace

std::string reportCsv(const ReportTable& r) {
  std::string out;
  auto line = [&](const std::vector<std::string>& cells) {
    for (size_t i = 0; i < cells.size(); ++i) out += (i ? "," : "") + csvField(cells[i]);
    out += "\r\n";
  };
  line(r.columns);
  for (const auto& row : r.rows) line(row);
  return out;
}

std::string reportHtml(const ReportTable& r) {
  std::string out = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + html(r.title) +
                    "</title></head><body>\n<h1>" + html(r.title) +
                    "</h1>\n<table border=\"1\">\n<tr>";
  for (const auto& c : r.columns) out += "<th>" + html(c) + "</th>";
  out += "</tr>\n";
  for (const auto& row : r.rows) {
    out += "<tr>";
    for (const auto& c : row) out += "<td>" + html(c) + "</td>";
    out += "</tr>\n";
  }
  return out + "</table>\n</body></html>\n";
}

void ReportShelf::show(ReportTable report) {
  shown_.push_back(std::move(report));
  const ReportTable& r = shown_.back();
  if (observer_) observer_(r);
  if (output_.empty()) return;
  std::string ext = automation::asciiLower(output_.extension().string());
  std::ofstream f(output_, std::ios::binary | std::ios::trunc);
  f << (ext == ".html" || ext == ".htm" ? reportHtml(r) : reportCsv(r));
  if (!f) {
    throw automation::Error::internal("cannot write the report to " + output_.string(),
                                      "qxVRpt.View");
  }
}

}  // namespace qx::sim
