// "QxConnection.AppConnection": the host's database connection over the host's SQLite
// database. Each object opens the database on its first Execute and closes it when released.
#pragma once

#include <memory>
#include <optional>

#include "automation/dispatch.h"
#include "sim/db/database.h"

namespace qx::sim {

class SqliteConnection final : public automation::Dispatch<SqliteConnection> {
 public:
  static constexpr std::string_view kTypeName = "QxConnection.AppConnection";
  static std::span<const automation::Member<SqliteConnection>> members();
  explicit SqliteConnection(std::shared_ptr<Database> database) : database_(std::move(database)) {}

 private:
  // Execute(sql [, recordsAffected]): the result's recordset, or Nothing for a statement that
  // returns no rows at all; a failing statement changes nothing and raises SQLite's message.
  automation::Variant mExecute(automation::Args a);

  std::shared_ptr<Database> database_;
  std::optional<SqliteDb> db_;
};

}  // namespace qx::sim
