#include "tools/qxhost/commands/ledger_window.h"

#include <sstream>

#include <vector>
#include "sim/controls/text_table.h"

namespace qx::qxhost {

namespace {

std::string trimmed(const std::string& s) {
  size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

bool isDate(const std::string& s) {
  if (s.size() != 10 || s[4] != '-' || s[7] != '-') return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (s[i] < '0' || s[i] > '9') return false;
  }
  return true;
}

// The cells between the first and the last "|", and what follows the last one.
bool splitRow(const std::string& line, std::vector<std::string>& cells, std::string& tail) {
  size_t first = line.find('|'), last = line.rfind('|');
  if (first != 0 || last == first) return false;
  cells.clear();
  for (size_t at = 1; at <= last;) {
    size_t next = line.find('|', at);
    cells.push_back(line.substr(at, next - at));
    at = next + 1;
  }
  tail = line.substr(last + 1);
  return true;
}

}  // namespace

std::string ledgerWindow(const std::string& text, const std::string& from, int days) {
  std::istringstream in(text);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::vector<std::string> cells;
  std::string tail;
  // The dates are the header's last cells: how many, and which of them the window keeps.
  size_t dates = 0, start = 0;
  if (lines.empty() || !splitRow(lines[0], cells, tail)) return text;
  while (dates < cells.size() && isDate(trimmed(cells[cells.size() - 1 - dates]))) ++dates;
  while (start < dates && !from.empty() && trimmed(cells[cells.size() - dates + start]) < from) {
    ++start;
  }
  size_t end = days > 0 ? std::min(dates, start + static_cast<size_t>(days)) : dates;
  std::string out;
  for (const std::string& line : lines) {
    if (!splitRow(line, cells, tail) || cells.size() < dates) {
      out += line + "\n";
      continue;
    }
    size_t first = cells.size() - dates;
    out += "|";
    for (size_t c = 0; c < cells.size(); ++c) {
      if (c >= first && (c - first < start || c - first >= end)) continue;
      out += cells[c] + "|";
    }
    out += tail + "\n";
  }
  return out;
}

namespace {

// The number of date columns at the end of the header's cells.
size_t dateColumns(const std::vector<std::string>& header) {
  size_t dates = 0;
  while (dates < header.size() && isDate(trimmed(header[header.size() - 1 - dates]))) ++dates;
  return dates;
}

bool rule(const std::vector<std::string>& cells) {
  for (const std::string& c : cells) {
    if (c.empty() || c.find_first_not_of('-') != std::string::npos) return false;
  }
  return !cells.empty();
}

}  // namespace

std::string ledgerMarked(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::vector<std::vector<std::string>> rows(lines.size());
  std::vector<bool> table(lines.size(), false);
  std::string tail;
  for (size_t i = 0; i < lines.size(); ++i) table[i] = splitRow(lines[i], rows[i], tail);
  if (lines.empty() || !table[0]) return text;
  const size_t dates = dateColumns(rows[0]);
  // Each line's block of measure rows starts with its line columns filled: capacity first,
  // then load and difference.
  std::vector<size_t> place(lines.size(), 0), start(lines.size(), 0);
  bool data = false;
  for (size_t i = 0, first = 0; i < lines.size(); ++i) {
    if (!table[i] || !data) {
      data = data || (table[i] && rule(rows[i]));
      continue;
    }
    if (!trimmed(rows[i][0]).empty() || i == 0) first = i;
    start[i] = first;
    place[i] = i - first;
  }
  std::string out;
  data = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!table[i] || rows[i].size() < dates) {
      out += lines[i] + "\n";
      continue;
    }
    const std::vector<std::string>& cells = rows[i];
    size_t firstDate = cells.size() - dates;
    out += "|";
    for (size_t c = 0; c < cells.size(); ++c) {
      if (c < firstDate || !data) {
        out += cells[c] + "|";
        continue;
      }
      auto cellAt = [&](size_t row) {
        return row < rows.size() && start[row] == start[i] && table[row] && c < rows[row].size()
                   ? trimmed(rows[row][c])
                   : std::string();
      };
      std::string capacity = cellAt(start[i]), difference = cellAt(start[i] + 2);
      bool working = !capacity.empty();
      bool overloaded = !difference.empty() && difference[0] == '-';
      std::string shown = trimmed(cells[c]);
      if (shown.empty() && working) shown = "0";
      std::string mark = overloaded && (place[i] == 1 || place[i] == 2) ? "!" : " ";
      // The mark takes the last place of the column (the left margin when the figure fills it).
      size_t width = cells[c].size() >= 2 ? cells[c].size() - 2 : 0;
      if (shown.size() + 1 <= width) {
        out += " " + std::string(width - 1 - shown.size(), ' ') + shown + mark + " |";
      } else {
        std::string text = shown + mark;
        out +=
            std::string(text.size() < width + 1 ? width + 1 - text.size() : 0, ' ') + text + " |";
      }
    }
    out += "\n";
    data = data || rule(rows[i]);
  }
  return out;
}

std::pair<std::string, int> ledgerFit(const std::string& text, const std::string& around,
                                      size_t width) {
  std::vector<std::string> header;
  std::string tail;
  if (!splitRow(text.substr(0, text.find('\n')), header, tail)) return {"", 0};
  const size_t dates = dateColumns(header);
  size_t fixed = 1, first = header.size() - dates;
  for (size_t c = 0; c < first; ++c) fixed += sim::displayWidth(header[c]) + 1;
  std::vector<size_t> widths;
  size_t all = fixed;
  for (size_t c = first; c < header.size(); ++c) {
    widths.push_back(header[c].size() + 1);  // with its bar
    all += widths.back();
  }
  if (all <= width || dates == 0) return {"", 0};
  size_t from = 0;
  while (from < dates && trimmed(header[first + from]) < around) ++from;
  if (from == dates) from = dates - 1;
  size_t used = fixed, end = from;
  while (end < dates && used + widths[end] <= width) used += widths[end++];
  while (from > 0 && used + widths[from - 1] <= width) used += widths[--from];
  if (end == from) ++end;  // one date at least
  return {trimmed(header[first + from]), static_cast<int>(end - from)};
}

}  // namespace qx::qxhost
