#include "sim/db/sqlite_db.h"

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/conversions.h"
#include "automation/text.h"

namespace qx::sim {

using automation::Error;
using automation::Recordset;
using automation::Ref;
using automation::Variant;
using automation::VarType;
namespace ft = automation::field_type;

namespace {

constexpr const char* kSource = "SQLite";

const volatile std::sig_atomic_t* stopFlag = nullptr;

// Asked by SQLite every few thousand steps of a statement: non-zero stops it.
int stopRequested(void*) {
  const volatile std::sig_atomic_t* flag = stopFlag;
  return flag && *flag ? 1 : 0;
}

Error cannotOpen(const std::filesystem::path& file, std::string_view why) {
  return Error(kDatabaseError,
               "Cannot open the database " + file.string() + ": " + std::string(why), kSource);
}

struct StatementCloser {
  void operator()(sqlite3_stmt* s) const noexcept { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

enum class Declared { None, Integer, Real, Text, Date, DateTime };

Declared declaredType(const char* decl) {
  if (!decl) return Declared::None;
  std::string d = automation::asciiUpper(decl);
  if (d.find("DATETIME") != std::string::npos || d.find("TIMESTAMP") != std::string::npos) {
    return Declared::DateTime;
  }
  if (d.find("DATE") != std::string::npos) return Declared::Date;
  if (d.find("INT") != std::string::npos) return Declared::Integer;
  if (d.find("CHAR") != std::string::npos || d.find("CLOB") != std::string::npos ||
      d.find("TEXT") != std::string::npos) {
    return Declared::Text;
  }
  if (d.find("REAL") != std::string::npos || d.find("FLOA") != std::string::npos ||
      d.find("DOUB") != std::string::npos || d.find("NUM") != std::string::npos ||
      d.find("DEC") != std::string::npos) {
    return Declared::Real;
  }
  return Declared::None;
}

Variant columnValue(sqlite3_stmt* s, int c, Declared decl) {
  switch (sqlite3_column_type(s, c)) {
    case SQLITE_NULL:
      return Variant::null();
    case SQLITE_INTEGER: {
      sqlite3_int64 n = sqlite3_column_int64(s, c);
      if (n >= INT32_MIN && n <= INT32_MAX) return Variant(static_cast<int32_t>(n));
      return Variant(static_cast<double>(n));
    }
    case SQLITE_FLOAT:
      return Variant(sqlite3_column_double(s, c));
    default: {
      const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
      std::string text(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(s, c)));
      if (decl == Declared::Date || decl == Declared::DateTime) {
        if (auto d = automation::parseDate(text)) return Variant(*d);
      }
      return Variant(std::move(text));
    }
  }
}

// The field type that holds every value of a column; Variant when they differ.
int32_t fieldType(Declared decl, const std::vector<std::vector<Variant>>& rows, size_t c) {
  bool any = false, allLong = true, allNumber = true, allText = true, allDate = true;
  for (const auto& row : rows) {
    VarType t = row[c].type();
    if (t == VarType::Null) continue;
    any = true;
    allLong &= t == VarType::Long;
    allNumber &= t == VarType::Long || t == VarType::Double;
    allText &= t == VarType::String;
    allDate &= t == VarType::Date;
  }
  if (!any) {
    switch (decl) {
      case Declared::Integer:
        return ft::kInteger;
      case Declared::Real:
        return ft::kDouble;
      case Declared::Text:
        return ft::kVarWChar;
      case Declared::Date:
        return ft::kDate;
      case Declared::DateTime:
        return ft::kDBTimeStamp;
      case Declared::None:
        return ft::kVariant;
    }
  }
  if (allLong) return ft::kInteger;
  if (allNumber) return ft::kDouble;
  if (allText) return ft::kVarWChar;
  if (allDate) return decl == Declared::DateTime ? ft::kDBTimeStamp : ft::kDate;
  return ft::kVariant;
}

// Field names must be unique in a recordset: a repeated or empty name gets its position.
std::string fieldName(const char* name, int c, const std::vector<std::string>& taken) {
  std::string n = name && *name ? name : "Expr" + std::to_string(c + 1);
  for (const std::string& t : taken) {
    if (automation::equalsIgnoreCase(t, n)) return n + "_" + std::to_string(c + 1);
  }
  return n;
}

// SQLite takes file names in UTF-8 on every system (paths are wide on Windows).
std::string utf8Name(const std::filesystem::path& file) {
  std::u8string name = file.u8string();
  return std::string(name.begin(), name.end());
}

}  // namespace

void setStopFlag(const volatile std::sig_atomic_t* flag) noexcept {
  stopFlag = flag;
}

SqliteDb SqliteDb::open(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) throw cannotOpen(file, "the file does not exist");
  if (std::filesystem::is_directory(file, ec)) throw cannotOpen(file, "it is a folder");
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(utf8Name(file).c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
  SqliteDb db(raw, file);
  if (rc != SQLITE_OK) {
    throw cannotOpen(file, raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
  }
  sqlite3_busy_timeout(raw, 2000);
  sqlite3_progress_handler(raw, 4096, stopRequested, nullptr);
  // SQLite reads the file lazily: a file that is not a database shows here.
  rc = sqlite3_exec(raw, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) throw cannotOpen(file, sqlite3_errmsg(raw));
  return db;
}

SqliteDb SqliteDb::create(const std::filesystem::path& file) {
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(utf8Name(file).c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                           nullptr);
  SqliteDb db(raw, file);
  if (raw) sqlite3_progress_handler(raw, 4096, stopRequested, nullptr);
  if (rc != SQLITE_OK) {
    throw Error(kDatabaseError,
                "Cannot create the database " + file.string() + ": " +
                    (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)),
                kSource);
  }
  return db;
}

SqliteDb::SqliteDb(SqliteDb&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), file_(std::move(other.file_)) {}

SqliteDb& SqliteDb::operator=(SqliteDb&& other) noexcept {
  if (this != &other) {
    if (db_) sqlite3_close(db_);
    db_ = std::exchange(other.db_, nullptr);
    file_ = std::move(other.file_);
  }
  return *this;
}

SqliteDb::~SqliteDb() {
  if (db_) sqlite3_close(db_);
}

void SqliteDb::fail(std::string_view what) const {
  throw Error(kDatabaseError, std::string(what) + sqlite3_errmsg(db_), kSource);
}

void SqliteDb::exec(const char* sql) {
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail("");
}

void SqliteDb::StatementCloser::operator()(sqlite3_stmt* s) const noexcept {
  sqlite3_finalize(s);
}

Ref<Recordset> SqliteDb::stepAll(sqlite3_stmt* s, bool keep) {
  int columns = sqlite3_column_count(s);
  std::vector<Declared> decl;
  std::vector<std::vector<Variant>> rows;
  for (int c = 0; keep && c < columns; ++c) {
    decl.push_back(declaredType(sqlite3_column_decltype(s, c)));
  }
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    if (!keep) continue;
    std::vector<Variant> row;
    row.reserve(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) row.push_back(columnValue(s, c, decl[c]));
    rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) fail("");
  if (!keep) return {};
  Ref<Recordset> result = Recordset::create();
  std::vector<std::string> names;
  for (int c = 0; c < columns; ++c) {
    automation::FieldDef def;
    def.name = fieldName(sqlite3_column_name(s, c), c, names);
    def.type = fieldType(decl[c], rows, static_cast<size_t>(c));
    names.push_back(def.name);
    result->appendField(std::move(def));
  }
  result->open();
  result->reserveRows(rows.size());
  for (auto& row : rows) result->appendRow(std::move(row));
  result->moveFirst();
  return result;
}

Ref<Recordset> SqliteDb::execute(std::string_view sql, int32_t* changes) {
  exec("SAVEPOINT qx_execute");
  Ref<Recordset> result;
  int before = sqlite3_total_changes(db_);
  try {
    const char* next = sql.data();
    const char* end = sql.data() + sql.size();
    while (next < end) {
      sqlite3_stmt* raw = nullptr;
      const char* tail = nullptr;
      int rc = sqlite3_prepare_v2(db_, next, static_cast<int>(end - next), &raw, &tail);
      Statement s(raw);
      if (rc != SQLITE_OK) fail("");
      next = tail;
      if (!s) continue;  // blanks or a comment
      bool keep = sqlite3_column_count(s.get()) > 0 && !result;
      Ref<Recordset> rows = stepAll(s.get(), keep);
      if (keep) result = std::move(rows);
    }
  } catch (...) {
    sqlite3_exec(db_, "ROLLBACK TO qx_execute; RELEASE qx_execute", nullptr, nullptr, nullptr);
    throw;
  }
  if (changes) *changes = sqlite3_total_changes(db_) - before;
  exec("RELEASE qx_execute");
  return result;
}

void SqliteDb::run(std::string_view script) {
  Ref<Recordset> ignored = execute(script);
}

SqliteDb::PreparedStatement SqliteDb::prepareOne(std::string_view sql) {
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &raw, &tail);
  Statement s(raw);
  if (rc != SQLITE_OK) fail("");
  if (!s) throw Error(kDatabaseError, "There is no statement to run", kSource);
  // Only blanks and comments may follow the statement.
  std::string_view rest(tail, static_cast<size_t>(sql.data() + sql.size() - tail));
  while (!rest.empty()) {
    sqlite3_stmt* more = nullptr;
    const char* after = nullptr;
    rc = sqlite3_prepare_v2(db_, rest.data(), static_cast<int>(rest.size()), &more, &after);
    Statement second(more);
    if (rc != SQLITE_OK || second) {
      throw Error(kDatabaseError, "Only one statement may be run here", kSource);
    }
    if (after == rest.data()) break;  // nothing more that SQLite reads
    rest = std::string_view(after, static_cast<size_t>(rest.data() + rest.size() - after));
  }
  return PreparedStatement(s.release());
}

Ref<Recordset> SqliteDb::query(std::string_view sql) {
  PreparedStatement s = prepareOne(sql);
  if (!sqlite3_stmt_readonly(s.get()) || sqlite3_column_count(s.get()) == 0) {
    throw Error(kDatabaseError, "Only a query that reads may be run here", kSource);
  }
  return stepAll(s.get(), true);
}

int32_t SqliteDb::change(std::string_view sql, std::span<const Variant> params) {
  PreparedStatement s = prepareOne(sql);
  if (static_cast<size_t>(sqlite3_bind_parameter_count(s.get())) != params.size()) {
    throw Error(kDatabaseError,
                "The statement does not take " + std::to_string(params.size()) + " parameters",
                kSource);
  }
  for (size_t i = 0; i < params.size(); ++i) {
    const Variant& v = params[i];
    int at = static_cast<int>(i + 1), rc = SQLITE_OK;
    switch (v.type()) {
      case VarType::Empty:
      case VarType::Null:
        rc = sqlite3_bind_null(s.get(), at);
        break;
      case VarType::Boolean:
        rc = sqlite3_bind_int(s.get(), at, v.toBool() ? 1 : 0);
        break;
      case VarType::Integer:
      case VarType::Long:
        rc = sqlite3_bind_int(s.get(), at, v.toInt32());
        break;
      case VarType::Double:
        rc = sqlite3_bind_double(s.get(), at, v.toDouble());
        break;
      case VarType::Date: {
        std::string text = automation::formatDate(v.toDate());
        rc = sqlite3_bind_text(s.get(), at, text.data(), static_cast<int>(text.size()),
                               SQLITE_TRANSIENT);
        break;
      }
      case VarType::String: {
        const std::string& text = *v.stringIf();
        rc = sqlite3_bind_text(s.get(), at, text.data(), static_cast<int>(text.size()),
                               SQLITE_TRANSIENT);
        break;
      }
      case VarType::Object:
        throw Error::typeMismatch("an object cannot be stored", kSource);
    }
    if (rc != SQLITE_OK) fail("");
  }
  int before = sqlite3_total_changes(db_);
  Ref<Recordset> ignored = stepAll(s.get(), false);
  return sqlite3_total_changes(db_) - before;
}

void SqliteDb::transaction(const std::function<void()>& body) {
  exec("SAVEPOINT qx_transaction");
  try {
    body();
  } catch (...) {
    sqlite3_exec(db_, "ROLLBACK TO qx_transaction; RELEASE qx_transaction", nullptr, nullptr,
                 nullptr);
    throw;
  }
  exec("RELEASE qx_transaction");
}

std::map<std::string, std::string> dumpTables(SqliteDb& db) {
  std::vector<std::string> names;
  auto collectName = [](void* out, int, char** v, char**) {
    static_cast<std::vector<std::string>*>(out)->push_back(v[0] ? v[0] : "");
    return 0;
  };
  sqlite3_exec(db.handle(), "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name",
               collectName, &names, nullptr);
  std::map<std::string, std::string> tables;
  auto collectRow = [](void* out, int n, char** v, char**) {
    std::string& s = *static_cast<std::string*>(out);
    for (int i = 0; i < n; ++i) s += std::string(v[i] ? v[i] : "(null)") + "|";
    s += "\n";
    return 0;
  };
  for (const std::string& t : names) {
    std::string sql = "SELECT * FROM \"" + t + "\"";
    sqlite3_exec(db.handle(), sql.c_str(), collectRow, &tables[t], nullptr);
  }
  return tables;
}

}  // namespace qx::sim
