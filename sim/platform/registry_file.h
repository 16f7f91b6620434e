// The substitute host's registry: keys by full path (HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE), typed values, kept in a text file that is rewritten atomically on every
// change. Key paths and value names ignore letter case, as the system registry does.
//
// File format, one key per section:
//   [HKEY_CURRENT_USER\SOFTWARE\VELTRAN\ZRA\EIRepSchedule]
//   "FSchedule"=integer:0
//   "ShowAbility"=boolean:true
//   @=string:"the default value"
// Types: string, integer (16-bit), long (32-bit), double, boolean, date ("yyyy-mm-dd hh:nn:ss").
// A file that cannot be read is set aside as <file>.corrupt and the registry starts empty.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "automation/variant.h"

namespace qx::sim {

using automation::Variant;

class RegistryFile {
 public:
  // An empty path keeps the registry in memory only.
  explicit RegistryFile(std::filesystem::path file = {});

  std::optional<Variant> read(std::string_view key, std::string_view name) const;
  void write(std::string_view key, std::string_view name, const Variant& value);
  // Removes the key with its subkeys; false when there was nothing to remove.
  bool deleteKey(std::string_view key);
  bool keyExists(std::string_view key) const;
  // Keys at or below `prefix`, in order.
  std::vector<std::string> keysUnder(std::string_view prefix) const;
  // Values of a key: (name, value), in name order.
  std::vector<std::pair<std::string, Variant>> values(std::string_view key) const;

  const std::filesystem::path& file() const noexcept { return file_; }
  // Why the file was not loaded (empty when it was, or when there was none).
  const std::string& loadProblem() const noexcept { return loadProblem_; }

  // "HKCU\x" → "HKEY_CURRENT_USER\x"; fails with 5 for another root or an empty path.
  static std::string normalizeKey(std::string_view key);

 private:
  struct Value {
    std::string name;
    Variant value;
  };
  struct Key {
    std::string path;
    std::map<std::string, Value> values;  // by lower-case name
  };

  void load();
  void save() const;
  bool setAside() const;

  std::filesystem::path file_;
  std::map<std::string, Key> keys_;  // by lower-case path
  std::string loadProblem_;
  mutable bool setAside_ = true;  // false while an unreadable file is not yet copied aside
};

}  // namespace qx::sim
