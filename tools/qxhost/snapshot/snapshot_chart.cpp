// The snapshot's chart of one line: the plot is an SVG stretched to the page's width (its
// x unit is one date, its y unit a thousandth of the hours axis), the hours axis and the date
// ticks are drawn beside it in pixels so that texts keep their size at any width.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "tools/qxhost/snapshot/html_snapshot.h"

namespace qx::qxhost {

namespace {

constexpr int kPlotHeight = 200, kPlotTop = 8, kAxisWidth = 52, kTicksHeight = 34;
constexpr int kMinDayWidth = 3;       // pixels; the chart scrolls in its box below this
constexpr int kMinLabelSpacing = 60;  // pixels between date labels
constexpr int kScale = 1000;          // plot units of the hours axis

struct Texts {
  const char *title, *capacity, *load, *over, *range, *today, *hours, *utilisation, *past,
      *weekdays[7];
};
constexpr Texts kChinese{"生产线 {} 的能力与负荷",
                         "能力",
                         "负荷",
                         "超负荷",
                         "所选行的日期",
                         "今天",
                         "小时",
                         "利用率",
                         "已过去",
                         {"周日", "周一", "周二", "周三", "周四", "周五", "周六"}};
constexpr Texts kEnglish{"Capacity and load of line {}",
                         "Capacity",
                         "Load",
                         "Overloaded",
                         "Selected row's dates",
                         "Today",
                         "Hours",
                         "utilisation",
                         "past",
                         {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}};

std::string fixed(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

// A number for an SVG attribute: at most three decimals, no trailing zeros.
std::string num(double v) {
  std::string s = fixed(v, 3);
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

// A round step for about five grid lines up to `top`.
double niceStep(double top) {
  double raw = top / 5, magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0}) {
    if (m * magnitude >= raw) return m * magnitude;
  }
  return 10 * magnitude;
}

// 0 = Sunday; -1 for a text that is no date.
int weekday(const std::string& date) {
  auto serial = sim::daySerial(date);
  return serial ? static_cast<int>((*serial + 6) % 7) : -1;
}

std::string percent(double fraction) {
  return num(fraction * 100) + "%";
}

}  // namespace

std::string chartHtml(const LineLoad& line, bool chinese, const ChartMarks& marks) {
  const Texts& t = chinese ? kChinese : kEnglish;
  const int n = static_cast<int>(line.days.size());
  double highest = 0;
  for (const DayLoad& d : line.days) highest = std::max({highest, d.capacity, d.load});
  const double step = niceStep(highest > 0 ? highest : 1);
  const double top = std::ceil((highest > 0 ? highest : 1) / step) * step;
  auto y = [&](double hours) { return kScale - std::max(hours, 0.0) / top * kScale; };
  std::string title = t.title;
  title.replace(title.find("{}"), 2, line.line);

  std::string s = "<section id=\"chart-section\">\n<div class=\"bar\"><h2 class=\"chart-title\">" +
                  htmlEscape(title) + "</h2><span class=\"legend\">";
  auto key = [&](const char* cls, const char* colour, const char* text) {
    s += std::string("<span class=\"key ") + cls + "\"><i style=\"background:" + colour +
         "\"></i>" + text + "</span>";
  };
  key("capacity line", ChartStyle::kCapacity, t.capacity);
  key("load", ChartStyle::kLoad, t.load);
  key("over", ChartStyle::kOver, t.over);
  if (!marks.rangeFrom.empty()) key("range", ChartStyle::kRange, t.range);
  if (!marks.today.empty()) key("today line", ChartStyle::kToday, t.today);
  s += "</span></div>\n";

  // Dense charts keep a few pixels per date and scroll inside their box.
  const int minWidth = kAxisWidth + n * kMinDayWidth;
  s += "<div class=\"chart-box\" id=\"chart-box\"><div class=\"chart-grid\" style=\"min-width:" +
       std::to_string(minWidth) + "px\">\n";

  // The hours axis.
  s += "<svg class=\"y-axis\" style=\"overflow:visible\" width=\"" + std::to_string(kAxisWidth) +
       "\" height=\"" + std::to_string(kPlotHeight + kPlotTop) + "\">";
  for (double v = 0; v <= top + step / 2; v += step) {
    double py = kPlotTop + y(v) * kPlotHeight / kScale;
    s += "<text x=\"" + std::to_string(kAxisWidth - 6) + "\" y=\"" + num(py + 4) +
         "\" text-anchor=\"end\">" + (step < 1 ? fixed(v, 2) : fixed(v, 0)) + "</text>";
  }
  s += "<text class=\"unit\" x=\"2\" y=\"" + std::to_string(kPlotTop + kPlotHeight / 2) +
       "\" transform=\"rotate(-90 8 " + std::to_string(kPlotTop + kPlotHeight / 2) +
       ")\" text-anchor=\"middle\">" + t.hours + "</text></svg>\n";

  // The plot.
  const std::string w = std::to_string(std::max(n, 1));
  s += "<svg id=\"chart\" class=\"plot\" role=\"img\" aria-label=\"" + htmlEscape(title) +
       "\" width=\"100%\" height=\"" + std::to_string(kPlotHeight + kPlotTop) + "\" viewBox=\"0 " +
       num(-kPlotTop * double(kScale) / kPlotHeight) + " " + w + " " +
       num(kScale * (1 + double(kPlotTop) / kPlotHeight)) +
       "\" preserveAspectRatio=\"none\" shape-rendering=\"crispEdges\">\n";
  auto past = [&](const DayLoad& d) {
    return !marks.pastBefore.empty() && d.date < marks.pastBefore;
  };
  for (int i = 0; i < n; ++i) {
    const DayLoad& d = line.days[static_cast<size_t>(i)];
    if (past(d) || (d.capacity <= 0 && d.load <= 0)) {
      s += std::string("<rect class=\"") + (past(d) ? "past" : "off") + "\" x=\"" +
           std::to_string(i) + "\" y=\"0\" width=\"1\" height=\"" + std::to_string(kScale) +
           "\" fill=\"" + (past(d) ? "#e6e6e6" : "#f1f1f1") + "\"/>";
    }
  }
  if (!marks.rangeFrom.empty()) {
    int first = -1, last = -1;
    for (int i = 0; i < n; ++i) {
      const std::string& date = line.days[static_cast<size_t>(i)].date;
      if (date >= marks.rangeFrom && date <= marks.rangeTo) {
        if (first < 0) first = i;
        last = i;
      }
    }
    if (first >= 0) {
      s += "\n<rect class=\"range\" x=\"" + std::to_string(first) + "\" y=\"0\" width=\"" +
           std::to_string(last - first + 1) + "\" height=\"" + std::to_string(kScale) +
           "\" fill=\"" + ChartStyle::kRange + "\"><title>" + t.range + " " +
           htmlEscape(marks.rangeFrom) + " – " + htmlEscape(marks.rangeTo) + "</title></rect>";
    }
  }
  s += "\n<path class=\"grid\" d=\"";
  for (double v = step; v <= top + step / 2; v += step) {
    s += "M0 " + num(y(v)) + "H" + w;
  }
  s += "\" stroke=\"#e2e2e2\" vector-effect=\"non-scaling-stroke\"/>\n<g class=\"bars\">\n";
  // Per date: a title over the whole height, the load up to the capacity, the load above it.
  for (int i = 0; i < n; ++i) {
    const DayLoad& d = line.days[static_cast<size_t>(i)];
    const std::string x = std::to_string(i), date = htmlEscape(d.date);
    int wd = weekday(d.date);
    std::string tip =
        date + (wd >= 0 ? std::string(" ") + t.weekdays[wd] : "") + " · " + t.capacity + " " +
        fixed(d.capacity, 2) + " · " + t.load + " " + fixed(d.load, 2) +
        (d.capacity > 0
             ? std::string(" · ") + t.utilisation + " " + fixed(d.load / d.capacity * 100, 0) + "%"
             : "") +
        (past(d)    ? std::string(" · ") + t.past
         : d.over() ? std::string(" · ") + t.over
                    : "");
    s += "<g class=\"day\" data-date=\"" + date + "\"><title>" + tip + "</title><rect x=\"" + x +
         "\" y=\"0\" width=\"1\" height=\"" + std::to_string(kScale) + "\" fill=\"transparent\"/>";
    if (past(d)) {
      // The load still booked on a past date, with no capacity left to hold it: grey.
      if (d.load > 0) {
        s += "<rect class=\"past-load\" x=\"" + num(i + 0.15) + "\" y=\"" + num(y(d.load)) +
             "\" width=\"0.7\" height=\"" + num(kScale - y(d.load)) + "\" fill=\"#a8a8a8\"/>";
      }
      s += "</g>\n";
      continue;
    }
    const double within = std::min(d.load, d.capacity);
    if (within > 0) {
      s += "<rect class=\"load\" x=\"" + num(i + 0.15) + "\" y=\"" + num(y(within)) +
           "\" width=\"0.7\" height=\"" + num(kScale - y(within)) + "\" fill=\"" +
           ChartStyle::kLoad + "\"/>";
    }
    if (d.over()) {
      s += "<rect class=\"over\" x=\"" + num(i + 0.15) + "\" y=\"" + num(y(d.load)) +
           "\" width=\"0.7\" height=\"" + num(y(within) - y(d.load)) + "\" fill=\"" +
           ChartStyle::kOver + "\"/>";
    }
    s += "</g>\n";
  }
  s += "</g>\n<path class=\"capacity\" d=\"";
  for (int i = 0; i < n; ++i) {
    s += (i == 0 ? "M0 " : "V") + num(y(line.days[static_cast<size_t>(i)].capacity)) + "H" +
         std::to_string(i + 1);
  }
  s += "\" fill=\"none\" stroke=\"" + std::string(ChartStyle::kCapacity) +
       "\" stroke-width=\"2\" vector-effect=\"non-scaling-stroke\" shape-rendering=\"auto\"/>\n";
  int todayAt = -1;
  for (int i = 0; i < n; ++i) {
    if (line.days[static_cast<size_t>(i)].date == marks.today) todayAt = i;
  }
  if (todayAt >= 0) {
    s += "<line class=\"today\" x1=\"" + std::to_string(todayAt) + "\" x2=\"" +
         std::to_string(todayAt) + "\" y1=\"0\" y2=\"" + std::to_string(kScale) + "\" stroke=\"" +
         ChartStyle::kToday +
         "\" stroke-width=\"2\" stroke-dasharray=\"5 3\" vector-effect=\"non-scaling-stroke\"/>\n";
  }
  s += "<path class=\"axis\" d=\"M0 0V" + std::to_string(kScale) + "H" + w +
       "\" fill=\"none\" stroke=\"#555555\" vector-effect=\"non-scaling-stroke\"/>\n</svg>\n";

  // The date ticks: Mondays, labelled as often as the narrowest width allows, with the year at
  // the first label and where it changes.
  const double narrowest = std::max(minWidth - kAxisWidth, 640);
  const int labelEvery =
      std::max(1, static_cast<int>(std::ceil(kMinLabelSpacing / (narrowest / std::max(n, 1) * 7))));
  s += "<span></span><svg class=\"x-axis\" width=\"100%\" height=\"" +
       std::to_string(kTicksHeight) + "\">";
  std::string year;
  for (int i = 0, monday = 0; i < n; ++i) {
    const std::string& date = line.days[static_cast<size_t>(i)].date;
    if (weekday(date) != 1) continue;
    const std::string x = percent(double(i) / n);
    s += "<line x1=\"" + x + "\" x2=\"" + x + "\" y1=\"0\" y2=\"5\" stroke=\"#555555\"/>";
    if (monday++ % labelEvery == 0 && date.size() == 10) {
      bool newYear = date.substr(0, 4) != year;
      year = date.substr(0, 4);
      s += "<text class=\"date" + std::string(newYear ? " year" : "") + "\" x=\"" + x +
           "\" y=\"17\" text-anchor=\"" + (monday == 1 ? "start" : "middle") + "\">" +
           htmlEscape(newYear ? date : date.substr(5)) + "</text>";
    }
  }
  if (todayAt >= 0) {
    s += "<text class=\"today\" x=\"" + percent(double(todayAt) / n) +
         "\" y=\"31\" text-anchor=\"middle\" font-weight=\"bold\">" + t.today + " " +
         htmlEscape(marks.today.substr(5)) + "</text>";
  }
  s += "</svg>\n</div></div>\n</section>\n";
  return s;
}

}  // namespace qx::qxhost
