// The snapshot page: the header fields, the heat map of all the order's lines and the chart of
// the selected line on top, where a planner looks first, then the form: the schedule grid, the
// splitter bar and the capacity ledger. Every box is as tall as its content up to a limit and
// scrolls inside beyond it, so the page itself never scrolls sideways.
#include "tools/qxhost/snapshot/html_snapshot.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <set>

#include "automation/conversions.h"
#include "sim/controls/text_table.h"

namespace qx::qxhost {

namespace {

constexpr double kTwipsPerPixel = 15;
constexpr int kAllRowsUpTo = 40, kFirstRows = 10, kAroundSelection = 7;

const char* const kStyle =
    R"(*{box-sizing:border-box}
body{margin:0;font:13px/1.4 "Noto Sans CJK SC","WenQuanYi Micro Hei",sans-serif;color:#222;background:#fff}
header.top{display:flex;flex-wrap:wrap;align-items:baseline;gap:4px 18px;padding:6px 16px;background:#eef2f7;border-bottom:1px solid #d3dae4}
h1{margin:0;font-size:17px;white-space:nowrap}
.meta{color:#555;font-size:12px}
section{margin:8px 16px}
h2{font-size:13px;margin:0}
.bar{display:flex;flex-wrap:wrap;align-items:center;gap:4px 18px;margin-bottom:4px}
.legend{display:flex;flex-wrap:wrap;gap:2px 12px;font-size:12px;color:#444}
.key i{display:inline-block;width:12px;height:12px;margin-right:4px;vertical-align:-2px;border:1px solid rgba(0,0,0,.15)}
.key.line i{height:3px;vertical-align:3px;border:0}
.toggle{font-size:12px}
dl.fields{display:flex;flex-wrap:wrap;gap:2px 22px;margin:0}
dl.fields div{display:flex;gap:6px}
dt{color:#666}
dd{margin:0;font-weight:600}
.no-chart{margin:8px 16px;padding:8px 12px;border:1px dashed #999;color:#555}
.heat-box{border:1px solid #c8c8c8}
#heat-axis{display:block;width:100%}
#heat-rows{overflow-y:auto;overflow-x:hidden}
#heat-map{display:block;position:sticky;top:0}
.tip{position:absolute;z-index:9;white-space:pre;background:#fffff0;border:1px solid #999;padding:4px 8px;font-size:12px;box-shadow:0 2px 6px rgba(0,0,0,.2);pointer-events:none}
.chart-box{overflow-x:auto;border:1px solid #c8c8c8;padding-top:4px}
.chart-grid{display:grid;grid-template-columns:52px 1fr}
.chart-grid svg{display:block;font-size:11px}
.chart-grid text.today{fill:#222}
.box{overflow:auto;border:1px solid #9a9a9a}
table{border-collapse:separate;border-spacing:0}
th,td{border-right:1px solid #d2d2d2;border-bottom:1px solid #d2d2d2;padding:1px 6px;white-space:nowrap;height:21px}
th{background:#ece9e2;font-weight:normal}
td.r{text-align:right;font-variant-numeric:tabular-nums}
#grid{max-height:342px}
#grid thead th{position:sticky;top:0;z-index:2}
tr.selected td{background:#cde3ff}
tr.gap td{color:#666;font-style:italic;background:#f7f7f7}
#splitter{height:5px;margin:3px 0;background:#9a9a9a;cursor:ns-resize}
#splitter.hidden{visibility:hidden}
#ledger .fix{position:sticky;z-index:1}
#ledger th.fix{background:#ece9e2}
#ledger td.fix{background:inherit}
#ledger .fix-end{box-shadow:inset -2px 0 #9a9a9a}
th.over,td.over{color:#fff;background:#d62728 !important}
th.past{background:repeating-linear-gradient(45deg,#cfcfcf 0 2px,#f1f1f1 2px 6px)}
)";

// Keeps the ledger's line columns in place while its dates scroll, and brings the grid's
// selected row into its box.
const char* const kPageScript = R"JS(
(function () {
  var table = document.querySelector('#ledger table'), cells = document.querySelectorAll('#ledger .fix');
  var origin = table ? table.getBoundingClientRect().left : 0;
  var lefts = Array.prototype.map.call(cells, function (c) {
    return c.getBoundingClientRect().left - origin;
  });
  Array.prototype.forEach.call(cells, function (c, i) { c.style.left = lefts[i] + 'px'; });
  var grid = document.getElementById('grid'), row = grid && grid.querySelector('tr.selected');
  if (row) {
    var top = row.getBoundingClientRect().top - grid.getBoundingClientRect().top;
    if (top + row.offsetHeight > grid.clientHeight) grid.scrollTop = top - grid.clientHeight / 2;
  }
})();
)JS";

struct Texts {
  const char *lang, *title, *form, *ledger, *splitter, *noLine, *noArea, *noCapacity, *over,
      *capacity, *load, *hostDate, *rows, *gap, *past;
};
constexpr Texts kChinese{"zh-CN",
                         "排产单 {} 的快照",
                         "排产计划",
                         "能力台账",
                         "分隔条",
                         "未选中带生产线的行：能力台账中没有可画的能力和负荷。",
                         "能力区未显示（工具栏“显示产能”），没有能力台账和能力图。",
                         "所选生产线在这些日期没有能力也没有负荷。",
                         "超负荷",
                         "能力",
                         "负荷",
                         "主机日期",
                         "{} 行",
                         "第 {} 行未显示：{} 行，数量合计 {}，{} 至 {}",
                         "已过去：只算剩余能力"};
constexpr Texts kEnglish{"en",
                         "Snapshot of the schedule bill {}",
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
                         "Load",
                         "Host date",
                         "{} rows",
                         "Rows {} not shown: {} rows, quantity {} in all, {} to {}",
                         "Past: remaining capacity only"};

// `pattern` with each "{}" replaced by the next argument.
std::string fill(std::string pattern, std::initializer_list<std::string> arguments) {
  size_t at = 0;
  for (const std::string& a : arguments) {
    at = pattern.find("{}", at);
    if (at == std::string::npos) break;
    pattern.replace(at, 2, a);
    at += a.size();
  }
  return pattern;
}

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

bool isDate(const std::string& s) {
  return s.size() == 10 && s[4] == '-' && s[7] == '-' && sim::isFigure(s.substr(0, 4));
}

void addFields(std::string& s, const SnapshotPage& page) {
  s += "<section id=\"header-fields\"><dl class=\"fields\">\n";
  for (const auto& f : page.fields) {
    s += "<div data-name=\"" + htmlEscape(f.name) + "\">" + cell("dt", f.caption) +
         cell("dd", f.text) + "</div>\n";
  }
  s += "</dl></section>\n";
}

void addGrid(std::string& s, const SnapshotPage& page, const Texts& t) {
  s += "<div id=\"grid\" class=\"box\" title=\"grdDetail\">\n<table class=\"grid\">\n<thead><tr>";
  for (const std::string& caption : page.gridCaptions) s += cell("th", caption);
  s += "</tr></thead>\n<tbody>\n";
  for (const auto& row : page.gridRows) {
    if (row.gap) {
      std::string range = std::to_string(row.number) + "–" + std::to_string(row.last);
      s += "<tr class=\"gap\"><td colspan=\"" + std::to_string(page.gridCaptions.size()) + "\">" +
           htmlEscape(fill(t.gap, {range, std::to_string(row.last - row.number + 1),
                                   automation::formatNumber(row.quantity, 2), row.from, row.to})) +
           "</td></tr>\n";
      continue;
    }
    s += row.selected ? "<tr class=\"selected\">" : "<tr>";
    for (const std::string& text : row.cells) {
      s += cell("td", text, sim::isFigure(text) ? " class=\"r\"" : "");
    }
    s += "</tr>\n";
  }
  s += "</tbody></table></div>\n";
}

void addLedger(std::string& s, const LedgerPicture& ledger, const Texts& t,
               const std::string& pastBefore) {
  const auto& shown = ledger.shown;
  auto visible = [&](size_t c) { return c >= ledger.hidden.size() || !ledger.hidden[c]; };
  // The line columns (every shown column before the first date) stay while the dates scroll.
  size_t firstDate = SIZE_MAX, lastFixed = SIZE_MAX;
  for (const auto& h : shown.headings) {
    if (h.first == h.last && visible(h.first) && isDate(h.caption)) {
      firstDate = std::min(firstDate, h.first);
    }
  }
  for (size_t c = 0; c < firstDate && c < ledger.hidden.size(); ++c) {
    if (visible(c)) lastFixed = c;
  }
  auto fixedClass = [&](size_t last) -> std::string {
    if (last >= firstDate || lastFixed == SIZE_MAX) return "";
    return last >= lastFixed ? "fix fix-end" : "fix";
  };
  // Overloaded dates: their header cells and the load cells of the documents concerned. A past
  // date (only the remaining capacity counts) has no capacity left, which is no overload.
  std::set<size_t> overColumns, pastColumns;
  std::set<std::pair<size_t, size_t>> overCells;  // (row, column)
  std::map<size_t, std::string> overTitles;
  std::vector<bool> continued(shown.rows.size(), false);
  for (const LineLoad& line : lineLoads(ledger)) {
    for (size_t r = line.firstRow + 1; r < line.firstRow + line.rowCount; ++r) continued[r] = true;
    for (const DayLoad& d : line.days) {
      if (!pastBefore.empty() && d.date < pastBefore) {
        pastColumns.insert(d.column);
        continue;
      }
      if (!d.over()) continue;
      overColumns.insert(d.column);
      overCells.insert({line.firstRow + 1, d.column});
      std::string title = d.date + " " + t.over + ": " + t.load + " " + fixed2(d.load) + " > " +
                          t.capacity + " " + fixed2(d.capacity);
      std::string& all = overTitles[d.column];
      all += (all.empty() ? "" : "; ") + title;
    }
  }
  auto classes = [](std::initializer_list<std::string> names) {
    std::string all;
    for (const std::string& n : names) {
      if (!n.empty()) all += (all.empty() ? "" : " ") + n;
    }
    return all.empty() ? std::string() : " class=\"" + all + "\"";
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
      bool over = h.first == h.last && overColumns.count(h.first);
      bool past = h.first == h.last && pastColumns.count(h.first);
      attributes += classes({fixedClass(h.last), over ? "over" : "", past ? "past" : ""});
      if (over) attributes += " title=\"" + htmlEscape(overTitles[h.first]) + "\"";
      if (past) attributes += " title=\"" + std::string(t.past) + "\"";
      s += cell("th", h.caption, attributes);
    }
    s += "</tr>\n";
  }
  if (shown.headerRows >= 2) {
    s += "<tr class=\"header2\">";
    for (size_t c = 0; c < shown.second.size(); ++c) {
      if (!visible(c) || (c < underOneLevel.size() && underOneLevel[c])) continue;
      s += cell("th", shown.second[c], classes({fixedClass(c)}));
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
      bool right = c < ledger.rightAligned.size() && ledger.rightAligned[c];
      bool over = overCells.count({r, c}) > 0;
      std::string attributes = classes({fixedClass(c), right ? "r" : "", over ? "over" : ""});
      if (over) attributes += " title=\"" + htmlEscape(overTitles[c]) + "\"";
      s += cell("td", row.cells[c], attributes);
    }
    s += "</tr>\n";
  }
  s += "</tbody></table>\n";
}

}  // namespace

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      // Nothing in a script element may close it or open a comment.
      case '<':
        out += "\\u003c";
        break;
      case '>':
        out += "\\u003e";
        break;
      case '&':
        out += "\\u0026";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::vector<int> gridWindow(int rows, int selected) {
  std::vector<int> shown;
  for (int r = 1; r <= rows; ++r) {
    if (rows <= kAllRowsUpTo || r <= kFirstRows ||
        (selected > 0 && std::abs(r - selected) <= kAroundSelection)) {
      shown.push_back(r);
    }
  }
  return shown;
}

std::string snapshotHtml(const SnapshotPage& page) {
  const Texts& t = page.chinese ? kChinese : kEnglish;
  std::string title = fill(t.title, {page.workOrder});

  std::string s = "<!DOCTYPE html>\n<html lang=\"" + std::string(t.lang) +
                  "\">\n<head>\n<meta charset=\"utf-8\">\n<meta name=\"viewport\" "
                  "content=\"width=device-width\">\n" +
                  cell("title", title) + "\n<style>\n" + kStyle + "</style>\n</head>\n<body>\n";
  s += "<header class=\"top\">" + cell("h1", title);
  if (!page.today.empty()) {
    s += "<span class=\"meta\" id=\"host-date\">" + std::string(t.hostDate) + " " +
         htmlEscape(page.today) + "</span>";
  }
  if (!page.options.empty()) s += cell("span", page.options, " class=\"meta\" id=\"options\"");
  s += "</header>\n";
  addFields(s, page);

  // The heat map of all the order's lines, then the chart of the selected row's line (the
  // ledger follows the selected row, so its first line); else why there is none.
  const bool area = page.ledgerRect.visible;
  if (area && page.heat && page.heat->ledger) s += heatMapHtml(*page.heat, page.chinese);
  std::vector<LineLoad> lines =
      area && page.ledger ? lineLoads(*page.ledger) : std::vector<LineLoad>();
  const bool anything =
      !lines.empty() && std::any_of(lines[0].days.begin(), lines[0].days.end(),
                                    [](const DayLoad& d) { return d.capacity > 0 || d.load > 0; });
  if (anything) {
    s += chartHtml(lines[0], page.chinese, page.marks);
  } else {
    const char* why = !area ? t.noArea : lines.empty() ? t.noLine : t.noCapacity;
    s += "<p class=\"no-chart\" id=\"no-chart\">" + std::string(why) + "</p>\n";
  }

  s += "<section id=\"form\"><div class=\"bar\"><h2>" + std::string(t.form) +
       "</h2><span class=\"meta\">" + fill(t.rows, {std::to_string(page.gridRowCount)}) +
       "</span></div>\n";
  addGrid(s, page, t);
  // The splitter bar between grid and ledger; its place on the form in its title.
  const auto& b = page.splitter;
  s += "<div id=\"splitter\"" + std::string(b.visible ? "" : " class=\"hidden\"") + " title=\"" +
       t.splitter + " (top " + std::to_string(std::lround(b.top)) + " twips, " + px(b.top) +
       ")\"></div>\n";
  s += "<div id=\"ledger\" class=\"box\" title=\"" + std::string(t.ledger) + "\">\n";
  if (area && page.ledger) {
    addLedger(s, *page.ledger, t, page.marks.pastBefore);
  } else {
    s += "<p>" + std::string(area ? t.noLine : t.noArea) + "</p>\n";
  }
  s += "</div>\n</section>\n<script>" + std::string(kPageScript) + "</script>\n</body>\n</html>\n";
  return s;
}

}  // namespace qx::qxhost
