#include "sim/components/string_table.h"

#include <fstream>

#include "automation/text.h"

namespace qx::sim {

namespace {

std::string unescape(std::string_view field) {
  std::string r;
  r.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    char c = field[i];
    if (c == '\\' && i + 1 < field.size()) {
      char n = field[i + 1];
      if (n == 't' || n == 'n' || n == 'r' || n == '\\') {
        r += n == 't' ? '\t' : n == 'n' ? '\n' : n == 'r' ? '\r' : '\\';
        ++i;
        continue;
      }
    }
    r += c;
  }
  return r;
}

}  // namespace

StringTable StringTable::parse(std::istream& in) {
  StringTable t;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    std::string_view l(line);
    t.entries_.insert_or_assign(unescape(l.substr(0, tab)), unescape(l.substr(tab + 1)));
  }
  return t;
}

StringTable StringTable::load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  return parse(in);
}

std::filesystem::path StringTable::fileFor(const std::filesystem::path& dir, std::string_view base,
                                           std::string_view language) {
  if (base.empty() || language.empty()) return {};
  std::string wanted = std::string(base) + "." + std::string(language) + ".txt";
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
    if (automation::equalsIgnoreCase(e.path().filename().string(), wanted)) return e.path();
  }
  return {};
}

const std::string* StringTable::find(const std::string& source) const {
  auto it = entries_.find(source);
  return it == entries_.end() ? nullptr : &it->second;
}

}  // namespace qx::sim
