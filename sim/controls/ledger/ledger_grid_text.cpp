// The ledger grid control's display as a text table, for the workbench.
//
// Header line 1 holds one cell per caption: a cell ending with "+" continues into the next
// column (a caption spanning several columns), and a caption containing "$" is a heading
// without a second level (it stands for both header lines). Header line 2 holds one cell per
// column. Hidden columns are left out, alignment 1 is right-aligned, and each data row ends
// with the name of its colour.
#include <algorithm>

#include "host/toolkit.h"
#include "sim/controls/ledger/ledger_grid.h"
#include "sim/controls/text_table.h"

namespace qx::sim {

namespace {

using Heading = LedgerGrid::Heading;

std::vector<Heading> headings(const std::vector<std::string>& cells, size_t columns) {
  std::vector<Heading> result;
  size_t cell = 0;
  for (size_t col = 0; col < columns; ++col) {
    Heading h{col, col, {}, false};
    while (cell < cells.size()) {
      std::string text = cells[cell++];
      bool continues = !text.empty() && text.back() == '+';
      if (continues) text.pop_back();
      h.caption += text;
      if (!continues || col + 1 >= columns || cell >= cells.size()) break;
      h.last = ++col;
    }
    if (h.caption.find('$') != std::string::npos) {
      h.oneLevel = true;
      h.caption.erase(std::remove(h.caption.begin(), h.caption.end(), '$'), h.caption.end());
    }
    result.push_back(std::move(h));
  }
  return result;
}

}  // namespace

LedgerGrid::Shown LedgerGrid::shown() const {
  Shown s;
  const size_t n = columns_.size();
  auto textOf = [&](size_t row) { return row < texts_.size() ? texts_[row] : std::string(); };
  s.headerRows = std::min<size_t>(static_cast<size_t>(std::max(fixedRows_, 0)), texts_.size());
  s.headings = headings(s.headerRows >= 1 ? splitCells(textOf(0)) : std::vector<std::string>(), n);
  std::vector<bool> oneLevel(n, false);
  for (const Heading& h : s.headings) {
    for (size_t c = h.first; c <= h.last; ++c) oneLevel[c] = h.oneLevel;
  }
  s.second.assign(n, std::string());
  if (s.headerRows >= 2) {
    std::vector<std::string> cells = splitCells(textOf(1));
    for (size_t c = 0; c < n && c < cells.size(); ++c) s.second[c] = oneLevel[c] ? "" : cells[c];
  }
  for (size_t r = s.headerRows; r < texts_.size(); ++r) {
    ShownRow row;
    row.cells = splitCells(texts_[r]);
    row.cells.resize(n);
    row.colour = r < colours_.size() ? colours_[r] : backColor_;
    row.continued = r < continued_.size() && continued_[r].value_or(false);
    s.rows.push_back(std::move(row));
  }
  return s;
}

std::string LedgerGrid::renderText() const {
  if (texts_.empty()) return "(" + controlName() + ": nothing painted)\n";
  const size_t n = columns_.size();
  const Shown s = shown();
  const size_t headerRows = s.headerRows;
  const std::vector<Heading>& top = s.headings;
  const std::vector<std::string>& second = s.second;
  std::vector<std::vector<std::string>> data;
  for (const ShownRow& row : s.rows) data.push_back(row.cells);

  // Widths of the shown columns; a heading wider than its columns widens the last of them.
  std::vector<size_t> width(n, 1);
  for (size_t c = 0; c < n; ++c) {
    width[c] = std::max(width[c], displayWidth(second[c]));
    for (const auto& row : data) width[c] = std::max(width[c], displayWidth(row[c]));
  }
  auto shown = [&](size_t c) { return !columns_[c].hidden(); };
  auto spanWidth = [&](const Heading& h, size_t* lastShown) {
    size_t total = 0, k = 0;
    for (size_t c = h.first; c <= h.last; ++c) {
      if (!shown(c)) continue;
      total += width[c] + (k++ ? 3 : 0);
      if (lastShown) *lastShown = c;
    }
    return std::pair{total, k};
  };
  for (const Heading& h : top) {
    size_t last = 0;
    auto [total, k] = spanWidth(h, &last);
    size_t need = displayWidth(h.caption);
    if (k > 0 && need > total) width[last] += need - total;
  }

  std::string out;
  if (headerRows >= 1) {
    for (const Heading& h : top) {
      auto [total, k] = spanWidth(h, nullptr);
      if (k > 0) out += "| " + padRight(h.caption, total) + " ";
    }
    out += "|\n";
  }
  if (headerRows >= 2) {
    for (size_t c = 0; c < n; ++c) {
      if (shown(c)) out += "| " + padRight(second[c], width[c]) + " ";
    }
    out += "|\n";
  }
  for (size_t c = 0; c < n; ++c) {
    if (shown(c)) out += "|" + std::string(width[c] + 2, '-');
  }
  out += "|\n";
  for (size_t r = 0; r < data.size(); ++r) {
    for (size_t c = 0; c < n; ++c) {
      if (!shown(c)) continue;
      bool right = columns_[c].alignment == host::ledger_grid::column::kAlignRight;
      out += "| " + (right ? padLeft(data[r][c], width[c]) : padRight(data[r][c], width[c])) + " ";
    }
    out += "|  " + colourName(s.rows[r].colour) + "\n";
  }
  return out;
}

}  // namespace qx::sim
