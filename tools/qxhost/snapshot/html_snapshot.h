// A picture of the schedule form as a self-contained HTML page (inline CSS, SVG and script,
// UTF-8, nothing fetched), laid out as a planning view: the header fields with their captions,
// a heat map of the load of all the order's lines, a chart of the selected line's capacity and
// load, then the form itself: the schedule grid, the splitter bar and the capacity ledger.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/components/capacity/ability_calc.h"
#include "sim/controls/ledger/ledger_grid.h"
#include "sim/controls/text_table.h"

namespace qx::qxhost {

using sim::htmlEscape;
// Text as a JSON string (quotes included) that is also safe inside a script element.
std::string jsonString(std::string_view text);

// The ledger as its control shows it, with the columns' display properties.
struct LedgerPicture {
  sim::LedgerGrid::Shown shown;
  std::vector<bool> hidden, rightAligned;  // per column, from 0
};
LedgerPicture ledgerPicture(const sim::LedgerGrid& ledger);

// One date of a ledger document: the figures of its capacity row (the document's first row)
// and its load row (the second), as shown; a blank cell is 0.
struct DayLoad {
  std::string date;
  size_t column = 0;  // the ledger column of the date
  double capacity = 0, load = 0;
  bool over() const noexcept { return load > capacity; }
};
// A document of the ledger (a line with its measure rows): its rows (the first shows the line,
// the others continue it with the line columns blank), the line's code and name as its first
// shown cells say, and its dates.
struct LineLoad {
  size_t firstRow = 0, rowCount = 0;  // indexes into the shown rows
  std::string line;
  std::vector<DayLoad> days;
};
// Every document of the ledger that has a capacity and a load row, in order.
std::vector<LineLoad> lineLoads(const LedgerPicture& ledger);

// How loaded a line is on a date (or over a week): load ÷ capacity below half is free, below
// nine tenths busy, up to the capacity full, above it over; a date without capacity or load is
// off (not worked); a date before the host's date, when only the remaining capacity counts,
// is past. Figures are compared as the ledger shows them, to the hundredth.
enum class Utilisation { kFree, kBusy, kFull, kOver, kOff, kPast };
Utilisation utilisation(double capacity, double load);

// The chart of a line's capacity and load per date (the ledger's figures), in an SVG whose
// width follows the page: load bars, the part above capacity in the overload colour, the
// capacity as a line, non-working dates shaded, the selected row's dates shaded, a marker at
// the host's date, past dates grey, weekly date ticks with the year where it changes, and a
// title per date with capacity, load and utilisation. Texts in Chinese or in English.
struct ChartStyle {
  static constexpr const char* kCapacity = "#2f6fb3";
  static constexpr const char* kLoad = "#f08c1e";
  static constexpr const char* kOver = "#d62728";
  static constexpr const char* kRange = "#dbe8fb";
  static constexpr const char* kToday = "#222222";
};
struct ChartMarks {
  std::string today;               // the host's date; empty: no marker
  std::string rangeFrom, rangeTo;  // the selected row's dates; empty: none
  // Dates before this one are past: only the remaining capacity counts, so their missing
  // capacity is no overload. Empty: none.
  std::string pastBefore;
};
std::string chartHtml(const LineLoad& line, bool chinese, const ChartMarks& marks);

// The heat map of the load of all the order's lines (lines × dates, weekly columns over a long
// period), drawn by the page's script on a canvas from data embedded in the page.
struct HeatSource {
  std::shared_ptr<const sim::AbilityLedger> ledger;
  bool remainingOnly = false;  // dates before `today` are past
  std::string today;
  int32_t selectedLine = 0;  // the line id of the selected row; 0: none
};
// More dates than this show as weeks first.
inline constexpr int kHeatDaysShownAsDays = 90;
std::string heatMapHtml(const HeatSource& heat, bool chinese);

// What the page shows; gathered from the session by the snapshot command.
struct SnapshotPage {
  bool chinese = true;
  std::string workOrder, today;
  struct Field {
    std::string name, caption, text;
  };
  std::vector<Field> fields;
  std::string options;  // the capacity options in words; empty: not known
  // The schedule grid: the captions and the rows shown. Beyond a few dozen rows only the first
  // rows and those around the selection are shown; a gap stands for the rows between.
  std::vector<std::string> gridCaptions;
  struct GridRow {
    int number = 0;  // the data row, from 1
    std::vector<std::string> cells;
    bool selected = false;
    // A gap: rows `number`..`last` not shown, their quantity and dates.
    bool gap = false;
    int last = 0;
    double quantity = 0;
    std::string from, to;
  };
  std::vector<GridRow> gridRows;
  int gridRowCount = 0;
  // The form's controls in twips.
  struct Rect {
    double left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
  } gridRect, splitter, ledgerRect;
  std::optional<LedgerPicture> ledger;  // none when nothing was painted
  std::optional<HeatSource> heat;       // none when the capacity result is not known
  ChartMarks marks;
};
std::string snapshotHtml(const SnapshotPage& page);

// The data rows of a grid of `rows` rows to show (from 1, ascending): all of a small grid,
// else the first rows and a window around the selected row (0: none).
std::vector<int> gridWindow(int rows, int selected);

}  // namespace qx::qxhost
