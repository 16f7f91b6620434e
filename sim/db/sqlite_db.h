// An open SQLite database and the recordsets made from its query results.
#pragma once

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "automation/recordset.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qx::sim {

// The failure number of database errors (the data-access library's generic failure).
inline constexpr int32_t kDatabaseError = -2147467259;

// While `*flag` is set, a statement running on any database stops with
// SQLite's "interrupted" (kDatabaseError), its unit undone: the workbench's Ctrl-C sets it from
// a signal handler. Null: statements run to their end.
void setStopFlag(const volatile std::sig_atomic_t* flag) noexcept;

class SqliteDb {
 public:
  // Opens an existing database for reading and writing. A file that is missing, cannot be
  // opened or is not a database fails with kDatabaseError naming the file.
  static SqliteDb open(const std::filesystem::path& file);
  // Creates a new, empty database file (fails when it cannot be created).
  static SqliteDb create(const std::filesystem::path& file);

  SqliteDb(SqliteDb&& other) noexcept;
  SqliteDb& operator=(SqliteDb&& other) noexcept;
  SqliteDb(const SqliteDb&) = delete;
  SqliteDb& operator=(const SqliteDb&) = delete;
  ~SqliteDb();

  const std::filesystem::path& file() const noexcept { return file_; }
  // The open connection, for prepared statements (SqliteQuery).
  sqlite3* handle() const noexcept { return db_; }

  // Runs the statements of `sql` as one unit: when one fails, none of them changed anything
  // and the failure carries SQLite's message. The result is the rows of the first statement
  // that has result columns (an open recordset, possibly empty), or null when none has. Values
  // come as Long (Double beyond 32 bits), Double, String, Null, and Date for columns declared
  // DATE, DATETIME or TIMESTAMP. `changes` receives the number of rows changed.
  [[nodiscard]] automation::Ref<automation::Recordset> execute(std::string_view sql,
                                                               int32_t* changes = nullptr);
  // Runs a script whose results are not wanted (schema, seed), as one unit.
  void run(std::string_view script);

  // Runs exactly one statement that only reads (conditions written by callers go into it):
  // a second statement, or one that would change the database, fails with kDatabaseError
  // before anything runs. The result is an open recordset, possibly empty.
  [[nodiscard]] automation::Ref<automation::Recordset> query(std::string_view sql);
  // Runs one statement with its "?" parameters bound to `params` (Empty and Null bind NULL,
  // Booleans 1/0, Dates their "yyyy-mm-dd[ hh:nn:ss]" text); returns the rows changed.
  int32_t change(std::string_view sql, std::span<const automation::Variant> params);
  // Runs `body` as one unit: when it throws, none of its changes stay.
  void transaction(const std::function<void()>& body);

 private:
  SqliteDb(sqlite3* db, std::filesystem::path file) noexcept : db_(db), file_(std::move(file)) {}
  [[noreturn]] void fail(std::string_view what) const;
  void exec(const char* sql);
  struct StatementCloser {
    void operator()(sqlite3_stmt* s) const noexcept;
  };
  using PreparedStatement = std::unique_ptr<sqlite3_stmt, StatementCloser>;
  // One statement, with nothing but blanks and comments after it.
  PreparedStatement prepareOne(std::string_view sql);
  // Steps the statement to its end; with `keep`, its rows as a recordset.
  automation::Ref<automation::Recordset> stepAll(sqlite3_stmt* s, bool keep);

  sqlite3* db_ = nullptr;
  std::filesystem::path file_;
};

// Every row of every table, by table name, as text: what a comparison of the data before and
// after an action needs (a rolled-back write still moves the file's change counter).
std::map<std::string, std::string> dumpTables(SqliteDb& db);

}  // namespace qx::sim
