// A translation table of the resource loader: one file per base name and language, lines of
// "source<TAB>translation" in UTF-8, "#" comments, \t \n \r \\ escapes within a field.
#pragma once

#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qx::sim {

class StringTable {
 public:
  // Lines without a tab are skipped; a final carriage return of a line is dropped.
  static StringTable parse(std::istream& in);
  // A missing or unreadable file gives an empty table.
  static StringTable load(const std::filesystem::path& file);
  // The file of a base name and language in `dir`, matching the name without regard to letter
  // case; empty when there is none.
  static std::filesystem::path fileFor(const std::filesystem::path& dir, std::string_view base,
                                       std::string_view language);

  const std::string* find(const std::string& source) const;
  size_t size() const noexcept { return entries_.size(); }

 private:
  std::unordered_map<std::string, std::string> entries_;
};

}  // namespace qx::sim
