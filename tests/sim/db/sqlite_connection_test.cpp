#include "sim/db/sqlite_connection.h"

#include <gtest/gtest.h>

#include "automation/conversions.h"
#include "automation/recordset.h"
#include "support/live_objects.h"
#include "support/temp_home.h"

namespace qx::sim {
namespace {

using automation::byRef;
using automation::Error;
using automation::ObjectRef;
using automation::Recordset;
using automation::Variant;
namespace ft = automation::field_type;

constexpr const char* kScript = R"(
CREATE TABLE t_resource (FInterID INTEGER PRIMARY KEY, FName TEXT, FQty REAL, FDate DATE,
                         FStamp DATETIME, FNote);
INSERT INTO t_resource VALUES (1, '一线', 12.5, '2026-12-01', '2026-12-01 08:30:00', NULL);
INSERT INTO t_resource VALUES (2, 'L2', 3, '2027-01-04', NULL, 7);
CREATE TABLE t_eiItemLine (FID INTEGER PRIMARY KEY, FLineID INTEGER);
INSERT INTO t_eiItemLine VALUES (1, 1), (2, 1);
)";

class SqliteConnectionTest : public qx::testing::LiveObjectsTest {
 protected:
  void SetUp() override {
    LiveObjectsTest::SetUp();
    database_ = std::make_shared<Database>(home_.database("t.db", kScript), "", false);
  }
  ObjectRef connection() { return ObjectRef(automation::makeObject<SqliteConnection>(database_)); }
  Variant execute(const std::string& sql) {
    Variant text(sql);
    return connection()->call("Execute", byRef(text));
  }
  int32_t count(const std::string& table) {
    return execute("SELECT COUNT(*) FROM " + table).toObject()->get("Fields", 0).value().toInt32();
  }
  qx::testing::TempHome home_;
  std::shared_ptr<Database> database_;
};

TEST_F(SqliteConnectionTest, AQueryGivesAnOpenRecordsetWithNamesAndTypedValues) {
  Variant r = execute("SELECT * FROM t_resource ORDER BY FInterID");
  auto rs = automation::refCast<Recordset>(r.toObject());
  ASSERT_TRUE(rs);
  EXPECT_EQ(rs->get("State"), Variant(1));
  EXPECT_EQ(rs->get("RecordCount"), Variant(2));
  ASSERT_EQ(rs->fieldCount(), 6u);
  EXPECT_EQ(rs->fieldDef(1).name, "FName");
  EXPECT_EQ(rs->fieldDef(0).type, ft::kInteger);
  EXPECT_EQ(rs->fieldDef(1).type, ft::kVarWChar);
  EXPECT_EQ(rs->fieldDef(2).type, ft::kDouble);
  EXPECT_EQ(rs->fieldDef(3).type, ft::kDate);
  EXPECT_EQ(rs->fieldDef(4).type, ft::kDBTimeStamp);
  EXPECT_EQ(rs->fieldDef(5).type, ft::kInteger);
  // Step by step: first row, next row, end.
  EXPECT_EQ(rs->get("EOF"), Variant(false));
  EXPECT_EQ(rs->get("Fields", "FInterID").value(), Variant(1));
  EXPECT_EQ(rs->get("Fields", "FName").value(), Variant("一线"));
  EXPECT_EQ(rs->get("Fields", "FQty").value(), Variant(12.5));
  EXPECT_EQ(rs->get("Fields", "FDate").value(), Variant(automation::makeDate(2026, 12, 1)));
  EXPECT_EQ(rs->get("Fields", "FStamp").value(),
            Variant(automation::makeDate(2026, 12, 1, 8, 30, 0)));
  EXPECT_EQ(rs->get("Fields", "FNote").value(), Variant::null());
  rs->call("MoveNext");
  EXPECT_EQ(rs->get("Fields", 0).value(), Variant(2));
  EXPECT_EQ(rs->get("Fields", "FQty").value(), Variant(3.0));
  EXPECT_EQ(rs->get("Fields", "FStamp").value(), Variant::null());
  rs->call("MoveNext");
  EXPECT_EQ(rs->get("EOF"), Variant(true));
}

TEST_F(SqliteConnectionTest, ACountComesAsALongInTheFirstColumn) {
  Variant r = execute("SELECT COUNT(*) FROM t_eiItemLine WHERE FLineID = 1");
  EXPECT_EQ(r.toObject()->get("Fields", 0).value(), Variant(2));
  EXPECT_EQ(r.toObject()->callId(0, automation::CallKind::Get, 0).value(), Variant(2));
  r = execute("SELECT COUNT(*) FROM t_eiItemLine WHERE FLineID = -1");
  EXPECT_EQ(r.toObject()->get("Fields", 0).value(), Variant(0));
}

TEST_F(SqliteConnectionTest, ValuesOfEveryKind) {
  struct Row {
    const char* expr;
    Variant value;
  };
  const Row rows[] = {
      {"1", Variant(1)},
      {"-2147483648", Variant(INT32_MIN)},
      {"3000000000", Variant(3000000000.0)},
      {"0.25", Variant(0.25)},
      {"'text'", Variant("text")},
      {"''", Variant("")},
      {"NULL", Variant::null()},
      {"'2026-12-01'", Variant("2026-12-01")},  // no declared type: stays a text
      {"x'4142'", Variant("AB")},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.expr);
    Variant rs = execute(std::string("SELECT ") + r.expr + " AS v");
    EXPECT_EQ(rs.toObject()->get("Fields", "v").value(), r.value);
  }
}

TEST_F(SqliteConnectionTest, AQueryWithoutRowsGivesAnOpenEmptyRecordsetAtItsEnd) {
  Variant r = execute("SELECT FInterID, FDate FROM t_resource WHERE FInterID = 99");
  ObjectRef rs = r.toObject();
  EXPECT_EQ(rs->get("State"), Variant(1));
  EXPECT_EQ(rs->get("EOF"), Variant(true));
  EXPECT_EQ(rs->get("BOF"), Variant(true));
  EXPECT_EQ(rs->get("RecordCount"), Variant(0));
  EXPECT_EQ(rs->get("Fields").toObject()->get("Count"), Variant(2));
  EXPECT_EQ(rs->get("Fields", "FDate").toObject()->get("Type"), Variant(ft::kDate));
}

TEST_F(SqliteConnectionTest, AStatementWithoutAResultSetGivesNothingAndChangesTheData) {
  Variant text("UPDATE t_resource SET FQty = FQty + 1"), changed;
  Variant r = connection()->call("Execute", byRef(text), byRef(changed));
  EXPECT_TRUE(r.isObject() && r.isNothing());
  EXPECT_EQ(changed, Variant(2));
  Variant q = execute("SELECT FQty FROM t_resource WHERE FInterID = 1");
  EXPECT_EQ(q.toObject()->get("Fields", 0).value(), Variant(13.5));
}

TEST_F(SqliteConnectionTest, BadSqlFailsWithSQLitesMessageAndChangesNothing) {
  try {
    execute("SELEC 1");
    FAIL() << "no failure";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), kDatabaseError);
    EXPECT_NE(e.description().find("syntax error"), std::string::npos) << e.description();
  }
  // A failing statement after a good one: the good one is undone too.
  EXPECT_THROW(execute("DELETE FROM t_eiItemLine; INSERT INTO nowhere VALUES (1)"), Error);
  EXPECT_EQ(count("t_eiItemLine"), 2);
  EXPECT_THROW(execute("INSERT INTO t_resource (FInterID) VALUES (1)"), Error);
  EXPECT_EQ(count("t_resource"), 2);
}

TEST_F(SqliteConnectionTest, RepeatedOrMissingColumnNamesAreMadeUnique) {
  Variant r = execute("SELECT 1 AS a, 2 AS A, 3 AS \"\"");
  auto rs = automation::refCast<Recordset>(r.toObject());
  ASSERT_TRUE(rs);
  EXPECT_EQ(rs->fieldDef(0).name, "a");
  EXPECT_EQ(rs->fieldDef(1).name, "A_2");
  EXPECT_EQ(rs->fieldDef(2).name, "Expr3");
}

TEST_F(SqliteConnectionTest, TheRecordsetOutlivesItsConnection) {
  ObjectRef rs;
  {
    ObjectRef c = connection();
    Variant text("SELECT FName FROM t_resource ORDER BY FInterID");
    rs = c->call("Execute", byRef(text)).toObject();
  }
  EXPECT_EQ(rs->get("Fields", 0).value(), Variant("一线"));
}

TEST_F(SqliteConnectionTest, ExecuteNeedsItsText) {
  EXPECT_THROW(connection()->call("Execute"), Error);
  EXPECT_EQ(execute("  -- nothing to do\n").isNothing(), true);
}

}  // namespace
}  // namespace qx::sim
