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

bool digits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// What a spreadsheet reads as the value shown: "1,280.50" as 1280.50 (a quoted "1,280" is text
// to it), "2026/12/01" as the ISO date 2026-12-01.
std::string plainCell(const std::string& s) {
  if (s.size() == 10 && s[4] == '/' && s[7] == '/' && digits(std::string_view(s).substr(0, 4)) &&
      digits(std::string_view(s).substr(5, 2)) && digits(std::string_view(s).substr(8, 2))) {
    return s.substr(0, 4) + "-" + s.substr(5, 2) + "-" + s.substr(8, 2);
  }
  std::string_view v(s);
  size_t sign = !v.empty() && v[0] == '-' ? 1 : 0;
  size_t point = v.find('.');
  std::string_view whole = v.substr(sign, point == std::string_view::npos ? v.npos : point - sign);
  if (whole.find(',') == std::string_view::npos) return s;
  if (point != std::string_view::npos && !digits(v.substr(point + 1))) return s;
  // Groups of three after the first group of one to three.
  size_t first = whole.find(',');
  if (first == 0 || first > 3) return s;
  for (size_t at = first; at < whole.size(); at += 4) {
    if (whole[at] != ',' || !digits(whole.substr(at + 1, 3)) ||
        whole.substr(at + 1, 3).size() != 3) {
      return s;
    }
  }
  if (!digits(whole.substr(0, first))) return s;
  std::string plain;
  for (char c : s) {
    if (c != ',') plain += c;
  }
  return plain;
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
  // The byte-order mark makes a spreadsheet read the file as UTF-8 (Chinese stays Chinese).
  std::string out = "\xEF\xBB\xBF";
  auto line = [&](const std::vector<std::string>& cells) {
    for (size_t i = 0; i < cells.size(); ++i) out += (i ? "," : "") + csvField(plainCell(cells[i]));
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
