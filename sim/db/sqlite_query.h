// One prepared SQLite statement with typed parameters and columns, for code that reads many rows
// into its own structures (no recordset, no automation values per value).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sim/db/sqlite_db.h"

struct sqlite3_stmt;

namespace qx::sim {

class SqliteQuery {
 public:
  // Prepares one statement; a bad statement fails with kDatabaseError and SQLite's message.
  SqliteQuery(SqliteDb& db, std::string_view sql);
  ~SqliteQuery();
  SqliteQuery(const SqliteQuery&) = delete;
  SqliteQuery& operator=(const SqliteQuery&) = delete;

  // The highest parameter number in the statement.
  int parameterCount() const;
  // Parameters from 1, as in the statement's ?NNN.
  SqliteQuery& bind(int index, int64_t value);
  SqliteQuery& bind(int index, double value);
  SqliteQuery& bind(int index, std::string_view value);

  // Runs to the next row: true when there is one, false at the end; a failure throws.
  bool step();
  // Runs a statement that returns no rows to its end.
  void run();

  bool isNull(int column) const;
  int64_t integer(int column) const;
  double real(int column) const;
  std::string text(int column) const;
  // Valid until the next step.
  std::string_view textView(int column) const;

 private:
  [[noreturn]] void fail() const;

  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace qx::sim
