#include "sim/db/sqlite_query.h"

#include <sqlite3.h>

#include "automation/error.h"

namespace qx::sim {

SqliteQuery::SqliteQuery(SqliteDb& db, std::string_view sql) : db_(db.handle()) {
  if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
          SQLITE_OK ||
      !stmt_) {
    fail();
  }
}

SqliteQuery::~SqliteQuery() {
  sqlite3_finalize(stmt_);
}

void SqliteQuery::fail() const {
  throw automation::Error(kDatabaseError, sqlite3_errmsg(db_), "SQLite");
}

int SqliteQuery::parameterCount() const {
  return sqlite3_bind_parameter_count(stmt_);
}

SqliteQuery& SqliteQuery::bind(int index, int64_t value) {
  if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) fail();
  return *this;
}

SqliteQuery& SqliteQuery::bind(int index, double value) {
  if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK) fail();
  return *this;
}

SqliteQuery& SqliteQuery::bind(int index, std::string_view value) {
  if (sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()),
                        SQLITE_TRANSIENT) != SQLITE_OK) {
    fail();
  }
  return *this;
}

bool SqliteQuery::step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  fail();
}

void SqliteQuery::run() {
  while (step()) {
  }
}

bool SqliteQuery::isNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

int64_t SqliteQuery::integer(int column) const {
  return sqlite3_column_int64(stmt_, column);
}

double SqliteQuery::real(int column) const {
  return sqlite3_column_double(stmt_, column);
}

std::string SqliteQuery::text(int column) const {
  return std::string(textView(column));
}

std::string_view SqliteQuery::textView(int column) const {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  return p ? std::string_view(p, static_cast<size_t>(sqlite3_column_bytes(stmt_, column)))
           : std::string_view();
}

}  // namespace qx::sim
