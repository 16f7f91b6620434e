#include "sim/db/database.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "automation/error.h"

namespace qx::sim {

using automation::Error;

namespace {

std::string readScript(const std::filesystem::path& script) {
  std::ifstream in(script, std::ios::binary);
  if (!in) {
    throw Error(kDatabaseError, "Cannot read the database script " + script.string(), "SQLite");
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

SqliteDb Database::open() {
  std::error_code ec;
  if (sample_ && !std::filesystem::exists(file_, ec)) {
    build(file_, {dataDir_ / "schema.sql", dataDir_ / "seed.sql"});
  }
  return SqliteDb::open(file_);
}

void Database::build(const std::filesystem::path& file,
                     const std::vector<std::filesystem::path>& scripts) {
  std::error_code ec;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
  // A name of this process's own: two hosts building at once do not share a temporary file.
  std::filesystem::path tmp = file.string() + ".building." + std::to_string(getpid());
  std::filesystem::remove(tmp, ec);
  try {
    {
      SqliteDb db = SqliteDb::create(tmp);
      for (const auto& script : scripts) {
        try {
          db.run(readScript(script));
        } catch (const Error& e) {
          throw Error(e.number(), script.filename().string() + ": " + e.description(), e.source());
        }
      }
    }
    std::filesystem::rename(tmp, file);
  } catch (...) {
    std::filesystem::remove(tmp, ec);
    throw;
  }
}

}  // namespace qx::sim
