#include "sim/components/reports/report_shelf.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>

#include "automation/error.h"
#include "automation/text.h"
#include "sim/controls/text_table.h"

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

constexpr const char* kReportStyle =
    "body{margin:16px;font:13px/1.4 \"Noto Sans CJK SC\",\"WenQuanYi Micro Hei\",sans-serif;"
    "color:#222}h1{font-size:17px;margin:0 0 4px}.meta{color:#555;margin:0 0 8px}"
    ".box{overflow:auto;max-height:calc(100vh - 90px);border:1px solid #9a9a9a}"
    "table{border-collapse:separate;border-spacing:0}"
    "th,td{border-right:1px solid #d2d2d2;border-bottom:1px solid #d2d2d2;padding:1px 6px;"
    "white-space:nowrap}th{background:#ece9e2;font-weight:normal;position:sticky;top:0}"
    "td.r{text-align:right;font-variant-numeric:tabular-nums}"
    "tr.over td{background:#fde2e2}tr.over td:first-child{box-shadow:inset 4px 0 #d62728}";

// The captions of the capacity fields, as the ledger has them.
struct Caption {
  const char *field, *chinese, *english;
};
constexpr Caption kCaptions[] = {
    {"FItemNumber", "物料代码", "Item"},
    {"FDeptNumber", "部门代码", "Department"},
    {"FWorkCenter", "工作中心", "Work centre"},
    {"FLineNumber", "生产线代码", "Line"},
    {"FLineName", "生产线名称", "Line name"},
    {"FDate", "日期", "Date"},
    {"FAbility", "能力(小时)", "Capacity (h)"},
    {"FLoad", "负荷(小时)", "Load (h)"},
    {"FDiff", "差异(小时)", "Difference (h)"},
    {"FDiffRate", "差异率(％)", "Difference rate (%)"},
    {"FQty", "可安排生产数(基本单位)", "Schedulable (base unit)"},
    {"FAuxQty", "可安排生产数(常用单位)", "Schedulable (common unit)"},
};

std::string caption(const std::string& field, bool chinese) {
  for (const Caption& c : kCaptions) {
    if (field == c.field) return chinese ? c.chinese : c.english;
  }
  return field;
}

// Whether a report column holds the field: named by the field or by one of its captions (the
// host gives its reports captions in the login's language).
bool isColumn(const std::string& column, const std::string& field) {
  if (column == field) return true;
  for (const Caption& c : kCaptions) {
    if (field == c.field) return column == c.chinese || column == c.english;
  }
  return false;
}

// Hundredths of a figure as shown; nothing for another text.
std::optional<long long> hundredths(const std::string& text) {
  if (!isFigure(text)) return std::nullopt;
  std::string digits;
  for (char c : text) {
    if (c != ',') digits += c;
  }
  return std::llround(std::strtod(digits.c_str(), nullptr) * 100);
}

bool overloaded(const std::vector<std::string>& row, size_t capacity, size_t load) {
  if (capacity >= row.size() || load >= row.size()) return false;
  auto c = hundredths(row[capacity]), l = hundredths(row[load]);
  return c && l && *l > *c;
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

std::string reportHtml(const ReportTable& r, bool chinese) {
  size_t capacity = SIZE_MAX, load = SIZE_MAX;
  for (size_t c = 0; c < r.columns.size(); ++c) {
    if (isColumn(r.columns[c], "FAbility")) capacity = c;
    if (isColumn(r.columns[c], "FLoad")) load = c;
  }
  std::string out = "<!DOCTYPE html>\n<html lang=\"" + std::string(chinese ? "zh-CN" : "en") +
                    "\"><head><meta charset=\"utf-8\"><title>" + htmlEscape(r.title) +
                    "</title>\n<style>" + kReportStyle + "</style></head><body>\n<h1>" +
                    htmlEscape(r.title) + "</h1>\n<p class=\"meta\">" +
                    std::to_string(r.rows.size()) + (chinese ? " 行" : " rows");
  size_t overRows = 0;
  for (const auto& row : r.rows) overRows += overloaded(row, capacity, load) ? 1 : 0;
  if (capacity != SIZE_MAX && load != SIZE_MAX) {
    out += std::string(chinese ? "，超负荷 " : ", overloaded: ") + std::to_string(overRows);
  }
  out += "</p>\n<div class=\"box\"><table>\n<thead><tr>";
  for (const auto& c : r.columns) {
    out += "<th title=\"" + htmlEscape(c) + "\">" + htmlEscape(caption(c, chinese)) + "</th>";
  }
  out += "</tr></thead>\n<tbody>\n";
  for (const auto& row : r.rows) {
    bool over = overloaded(row, capacity, load);
    out += over ? "<tr class=\"over\" title=\"" + std::string(chinese ? "超负荷" : "Overloaded") +
                      "\">"
                : std::string("<tr>");
    for (const auto& c : row)
      out += (isFigure(c) ? "<td class=\"r\">" : "<td>") + htmlEscape(c) + "</td>";
    out += "</tr>\n";
  }
  return out + "</tbody></table></div>\n</body></html>\n";
}

void ReportShelf::show(ReportTable report) {
  shown_.push_back(std::move(report));
  const ReportTable& r = shown_.back();
  if (observer_) observer_(r);
  if (output_.empty()) return;
  std::string ext = automation::asciiLower(output_.extension().string());
  std::ofstream f(output_, std::ios::binary | std::ios::trunc);
  std::string language = login_ ? automation::asciiUpper(login_->entry("Language")) : "";
  bool chinese = language.empty() || language.rfind("CH", 0) == 0;
  f << (ext == ".html" || ext == ".htm" ? reportHtml(r, chinese) : reportCsv(r));
  if (!f) {
    throw automation::Error::internal("cannot write the report to " + output_.string(),
                                      "qxVRpt.View");
  }
}

}  // namespace qx::sim
