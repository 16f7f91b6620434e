#include "sim/db/sqlite_connection.h"

namespace qx::sim {

using automation::Args;
using automation::Variant;

std::span<const automation::Member<SqliteConnection>> SqliteConnection::members() {
  static const automation::Member<SqliteConnection> m[] = {
      {"Execute", 1, &SqliteConnection::mExecute},
  };
  return m;
}

Variant SqliteConnection::mExecute(Args a) {
  if (a.empty() || a.size() > 3) throw automation::Error::wrongArgumentCount("Execute", typeName());
  std::string sql = a[0].get().toString();
  if (!db_) db_.emplace(database_->open());
  int32_t changes = 0;
  automation::Ref<automation::Recordset> rs = db_->execute(sql, &changes);
  if (a.size() > 1 && a[1].isByRef()) a[1].set(Variant(changes));
  return rs ? Variant(rs) : Variant::nothing();
}

}  // namespace qx::sim
