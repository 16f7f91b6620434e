// The snapshot's heat map: every line of the order against every date, coloured by how loaded
// it is. A year of 500 lines is 183,000 cells, too many for elements of their own: the page
// embeds each view (days; weeks too over a long period) as a palette of distinct cells
// (capacity and load in hundredths, utilisation, an overloaded day inside a week) and one
// string of fixed-width palette indexes per line, which the page's script draws on a canvas.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <map>
#include <tuple>

#include "automation/conversions.h"
#include "tools/qxhost/snapshot/html_snapshot.h"

namespace qx::qxhost {

namespace {

constexpr const char* kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kRowsShown = 14;  // the map's box scrolls beyond this many lines

struct Texts {
  const char *title, *days, *capacity, *load, *utilisation, *hours, *overDay, *today, *week,
      *names[6], *weekdays[7];
};
constexpr Texts kChinese{"各生产线负荷（{} 条生产线）",
                         "按日显示",
                         "能力",
                         "负荷",
                         "利用率",
                         "小时",
                         "其中有超负荷的日期",
                         "今天",
                         "周",
                         {"空闲 <50%", "繁忙 50–90%", "满负荷 90–100%", "超负荷 >100%", "非工作日",
                          "已过去（只算剩余能力）"},
                         {"周日", "周一", "周二", "周三", "周四", "周五", "周六"}};
constexpr Texts kEnglish{"Load of every line ({} lines)",
                         "Show days",
                         "Capacity",
                         "Load",
                         "utilisation",
                         "h",
                         "an overloaded day inside",
                         "Today",
                         "week",
                         {"Free <50%", "Busy 50–90%", "Full 90–100%", "Over >100%", "Not worked",
                          "Past (remaining capacity only)"},
                         {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}};

// The colours of the utilisations, in their order; past dates are hatched over the last one.
constexpr const char* kColours[] = {"#cfe8c4", "#fbe08c", "#f5a03a",
                                    "#d62728", "#e4e4e4", "#f6f6f6"};
constexpr const char* kHatch = "#b4b4b4";

int64_t hundredths(double v) {
  return std::llround(v * 100);
}

// One view: its columns (date index ranges) and its cells.
struct View {
  std::vector<std::pair<int, int>> columns;
  std::vector<std::tuple<int64_t, int64_t, int, int>> palette;  // capacity, load, class, flag
  std::vector<std::vector<size_t>> cells;                       // per line, per column
};

View buildView(const sim::AbilityLedger& l, const std::vector<std::pair<int, int>>& columns,
               int pastBefore) {
  View v;
  v.columns = columns;
  std::map<std::tuple<int64_t, int64_t, int, int>, size_t> index;
  const size_t days = static_cast<size_t>(l.days);
  for (size_t line = 0; line < l.lines.size(); ++line) {
    auto& row = v.cells.emplace_back();
    row.reserve(columns.size());
    for (auto [from, to] : columns) {
      double capacity = 0, load = 0;
      bool overDay = false, all = false;
      // A column with days still to come counts those; one wholly past keeps its figures as
      // delivered (no capacity, the load still booked) to show on hover.
      all = to < pastBefore;
      for (int d = from; d <= to; ++d) {
        if (d < pastBefore && !all) continue;
        double c = l.ability[line * days + static_cast<size_t>(d)];
        double x = l.load[line * days + static_cast<size_t>(d)];
        capacity += c, load += x;
        overDay = overDay || (!all && utilisation(c, x) == Utilisation::kOver);
      }
      Utilisation u = all ? Utilisation::kPast : utilisation(capacity, load);
      auto key = std::tuple{hundredths(capacity), hundredths(load), static_cast<int>(u),
                            overDay && u != Utilisation::kOver && from != to ? 1 : 0};
      auto [at, added] = index.emplace(key, v.palette.size());
      if (added) v.palette.push_back(key);
      row.push_back(at->second);
    }
  }
  return v;
}

std::string viewJson(const View& v, bool withColumns) {
  int width = 1;
  while ((size_t{1} << (6 * width)) < v.palette.size()) ++width;
  std::string s = "{";
  if (withColumns) {
    s += "\"cols\":[";
    for (size_t i = 0; i < v.columns.size(); ++i) {
      s += (i ? ",[" : "[") + std::to_string(v.columns[i].first) + "," +
           std::to_string(v.columns[i].second) + "]";
    }
    s += "],";
  }
  s += "\"w\":" + std::to_string(width) + ",\"pal\":[";
  for (size_t i = 0; i < v.palette.size(); ++i) {
    auto [c, l, u, f] = v.palette[i];
    s += (i ? ",[" : "[") + std::to_string(c) + "," + std::to_string(l) + "," + std::to_string(u) +
         "," + std::to_string(f) + "]";
  }
  s += "],\"rows\":[";
  for (size_t r = 0; r < v.cells.size(); ++r) {
    s += r ? ",\"" : "\"";
    for (size_t index : v.cells[r]) {
      for (int k = width - 1; k >= 0; --k) s += kDigits[(index >> (6 * k)) & 63];
    }
    s += "\"";
  }
  return s + "]}";
}

std::string strings(const char* const* texts, size_t n) {
  std::string s = "[";
  for (size_t i = 0; i < n; ++i) s += (i ? "," : "") + jsonString(texts[i]);
  return s + "]";
}

// Draws the map from #heat-data: labels, date axis, cells (only the rows in view), the
// selected line framed, the host's date marked; a tip follows the mouse.
const char* const kScript = R"JS(
(function () {
  var D = JSON.parse(document.getElementById('heat-data').textContent);
  var box = document.getElementById('heat-rows'), spacer = document.getElementById('heat-spacer');
  var map = document.getElementById('heat-map'), axis = document.getElementById('heat-axis');
  var tip = document.getElementById('heat-tip'), toggle = document.getElementById('heat-days');
  var RH = D.lines.length > 20 ? 12 : 18, AXIS = 30, DIG = {};
  var FONT = '"Noto Sans CJK SC","WenQuanYi Micro Hei",sans-serif';
  for (var k = 0; k < 64; ++k) DIG[D.digits.charAt(k)] = k;
  var first = Date.UTC(+D.first.slice(0, 4), +D.first.slice(5, 7) - 1, +D.first.slice(8, 10));
  function day(i) { return new Date(first + i * 864e5); }
  function iso(d) { return d.toISOString().slice(0, 10); }
  function view() { return toggle && !toggle.checked ? D.weeks : D.days; }
  function cols(v) {
    if (v.cols) return v.cols;
    var c = []; for (var i = 0; i < D.count; ++i) c.push([i, i]); return c;
  }
  function cell(v, r, c) {
    var s = v.rows[r], x = 0;
    for (var k = 0; k < v.w; ++k) x = x * 64 + DIG[s.charAt(c * v.w + k)];
    return v.pal[x];
  }
  var hatch = null;
  function pattern(ctx) {
    if (hatch) return hatch;
    var p = document.createElement('canvas'); p.width = p.height = 6;
    var g = p.getContext('2d'); g.fillStyle = D.colours[5]; g.fillRect(0, 0, 6, 6);
    g.strokeStyle = D.hatch; g.lineWidth = 1.5; g.beginPath();
    g.moveTo(-1, 7); g.lineTo(7, -1); g.moveTo(5, 7); g.lineTo(7, 5); g.moveTo(-1, 1); g.lineTo(1, -1);
    g.stroke(); return (hatch = ctx.createPattern(p, 'repeat'));
  }
  var L = {};
  function layout() {
    var v = view(), c = cols(v), width = Math.max(320, box.clientWidth);
    var label = Math.min(200, Math.max(110, Math.round(width * 0.14)));
    var edges = [];
    for (var i = 0; i <= c.length; ++i) edges.push(label + Math.floor(i * (width - label) / c.length));
    L = {v: v, c: c, width: width, label: label, edges: edges};
    spacer.style.height = D.lines.length * RH + 'px';
    map.dataset.labelWidth = label; map.dataset.rowHeight = RH; map.dataset.columns = c.length;
    map.dataset.view = v === D.days ? 'days' : 'weeks';
  }
  function size(canvas, w, h) {
    var r = window.devicePixelRatio || 1;
    canvas.width = Math.round(w * r); canvas.height = Math.round(h * r);
    canvas.style.width = w + 'px'; canvas.style.height = h + 'px';
    var ctx = canvas.getContext('2d'); ctx.setTransform(r, 0, 0, r, 0, 0); return ctx;
  }
  function colIndex(i) {
    for (var k = 0; k < L.c.length; ++k) if (L.c[k][0] <= i && i <= L.c[k][1]) return k;
    return -1;
  }
  function drawAxis() {
    var ctx = size(axis, L.width, AXIS), year = '', last = 0;
    ctx.font = '11px ' + FONT; ctx.fillStyle = '#333'; ctx.textBaseline = 'top';
    for (var k = 0; k < L.c.length; ++k) {
      var d = day(L.c[k][0]), x = L.edges[k];
      if (L.v === D.days && d.getUTCDay() !== 1 && k !== 0) continue;
      ctx.fillRect(x, AXIS - 6, 1, 6);
      var s = iso(d), text = s.slice(0, 4) !== year ? s : s.slice(5);
      if (x < last) continue;
      year = s.slice(0, 4); last = x + ctx.measureText(text).width + 12; ctx.fillText(text, x + 2, 4);
    }
    var t = D.today ? colIndex(Math.round((Date.UTC(+D.today.slice(0, 4), +D.today.slice(5, 7) - 1,
        +D.today.slice(8, 10)) - first) / 864e5)) : -1;
    if (t >= 0) {
      ctx.fillStyle = '#222'; ctx.font = 'bold 11px ' + FONT;
      ctx.fillText(D.t.today, L.edges[t] + 2, 17); ctx.fillRect(L.edges[t], 14, 2, AXIS - 14);
    }
    L.todayCol = t;
  }
  function drawRows() {
    var h = Math.min(box.clientHeight || D.lines.length * RH, D.lines.length * RH);
    var ctx = size(map, L.width, h), top = box.scrollTop, r0 = Math.floor(top / RH);
    ctx.textBaseline = 'middle';
    for (var r = r0; r < D.lines.length && r * RH - top < h; ++r) {
      var y = r * RH - top, sel = r === D.sel;
      ctx.fillStyle = sel ? '#cde3ff' : (r % 2 ? '#fafafa' : '#ffffff');
      ctx.fillRect(0, y, L.label, RH);
      ctx.fillStyle = '#222'; ctx.font = (sel ? 'bold ' : '') + (RH > 12 ? 12 : 10) + 'px ' + FONT;
      var name = D.lines[r][0] + ' ' + D.lines[r][1];
      while (name.length > 1 && ctx.measureText(name).width > L.label - 8) name = name.slice(0, -2) + '…';
      ctx.fillText(name, 4, y + RH / 2);
      for (var k = 0; k < L.c.length; ++k) {
        var p = cell(L.v, r, k), x = L.edges[k], w = L.edges[k + 1] - x;
        ctx.fillStyle = p[2] === 5 ? pattern(ctx) : D.colours[p[2]];
        ctx.fillRect(x, y, w, RH - 1);
        if (p[3]) { ctx.fillStyle = D.colours[3]; ctx.fillRect(x + w - Math.max(2, w / 4), y, Math.max(2, w / 4), RH / 2); }
      }
      if (sel) { ctx.strokeStyle = '#1f4e99'; ctx.lineWidth = 2; ctx.strokeRect(L.label + 1, y + 1, L.width - L.label - 2, RH - 2); }
    }
    if (L.todayCol >= 0) { ctx.fillStyle = '#222'; ctx.fillRect(L.edges[L.todayCol], 0, 2, h); }
  }
  function draw() { layout(); drawAxis(); drawRows(); }
  function h2(x) { return (x / 100).toFixed(2); }
  map.addEventListener('mousemove', function (e) {
    var b = map.getBoundingClientRect(), x = e.clientX - b.left, y = e.clientY - b.top;
    var r = Math.floor((y + box.scrollTop) / RH), k = -1;
    for (var i = 0; i < L.c.length; ++i) if (x >= L.edges[i] && x < L.edges[i + 1]) k = i;
    if (r < 0 || r >= D.lines.length || k < 0) { tip.hidden = true; map.title = ''; return; }
    var p = cell(L.v, r, k), a = day(L.c[k][0]), z = day(L.c[k][1]);
    var when = L.c[k][0] === L.c[k][1] ? iso(a) + ' ' + D.t.weekdays[a.getUTCDay()]
                                       : D.t.week + ' ' + iso(a) + ' – ' + iso(z).slice(5);
    var text = D.lines[r][0] + ' ' + D.lines[r][1] + '\n' + when + '\n' + D.t.capacity + ' ' +
        h2(p[0]) + ' ' + D.t.hours + ' · ' + D.t.load + ' ' + h2(p[1]) + ' ' + D.t.hours +
        (p[0] > 0 ? ' · ' + D.t.utilisation + ' ' + Math.round(p[1] / p[0] * 100) + '%' : '') +
        '\n' + D.t.names[p[2]] + (p[3] ? ' (' + D.t.overDay + ')' : '');
    tip.textContent = text; map.title = text; tip.hidden = false;
    tip.style.left = Math.min(e.pageX + 14, document.documentElement.clientWidth - 300) + 'px';
    tip.style.top = e.pageY + 14 + 'px';
  });
  map.addEventListener('mouseleave', function () { tip.hidden = true; });
  box.addEventListener('scroll', drawRows);
  window.addEventListener('resize', draw);
  if (toggle) toggle.addEventListener('change', draw);
  layout();
  if (D.sel >= 0) box.scrollTop = Math.max(0, D.sel * RH - box.clientHeight / 2);
  draw();
})();
)JS";

}  // namespace

Utilisation utilisation(double capacity, double load) {
  const int64_t c = hundredths(capacity), l = hundredths(load);
  if (l > c) return Utilisation::kOver;
  if (c <= 0) return Utilisation::kOff;
  if (l * 10 >= c * 9) return Utilisation::kFull;
  if (l * 2 >= c) return Utilisation::kBusy;
  return Utilisation::kFree;
}

std::string heatMapHtml(const HeatSource& heat, bool chinese) {
  const Texts& t = chinese ? kChinese : kEnglish;
  const sim::AbilityLedger& l = *heat.ledger;
  if (l.lines.empty() || l.days <= 0) return {};
  const std::string first = automation::formatDate(automation::Date{double(l.firstDay)});
  int pastBefore = 0;
  if (heat.remainingOnly) {
    auto today = sim::daySerial(heat.today);
    if (today) pastBefore = static_cast<int>(std::clamp<int64_t>(*today - l.firstDay, 0, l.days));
  }
  std::vector<std::pair<int, int>> days, weeks;
  for (int d = 0; d < l.days; ++d) {
    days.emplace_back(d, d);
    // Weeks from Monday; serial 2 was a Monday.
    if (weeks.empty() || (l.firstDay + d - 2) % 7 == 0) weeks.emplace_back(d, d);
    weeks.back().second = d;
  }
  const bool long_ = l.days > kHeatDaysShownAsDays;
  int selected = -1;
  for (size_t i = 0; i < l.lines.size(); ++i) {
    if (l.lines[i].id == heat.selectedLine && heat.selectedLine != 0) selected = int(i);
  }

  std::string data =
      "{\"first\":" + jsonString(first) + ",\"count\":" + std::to_string(l.days) +
      ",\"today\":" + jsonString(heat.today) + ",\"sel\":" + std::to_string(selected) +
      ",\"digits\":" + jsonString(kDigits) +
      ",\"colours\":" + strings(kColours, std::size(kColours)) +
      ",\"hatch\":" + jsonString(kHatch) + ",\"t\":{\"capacity\":" + jsonString(t.capacity) +
      ",\"load\":" + jsonString(t.load) + ",\"utilisation\":" + jsonString(t.utilisation) +
      ",\"hours\":" + jsonString(t.hours) + ",\"overDay\":" + jsonString(t.overDay) +
      ",\"today\":" + jsonString(t.today) + ",\"week\":" + jsonString(t.week) +
      ",\"names\":" + strings(t.names, 6) + ",\"weekdays\":" + strings(t.weekdays, 7) +
      "},\"lines\":[";
  for (size_t i = 0; i < l.lines.size(); ++i) {
    data += (i ? ",[" : "[") + jsonString(l.lines[i].number) + "," + jsonString(l.lines[i].name) +
            "," + std::to_string(l.lines[i].id) + "]";
  }
  data += "],\"days\":" + viewJson(buildView(l, days, pastBefore), false);
  if (long_) data += ",\"weeks\":" + viewJson(buildView(l, weeks, pastBefore), true);
  data += "}";

  std::string title = t.title;
  title.replace(title.find("{}"), 2, std::to_string(l.lines.size()));
  std::string s = "<section id=\"heat-section\">\n<div class=\"bar\"><h2>" + htmlEscape(title) +
                  "</h2><span class=\"legend\" id=\"heat-legend\">";
  for (int u = 0; u < 6; ++u) {
    if (u == 5 && pastBefore == 0) continue;
    const char* names[] = {"free", "busy", "full", "over", "off", "past"};
    s += std::string("<span class=\"key\" data-class=\"") + names[u] + "\" data-colour=\"" +
         kColours[u] + "\"><i style=\"background:" +
         (u == 5 ? std::string("repeating-linear-gradient(45deg,") + kHatch + " 0 2px," +
                       kColours[u] + " 2px 5px)"
                 : std::string(kColours[u])) +
         "\"></i>" + htmlEscape(t.names[u]) + "</span>";
  }
  s += "</span>";
  if (long_) {
    s += "<label class=\"toggle\"><input type=\"checkbox\" id=\"heat-days\"> " +
         std::string(t.days) + "</label>";
  }
  const int rowHeight = l.lines.size() > 20 ? 12 : 18;
  const int shown = std::min<int>(int(l.lines.size()), kRowsShown + (rowHeight == 12 ? 6 : 0));
  s += "</div>\n<div class=\"heat-box\"><canvas id=\"heat-axis\" height=\"30\"></canvas>"
       "<div id=\"heat-rows\" style=\"height:" +
       std::to_string(shown * rowHeight) +
       "px\"><div id=\"heat-spacer\"><canvas id=\"heat-map\"></canvas></div></div></div>\n"
       "<div id=\"heat-tip\" class=\"tip\" hidden></div>\n"
       "<script type=\"application/json\" id=\"heat-data\">" +
       data + "</script>\n<script>" + kScript + "</script>\n</section>\n";
  return s;
}

}  // namespace qx::qxhost
