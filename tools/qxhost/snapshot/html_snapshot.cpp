// The snapshot page: header fields, schedule grid, splitter bar and capacity ledger laid out as
// the form has them, with the chart of the selected line above them.
#include "tools/qxhost/snapshot/html_snapshot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

#include "sim/controls/text_table.h"

namespace qx::qxhost {

namespace {

constexpr double kTwipsPerPixel = 15;
constexpr int kTitleHeight = 40, kChartGap = 8;

const char* const kStyle =
    R"(body{margin:0;font-family:"Noto Sans CJK SC","WenQuanYi Micro Hei",sans-serif;font-size:13px;color:#222;background:#fff}
h1{margin:0;height:40px;line-height:40px;padding:0 16px;font-size:18px;background:#eef2f7;overflow:hidden;white-space:nowrap}
h2{font-size:14px;margin:0 0 6px}
section{margin:12px 16px}
.chart-room{margin:0}
.no-chart{margin:12px 16px;padding:12px;border:1px dashed #999;color:#555}
table{border-collapse:collapse}
th,td{border:1px solid #b8b8b8;padding:2px 6px;white-space:nowrap}
th{background:#ece9e2;font-weight:normal}
td.r{text-align:right}
table.fields th{text-align:left}
.control{overflow:auto;border:1px solid #888;box-sizing:border-box}
tr.selected td{background:#cde3ff}
#splitter{background:#9a9a9a;cursor:ns-resize}
th.over,td.over{color:#fff;background:#d62728 !important}
)";

struct Texts {
  const char *lang, *title, *fields, *form, *ledger, *splitter, *noLine, *noArea, *noCapacity,
      *over, *capacity, *load;
};
constexpr Texts kChinese{"zh-CN",
                         "排产单 {} 的快照",
                         "表头",
                         "排产计划",
                         "能力台账",
                         "分隔条",
                         "未选中带生产线的行：能力台账中没有可画的能力和负荷。",
                         "能力区未显示（工具栏“显示产能”），没有能力台账和能力图。",
                         "所选生产线在这些日期没有能力也没有负荷。",
                         "超负荷",
                         "能力",
                         "负荷"};
constexpr Texts kEnglish{"en",
                         "Snapshot of the schedule bill {}",
                         "Header",
                         "Schedule",
                         "Capacity ledger",
                         "Splitter bar",
                         "No row with a line is selected: the capacity ledger has no capacity and "
                         "load to chart.",
                         "The capacity area is not shown (tool showability): no capacity ledger "
                         "and no chart.",
                         "The selected line has neither capacity nor load on these dates.",
                         "Overloaded",
                         "Capacity",
                         "Load"};

std::string px(double twips) {
  return std::to_string(std::max(0L, std::lround(twips / kTwipsPerPixel))) + "px";
}

std::string fixed2(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

// The toolkit's colour (red in the low byte) as CSS; system colours as the usual face colours.
std::string cssColour(int32_t colour) {
  if (colour < 0) return (colour & 0xFF) == 0x10 ? "#a0a0a0" : "#f0f0f0";
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                (colour >> 16) & 0xFF);
  return buf;
}

std::string cell(const char* tag, const std::string& text, const std::string& attributes = {}) {
  return std::string("<") + tag + attributes + ">" + htmlEscape(text) + "</" + tag + ">";
}

void addFields(std::string& s, const SnapshotPage& page, const Texts& t) {
  s += "<section id=\"header-fields\"><h2>" + std::string(t.fields) +
       "</h2>\n<table class=\"fields\">\n";
  for (const auto& [name, text] : page.fields) {
    s += "<tr>" + cell("th", name) + cell("td", text) + "</tr>\n";
  }
  s += "</table></section>\n";
}

void addGrid(std::string& s, const SnapshotPage& page) {
  const auto& r = page.gridRect;
  s += "<div id=\"grid\" class=\"control\" style=\"height:" + px(r.height) +
       "\" title=\"grdDetail\">\n<table class=\"grid\">\n";
  for (size_t row = 0; row < page.grid.size(); ++row) {
    if (row == 0) s += "<thead>";
    if (row == 1) s += "<tbody>\n";
    bool selected = static_cast<int>(row) == page.selectedRow;
    s += selected ? "<tr class=\"selected\">" : "<tr>";
    for (const std::string& text : page.grid[row]) s += cell(row == 0 ? "th" : "td", text);
    s += row == 0 ? "</tr></thead>\n" : "</tr>\n";
  }
  if (page.grid.size() > 1) s += "</tbody>\n";
  s += "</table></div>\n";
}

void addLedger(std::string& s, const LedgerPicture& ledger, const Texts& t) {
  const auto& shown = ledger.shown;
  auto visible = [&](size_t c) { return c >= ledger.hidden.size() || !ledger.hidden[c]; };
  // Overloaded dates: their header cells and the load cells of the documents concerned.
  std::set<size_t> overColumns;
  std::set<std::pair<size_t, size_t>> overCells;  // (row, column)
  std::map<size_t, std::string> overTitles;
  std::vector<bool> continued(shown.rows.size(), false);
  for (const LineLoad& line : lineLoads(ledger)) {
    for (size_t r = line.firstRow + 1; r < line.firstRow + line.rowCount; ++r) continued[r] = true;
    for (const DayLoad& d : line.days) {
      if (!d.over()) continue;
      overColumns.insert(d.column);
      overCells.insert({line.firstRow + 1, d.column});
      std::string title = d.date + " " + t.over + ": " + t.load + " " + fixed2(d.load) + " > " +
                          t.capacity + " " + fixed2(d.capacity);
      std::string& all = overTitles[d.column];
      all += (all.empty() ? "" : "; ") + title;
    }
  }
  auto overAttributes = [&](size_t c, const char* classes) {
    return std::string(" class=\"") + classes + "over\" title=\"" + htmlEscape(overTitles[c]) +
           "\"";
  };

  s += "<table class=\"ledger\">\n<thead>\n";
  std::vector<bool> underOneLevel(ledger.hidden.size(), false);
  if (shown.headerRows >= 1) {
    s += "<tr class=\"header1\">";
    for (const auto& h : shown.headings) {
      size_t span = 0;
      for (size_t c = h.first; c <= h.last; ++c) span += visible(c) ? 1 : 0;
      for (size_t c = h.first; c <= h.last && c < underOneLevel.size(); ++c) {
        underOneLevel[c] = h.oneLevel;
      }
      if (span == 0) continue;
      std::string attributes;
      if (span > 1) attributes += " colspan=\"" + std::to_string(span) + "\"";
      if (h.oneLevel && shown.headerRows >= 2) attributes += " rowspan=\"2\"";
      if (h.first == h.last && overColumns.count(h.first))
        attributes += overAttributes(h.first, "");
      s += cell("th", h.caption, attributes);
    }
    s += "</tr>\n";
  }
  if (shown.headerRows >= 2) {
    s += "<tr class=\"header2\">";
    for (size_t c = 0; c < shown.second.size(); ++c) {
      if (!visible(c) || (c < underOneLevel.size() && underOneLevel[c])) continue;
      s += cell("th", shown.second[c]);
    }
    s += "</tr>\n";
  }
  s += "</thead>\n<tbody>\n";
  for (size_t r = 0; r < shown.rows.size(); ++r) {
    const auto& row = shown.rows[r];
    s += "<tr" + std::string(row.continued || continued[r] ? " class=\"continued\"" : "") +
         " style=\"background:" + cssColour(row.colour) + "\" data-colour=\"" +
         htmlEscape(sim::colourName(row.colour)) + "\">";
    for (size_t c = 0; c < row.cells.size(); ++c) {
      if (!visible(c)) continue;
      std::string attributes;
      bool right = c < ledger.rightAligned.size() && ledger.rightAligned[c];
      if (overCells.count({r, c})) {
        attributes = overAttributes(c, right ? "r " : "");
      } else if (right) {
        attributes = " class=\"r\"";
      }
      s += cell("td", row.cells[c], attributes);
    }
    s += "</tr>\n";
  }
  s += "</tbody></table>\n";
}

}  // namespace

std::string htmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string snapshotHtml(const SnapshotPage& page) {
  const Texts& t = page.chinese ? kChinese : kEnglish;
  std::string title = t.title;
  title.replace(title.find("{}"), 2, page.workOrder);

  std::string s = "<!DOCTYPE html>\n<html lang=\"" + std::string(t.lang) +
                  "\">\n<head>\n<meta charset=\"utf-8\">\n" + cell("title", title) + "\n<style>\n" +
                  kStyle + "</style>\n</head>\n<body>\n" + cell("h1", title) + "\n";

  // The chart of the selected line (the ledger follows the selected row, so its first line), at
  // a fixed place under the title; else why there is none.
  const bool area = page.ledgerRect.visible;
  std::vector<LineLoad> lines =
      area && page.ledger ? lineLoads(*page.ledger) : std::vector<LineLoad>();
  const bool anything =
      !lines.empty() && std::any_of(lines[0].days.begin(), lines[0].days.end(),
                                    [](const DayLoad& d) { return d.capacity > 0 || d.load > 0; });
  if (anything) {
    ChartStyle style;
    style.top = kTitleHeight + kChartGap;
    s += "<div class=\"chart-room\" style=\"height:" +
         std::to_string(chartHeight() + 2 * kChartGap) + "px\">\n" +
         chartSvg(lines[0], page.chinese, style) + "</div>\n";
  } else {
    const char* why = !area ? t.noArea : lines.empty() ? t.noLine : t.noCapacity;
    s += "<p class=\"no-chart\" id=\"no-chart\">" + std::string(why) + "</p>\n";
  }

  addFields(s, page, t);
  s += "<section id=\"form\"><h2>" + std::string(t.form) + "</h2>\n";
  addGrid(s, page);
  // The splitter bar where it stands under the grid, then the ledger where it stands under the
  // bar.
  const auto &g = page.gridRect, &b = page.splitter, &l = page.ledgerRect;
  s += "<div id=\"splitter\" style=\"margin-top:" + px(b.top - (g.top + g.height)) +
       ";height:" + px(std::max(b.height, 2 * kTwipsPerPixel)) +
       (b.visible ? "" : ";visibility:hidden") + "\" title=\"" + t.splitter + " (top " +
       std::to_string(std::lround(b.top)) + " twips)\"></div>\n";
  s += "<div id=\"ledger\" class=\"control\" style=\"margin-top:" + px(l.top - (b.top + b.height)) +
       ";min-height:" + px(l.height) + "\" title=\"" + t.ledger + "\">\n";
  if (area && page.ledger) {
    addLedger(s, *page.ledger, t);
  } else {
    s += "<p>" + std::string(area ? t.noLine : t.noArea) + "</p>\n";
  }
  s += "</div>\n</section>\n</body>\n</html>\n";
  return s;
}

}  // namespace qx::qxhost
