// The database of the substitute host: the file that its connections open, and the sample
// database built from the schema and seed scripts the first time it is needed.
#pragma once

#include <filesystem>
#include <vector>

#include "sim/db/sqlite_db.h"

namespace qx::sim {

class Database {
 public:
  // `sample`: the file is the sample database, built from `dataDir`'s scripts when missing.
  // Otherwise the file must exist.
  Database(std::filesystem::path file, std::filesystem::path dataDir, bool sample)
      : file_(std::move(file)), dataDir_(std::move(dataDir)), sample_(sample) {}

  const std::filesystem::path& file() const noexcept { return file_; }
  bool isSample() const noexcept { return sample_; }

  // Opens the database, building the sample first when it is the default and missing.
  SqliteDb open();

  // Builds a database file from scripts run in order. Atomic: the scripts run on a temporary
  // file beside `file`, which is renamed over it only when all of them succeeded.
  static void build(const std::filesystem::path& file,
                    const std::vector<std::filesystem::path>& scripts);

 private:
  std::filesystem::path file_;
  std::filesystem::path dataDir_;
  bool sample_;
};

}  // namespace qx::sim
