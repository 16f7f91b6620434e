// The snapshot's chart: a line's capacity and load per date as pairs of bars in an inline SVG,
// with an hours axis, date labels, a legend and the overloaded dates marked under the axis.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>

#include "tools/qxhost/snapshot/html_snapshot.h"

namespace qx::qxhost {

namespace {

constexpr int kMarginLeft = 64, kMarginRight = 24, kMarginTop = 60, kMarginBottom = 52;
constexpr int kPlotHeight = 220;
constexpr int kPlotWidthGoal = 960;  // dates share this much, within the limits of a group
constexpr int kMinGroup = 6, kMaxGroup = 28;

std::string fixed2(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

// A round step for about five grid lines up to `top`.
double niceStep(double top) {
  double raw = top / 5, magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0}) {
    if (m * magnitude >= raw) return m * magnitude;
  }
  return 10 * magnitude;
}

struct Texts {
  const char *title, *capacity, *load, *over, *hours, *date;
};
constexpr Texts kChinese{"生产线 {} 的能力与负荷", "能力", "负荷", "超负荷", "小时", "日期"};
constexpr Texts kEnglish{
    "Capacity and load of line {}", "Capacity", "Load", "Overloaded", "Hours", "Date"};

std::string titleOf(const Texts& t, const std::string& line) {
  std::string title = t.title;
  title.replace(title.find("{}"), 2, line);
  return title;
}

}  // namespace

int chartHeight() {
  return kMarginTop + kPlotHeight + kMarginBottom;
}

std::string chartSvg(const LineLoad& line, bool chinese, const ChartStyle& style) {
  const Texts& t = chinese ? kChinese : kEnglish;
  const int n = static_cast<int>(line.days.size());
  const int group = std::clamp(kPlotWidthGoal / std::max(n, 1), kMinGroup, kMaxGroup);
  const int bar = std::max(2, (group - 2) / 2);
  const int width = kMarginLeft + n * group + kMarginRight, height = chartHeight();
  const int x0 = kMarginLeft, bottom = kMarginTop + kPlotHeight;
  double highest = 0;
  for (const DayLoad& d : line.days) highest = std::max({highest, d.capacity, d.load});
  const double step = niceStep(highest > 0 ? highest : 1);
  const double top = std::ceil((highest > 0 ? highest : 1) / step) * step;
  auto heightOf = [&](double v) {
    return static_cast<int>(std::lround(std::max(v, 0.0) / top * kPlotHeight));
  };
  const std::string title = htmlEscape(titleOf(t, line.line));

  std::string s;
  auto num = [](auto v) { return std::to_string(v); };
  s += "<svg id=\"chart\" xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" width=\"" + num(width) +
       "\" height=\"" + num(height) + "\" viewBox=\"0 0 " + num(width) + " " + num(height) +
       "\" style=\"position:absolute;left:" + num(style.left) + "px;top:" + num(style.top) +
       "px\" aria-label=\"" + title + "\">\n";
  s += "<rect class=\"background\" x=\"0\" y=\"0\" width=\"" + num(width) + "\" height=\"" +
       num(height) + "\" fill=\"#ffffff\"/>\n";
  s += "<text class=\"title\" x=\"" + num(x0) +
       "\" y=\"20\" font-size=\"15\" font-weight=\"bold\">" + title + "</text>\n";
  // The legend.
  int lx = x0;
  for (auto [colour, text, cls] : {std::tuple{ChartStyle::kCapacity, t.capacity, "capacity"},
                                   std::tuple{ChartStyle::kLoad, t.load, "load"},
                                   std::tuple{ChartStyle::kOver, t.over, "over"}}) {
    s += "<g class=\"legend " + std::string(cls) + "\"><rect x=\"" + num(lx) +
         "\" y=\"32\" width=\"12\" height=\"12\" fill=\"" + colour + "\"/><text x=\"" +
         num(lx + 16) + "\" y=\"43\" font-size=\"12\">" + text + "</text></g>\n";
    lx += 110;
  }
  // The hours axis with its grid lines.
  s += "<text class=\"axis-title\" x=\"" + num(x0 - 8) + "\" y=\"" + num(kMarginTop - 10) +
       "\" font-size=\"11\" text-anchor=\"end\">" + t.hours + "</text>\n";
  for (double v = 0; v <= top + step / 2; v += step) {
    int y = bottom - heightOf(v);
    s += "<line class=\"grid\" x1=\"" + num(x0) + "\" y1=\"" + num(y) + "\" x2=\"" +
         num(x0 + n * group) + "\" y2=\"" + num(y) + "\" stroke=\"#e4e4e4\"/><text x=\"" +
         num(x0 - 6) + "\" y=\"" + num(y + 4) + "\" font-size=\"11\" text-anchor=\"end\">" +
         (step < 1 ? fixed2(v) : num(std::lround(v))) + "</text>\n";
  }
  // The bars, two per date, and the dates' labels.
  const int every = std::max(1, (48 + group - 1) / group);
  s += "<g class=\"bars\" shape-rendering=\"crispEdges\">\n";
  for (int i = 0; i < n; ++i) {
    const DayLoad& d = line.days[static_cast<size_t>(i)];
    const std::string date = htmlEscape(d.date);
    const int x = x0 + i * group + (group - 2 * bar) / 2;
    int hc = heightOf(d.capacity), hl = heightOf(d.load);
    s += "<rect class=\"capacity\" data-date=\"" + date + "\" x=\"" + num(x) + "\" y=\"" +
         num(bottom - hc) + "\" width=\"" + num(bar) + "\" height=\"" + num(hc) + "\" fill=\"" +
         ChartStyle::kCapacity + "\"><title>" + date + " " + t.capacity + " " + fixed2(d.capacity) +
         "</title></rect>\n";
    s += "<rect class=\"load\" data-date=\"" + date + "\" x=\"" + num(x + bar) + "\" y=\"" +
         num(bottom - hl) + "\" width=\"" + num(bar) + "\" height=\"" + num(hl) + "\" fill=\"" +
         ChartStyle::kLoad + "\"><title>" + date + " " + t.load + " " + fixed2(d.load) +
         "</title></rect>\n";
    if (d.over()) {
      s += "<rect class=\"over\" data-date=\"" + date + "\" x=\"" + num(x0 + i * group + 1) +
           "\" y=\"" + num(bottom + 2) + "\" width=\"" + num(group - 2) +
           "\" height=\"4\" fill=\"" + ChartStyle::kOver + "\"><title>" + date + " " + t.over +
           ": " + fixed2(d.load) + " &gt; " + fixed2(d.capacity) + "</title></rect>\n";
    }
    if (i % every == 0) {
      s += "<text class=\"date\" x=\"" + num(x0 + i * group + group / 2) + "\" y=\"" +
           num(bottom + 20) + "\" font-size=\"11\" text-anchor=\"middle\"" +
           (d.over() ? " fill=\"" + std::string(ChartStyle::kOver) + "\"" : "") + ">" +
           htmlEscape(d.date.size() == 10 ? d.date.substr(5) : d.date) + "</text>\n";
    }
  }
  s += "</g>\n";
  s += "<line class=\"axis\" x1=\"" + num(x0) + "\" y1=\"" + num(bottom) + "\" x2=\"" +
       num(x0 + n * group) + "\" y2=\"" + num(bottom) + "\" stroke=\"#444444\"/>\n";
  s += "<line class=\"axis\" x1=\"" + num(x0) + "\" y1=\"" + num(kMarginTop) + "\" x2=\"" +
       num(x0) + "\" y2=\"" + num(bottom) + "\" stroke=\"#444444\"/>\n";
  s += "<text class=\"axis-title\" x=\"" + num(x0 + n * group / 2) + "\" y=\"" + num(bottom + 42) +
       "\" font-size=\"11\" text-anchor=\"middle\">" + t.date + "</text>\n";
  s += "</svg>\n";
  return s;
}

}  // namespace qx::qxhost
