#include "tools/qxhost/commands/ledger_window.h"

#include <sstream>
#include <vector>

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

}  // namespace qx::qxhost
