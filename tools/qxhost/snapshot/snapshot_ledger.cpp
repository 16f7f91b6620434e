// The ledger as the snapshot reads it: the control's display and, per document, the capacity
// and load the control shows for each date.
#include <charconv>

#include "host/toolkit.h"
#include "tools/qxhost/snapshot/html_snapshot.h"

namespace qx::qxhost {

namespace {

bool isDate(const std::string& s) {
  if (s.size() != 10 || s[4] != '-' || s[7] != '-') return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (s[i] < '0' || s[i] > '9') return false;
  }
  return true;
}

// A figure as the ledger shows it ("1,120.50", blank for nothing); anything else is 0.
double figure(const std::string& text) {
  std::string digits;
  for (char c : text) {
    if (c != ',' && c != ' ') digits += c;
  }
  double value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return error == std::errc() && end == digits.data() + digits.size() ? value : 0;
}

}  // namespace

LedgerPicture ledgerPicture(const sim::LedgerGrid& ledger) {
  LedgerPicture p;
  p.shown = ledger.shown();
  for (int32_t c = 1; c <= ledger.cols(); ++c) {
    p.hidden.push_back(ledger.column(c).hidden());
    p.rightAligned.push_back(ledger.column(c).alignment == host::ledger_grid::column::kAlignRight);
  }
  return p;
}

std::vector<LineLoad> lineLoads(const LedgerPicture& ledger) {
  const auto& rows = ledger.shown.rows;
  std::vector<const sim::LedgerGrid::Heading*> dates;
  for (const auto& h : ledger.shown.headings) {
    bool hidden = h.first < ledger.hidden.size() && ledger.hidden[h.first];
    if (h.first == h.last && !hidden && isDate(h.caption)) dates.push_back(&h);
  }
  std::vector<LineLoad> result;
  // A document starts with a row that shows its first cell; the rows after it that the control
  // marks as continued, or whose first cell is blank, belong to it.
  size_t first = 0;
  while (first < ledger.hidden.size() && ledger.hidden[first]) ++first;
  auto starts = [&](size_t r) { return !rows[r].continued && !rows[r].cells[first].empty(); };
  for (size_t r = 0; r + 1 < rows.size(); ++r) {
    if (first >= rows[r].cells.size() || !starts(r) || starts(r + 1)) continue;
    LineLoad line;
    line.firstRow = r;
    while (r + line.rowCount < rows.size() && (line.rowCount == 0 || !starts(r + line.rowCount))) {
      ++line.rowCount;
    }
    // The line's code and name: the first two shown cells of the document's first row.
    for (size_t c = 0, named = 0; c < rows[r].cells.size() && named < 2; ++c) {
      if (c < ledger.hidden.size() && ledger.hidden[c]) continue;
      if (rows[r].cells[c].empty()) continue;
      line.line += (named++ ? " " : "") + rows[r].cells[c];
    }
    for (const auto* h : dates) {
      size_t c = h->first;
      line.days.push_back({h->caption, c, figure(rows[r].cells[c]), figure(rows[r + 1].cells[c])});
    }
    result.push_back(std::move(line));
  }
  return result;
}

}  // namespace qx::qxhost
