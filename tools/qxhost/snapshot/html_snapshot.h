// A picture of the schedule form as a self-contained HTML page (inline CSS and SVG, UTF-8, no
// external resources): the header fields, the schedule grid, the splitter bar at its place, the
// capacity ledger as the ledger control shows it, and a chart of the selected line's capacity
// against its load per date.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/controls/ledger/ledger_grid.h"

namespace qx::qxhost {

// Text made safe for HTML content and attribute values.
std::string htmlEscape(std::string_view text);

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

// The chart of a line's capacity and load per date: an inline SVG placed at (left, top) of the
// page, bars of fixed colours, axes, a legend, overloaded dates marked. Texts in Chinese or in
// English.
struct ChartStyle {
  static constexpr const char* kCapacity = "#2f6fb3";
  static constexpr const char* kLoad = "#f08c1e";
  static constexpr const char* kOver = "#d62728";
  int left = 16, top = 56;
};
std::string chartSvg(const LineLoad& line, bool chinese, const ChartStyle& style = {});
// The chart's height in pixels (the page keeps that much room for it).
int chartHeight();

// What the page shows; gathered from the session by the snapshot command.
struct SnapshotPage {
  bool chinese = true;
  std::string workOrder;
  std::vector<std::pair<std::string, std::string>> fields;  // header fields: name, text
  std::vector<std::vector<std::string>> grid;               // row 0: the captions
  int selectedRow = -1;                                     // index into `grid`
  // The form's controls in twips.
  struct Rect {
    double left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
  } gridRect, splitter, ledgerRect;
  std::optional<LedgerPicture> ledger;  // none when nothing was painted
};
std::string snapshotHtml(const SnapshotPage& page);

}  // namespace qx::qxhost
